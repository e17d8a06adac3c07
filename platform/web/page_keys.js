// The keyboard and the mouse on the page: F11 and Alt+Return switch full screen and F12 saves the
// picture (the game never sees them); arrows, Space and the other game keys never scroll or act
// on the page; every key goes to the game's canvas. A real keyboard hides the controls for
// fingers. The first key or click (or a finger lifted, page_controls.js) also lets the sound
// start, as browsers want.
(function () {
  'use strict';
  var page = window.talmyrPage = window.talmyrPage || {};
  var audio = null;  // the game's sound, once it has some (Module.onAudio)

  function wake() {
    if (audio) audio.unlock();
  }

  page.keys = {
    wake: wake,
    setAudio: function (a) { audio = a; },
    start: function () {
      var canvas = document.getElementById('game');
      addEventListener('keydown', function (e) {
        wake();
        if (e.isTrusted && page.layout.state.touch) {  // a real keyboard: the controls go
          page.controls.releaseAll();
          page.layout.setTouch(false);
        }
        if (e.key === 'F11' || (e.key === 'Enter' && e.altKey)) {
          e.preventDefault();
          if (!e.repeat) page.fullscreen.toggle();
          return;
        }
        if (e.key === 'F12') {  // a screenshot: the game's picture as the browser downloads it
          e.preventDefault();
          if (!e.repeat && page.loader.shown()) page.screenshot.save();
          return;
        }
        if (['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', ' ', 'Enter', 'Escape', 'Control',
             'Backspace', 'Tab'].indexOf(e.key) >= 0)
          e.preventDefault();
        if (document.activeElement !== canvas) canvas.focus();
      }, true);
      addEventListener('mousedown', function () { wake(); canvas.focus(); }, { passive: true });
    }
  };
})();
