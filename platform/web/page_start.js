// The page's start, the last of its scripts: each part set going, in this order, in one go, then
// the game's files fetched. The parts are the page's other scripts (page_*.js), which only define
// what they do; the game's own program comes after them all (page_loader.js).
(function () {
  'use strict';
  var page = window.talmyrPage;
  page.language.start();
  page.failure.start();
  page.layout.start();
  page.fullscreen.start();
  page.musicButton.start();
  // the page's buttons among the controls for fingers, and a finger lifted letting sound start
  page.onButton = function (name) {
    if (name === 'full') page.fullscreen.toggle(); else page.musicButton.toggle();
  };
  page.wake = page.keys.wake;
  page.controls.start(page.words.controls);
  page.keys.start();
  if (!page.loader.start()) return;  // no WebAssembly: said, and nothing to load
  page.offline.register();
  page.loader.load();
})();
