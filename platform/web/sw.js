// The page's files, kept by the browser after the first visit so that the next ones start from
// them, with or without a connection. Each build keeps its files as one set, named after the
// page's folder and the build: the page asks for each file with its build's name (?v=), and is
// answered from that set only, so an old talmyr.js never meets a new talmyr.wasm. A new build's
// set is fetched whole in the background and serves from the next load; the older set of this
// folder then goes (another folder's copy of the page keeps its own).
'use strict';
var VERSION = '@VERSION@';
var FILES = @FILES@;
var PREFIX = 'talmyr:' + self.registration.scope + ':';
var KEPT = PREFIX + VERSION;

self.addEventListener('install', function (e) {
  e.waitUntil(caches.open(KEPT).then(function (c) {
    return c.addAll(FILES.map(function (f) { return new Request(f, { cache: 'reload' }); }));
  }).then(function () { return self.skipWaiting(); }));
});

self.addEventListener('activate', function (e) {
  e.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (n) {
      return n.indexOf(PREFIX) === 0 && n !== KEPT;
    }).map(function (n) { return caches.delete(n); }));
  }).then(function () { return self.clients.claim(); }));
});

self.addEventListener('fetch', function (e) {
  var url = new URL(e.request.url), scope = new URL(self.registration.scope);
  if (e.request.method !== 'GET' || url.origin !== scope.origin ||
      url.pathname.indexOf(scope.pathname) !== 0) return;
  var file = url.pathname.slice(scope.pathname.length) || 'index.html';
  if (FILES.indexOf(file) < 0) return;  // not one of the page's: the network's business
  var build = url.searchParams.get('v') || VERSION;
  e.respondWith(caches.open(PREFIX + build).then(function (c) {
    return c.match(file);
  }).then(function (kept) {
    if (kept) return kept;
    // a file of another build than the one kept is never fetched to go with it
    if (build !== VERSION) return new Response('', { status: 410, statusText: 'Gone' });
    return fetch(e.request);
  }));
});
