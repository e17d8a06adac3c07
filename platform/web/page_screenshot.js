// F12 (page_keys.js): the game's picture as a PNG file the browser downloads, named by date and
// time as the desktop names its screenshots.
(function () {
  'use strict';
  var page = window.talmyrPage = window.talmyrPage || {};

  function save() {
    var t = new Date(), two = function (n) { return (n < 10 ? '0' : '') + n; };
    var name = 'talmyr-' + t.getFullYear() + '-' + two(t.getMonth() + 1) + '-' + two(t.getDate()) +
               '_' + two(t.getHours()) + '-' + two(t.getMinutes()) + '-' + two(t.getSeconds()) + '.png';
    document.getElementById('game').toBlob(function (blob) {
      var a = document.createElement('a');
      a.href = URL.createObjectURL(blob);
      a.download = name;
      document.body.appendChild(a);
      a.click();
      a.remove();
      setTimeout(function () { URL.revokeObjectURL(a.href); }, 1000);
    }, 'image/png');
  }

  page.screenshot = { save: save };
})();
