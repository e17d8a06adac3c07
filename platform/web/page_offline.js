// The page's files kept for the next visits, with or without a connection (sw.js keeps each
// build's files as one set); where the browser refuses (cookies blocked, a private window) the
// page works as it is.
(function () {
  'use strict';
  var page = window.talmyrPage = window.talmyrPage || {};

  page.offline = {
    register: function () {
      if ('serviceWorker' in navigator) {
        try { navigator.serviceWorker.register('sw.js').catch(function () {}); } catch (e) {}
      }
    }
  };
})();
