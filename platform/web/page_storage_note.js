// A browser that refuses to keep the game (cookies blocked, storage full: library_talmyr.js calls
// Module.onStorageRefused) is named in a short note at the top, once a visit, for eight seconds;
// the game plays on.
(function () {
  'use strict';
  var page = window.talmyrPage = window.talmyrPage || {};
  var noteShown = false;

  page.storageNote = {
    show: function () {
      if (noteShown) return;
      noteShown = true;
      var note = document.getElementById('note');
      note.textContent = page.words.unkept;
      note.classList.remove('hidden');
      setTimeout(function () { note.classList.add('hidden'); }, 8000);
    }
  };
})();
