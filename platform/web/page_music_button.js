// The music button (among the controls for fingers): what M does. The game tells its volume
// (library_talmyr.js calls Module.onVolume), and the button's label says what it will do.
(function () {
  'use strict';
  var page = window.talmyrPage = window.talmyrPage || {};
  var muteButton;

  function label(volume) {
    var text = volume > 0 ? page.words.mute : page.words.unmute;
    muteButton.classList.toggle('off', !(volume > 0));
    muteButton.setAttribute('aria-label', text);
    muteButton.title = text;
  }

  function toggle() { if (Module._talmyr_toggle_mute) Module._talmyr_toggle_mute(); }

  page.musicButton = {
    label: label,
    toggle: toggle,
    start: function () {
      muteButton = document.getElementById('mute');
      label(1);
      muteButton.addEventListener('click', function () {
        toggle();
        document.getElementById('game').focus();
      });
    }
  };
})();
