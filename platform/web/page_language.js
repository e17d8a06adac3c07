// The page's language: ?lang=fr or ?lang=en, else the first of the browser's languages that the
// game speaks, else English. The game is told it on its command line (page_loader.js), and every
// word the page itself shows is here, in both languages.
(function () {
  'use strict';
  var page = window.talmyrPage = window.talmyrPage || {};

  function language() {
    var asked = new URLSearchParams(location.search).get('lang');
    if (asked === 'fr' || asked === 'en') return asked;
    var list = navigator.languages && navigator.languages.length ? navigator.languages
                                                                  : [navigator.language || ''];
    for (var i = 0; i < list.length; i++) {
      var code = String(list[i]).toLowerCase().slice(0, 2);
      if (code === 'fr' || code === 'en') return code;
    }
    return 'en';
  }

  page.lang = language();
  page.words = {
    fr: { loading: 'Chargement…', full: 'Plein écran', leave: 'Quitter le plein écran',
          mute: 'Couper la musique', unmute: 'Remettre la musique',
          controls: { dpad: 'Croix de direction', up: 'Haut', down: 'Bas', left: 'Gauche',
                      right: 'Droite', action: 'Action', start: 'Start' },
          noWasm: 'Votre navigateur ne sait pas exécuter WebAssembly : ce jeu ne peut pas y tourner. Essayez un navigateur récent.',
          failed: 'Le jeu n\'a pas pu être chargé', network: 'le réseau n\'a pas répondu',
          missing: ' : erreur ', damaged: 'est endommagé', retry: 'Réessayer',
          ended: 'La partie est finie.', again: 'Rejouer',
          crashed: 'Le jeu s\'est arrêté sur une erreur.', reload: 'Relancer le jeu',
          unkept: 'Ce navigateur refuse de garder la partie : elle sera perdue en quittant la page.' },
    en: { loading: 'Loading…', full: 'Full screen', leave: 'Exit full screen',
          mute: 'Turn the music off', unmute: 'Turn the music on',
          controls: { dpad: 'Direction pad', up: 'Up', down: 'Down', left: 'Left',
                      right: 'Right', action: 'Action', start: 'Start' },
          noWasm: 'Your browser cannot run WebAssembly, which this game needs. Please try a current browser.',
          failed: 'The game could not be loaded', network: 'the network did not answer',
          missing: ': error ', damaged: 'is damaged', retry: 'Try again',
          ended: 'The game has ended.', again: 'Play again',
          crashed: 'The game stopped on an error.', reload: 'Restart the game',
          unkept: 'This browser refuses to keep your game: it will be lost when you leave the page.' }
  }[page.lang];

  page.language = {
    // The page in its language: its own tag (screen readers, hyphenation) and the loading line.
    start: function () {
      document.documentElement.lang = page.lang;
      document.getElementById('message').textContent = page.words.loading;
    }
  };
})();
