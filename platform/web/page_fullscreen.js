// Full screen, where the browser gives it to a page (not Safari on an iPhone: there the button
// is not shown, and the page fills the browser's window as it is): the button, F11 and Alt+Return
// (page_keys.js) and the button among the controls for fingers switch it. On a phone it also asks
// for landscape, where the browser allows it. The button's label says what it will do; the
// button shows once the game does (page_loader.js).
(function () {
  'use strict';
  var page = window.talmyrPage = window.talmyrPage || {};
  var root = document.documentElement, fullButton;

  function isFull() { return !!(document.fullscreenElement || document.webkitFullscreenElement); }

  function label() {
    var text = isFull() ? page.words.leave : page.words.full;
    fullButton.lastElementChild.textContent = text;
    fullButton.setAttribute('aria-label', text);
    fullButton.title = text;
  }

  function toggle() {
    if (isFull()) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
    } else if (root.requestFullscreen || root.webkitRequestFullscreen) {
      var asked = (root.requestFullscreen || root.webkitRequestFullscreen).call(root);
      var landscape = function () {
        if (page.layout.state.touch && screen.orientation && screen.orientation.lock)
          screen.orientation.lock('landscape').catch(function () {});
      };
      if (asked && asked.then) asked.then(landscape, function () {}); else landscape();
    }
  }

  page.fullscreen = {
    toggle: toggle,
    possible: false,  // whether the browser gives full screen to a page (known from start on)
    start: function () {
      fullButton = document.getElementById('full');
      page.fullscreen.possible = !!(document.fullscreenEnabled || document.webkitFullscreenEnabled);
      ['fullscreenchange', 'webkitfullscreenchange'].forEach(function (type) {
        document.addEventListener(type, function () { label(); page.layout.refit(); });
      });
      label();
      fullButton.addEventListener('click', function () {
        toggle();
        document.getElementById('game').focus();
      });
    }
  };
})();
