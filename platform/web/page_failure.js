// What went wrong, in the page's language, in place of the game, with a button to start again
// where starting again may help (an installed page has no reload button of its own): the loading
// failed, the browser has no WebAssembly, the game stopped on an error or ended.
(function () {
  'use strict';
  var page = window.talmyrPage = window.talmyrPage || {};
  var retryButton;

  page.failure = {
    start: function () {
      retryButton = document.getElementById('retry');
      retryButton.addEventListener('click', function () { location.reload(); });
    },
    // text in place of the game; button the retry button's label (undefined: "Try again"; null:
    // no button, nothing to try again)
    show: function (text, button) {
      document.getElementById('game').classList.remove('ready');
      retryButton.textContent = button || page.words.retry;
      retryButton.classList.toggle('hidden', button === null);
      document.getElementById('full').classList.add('hidden');
      page.layout.setTouch(false);
      document.getElementById('bar').classList.add('hidden');
      document.getElementById('status').classList.remove('hidden');
      document.getElementById('message').textContent = text;
      document.body.setAttribute('data-state', 'error');
    }
  };
})();
