// Loading the game: its program (talmyr.js) and its WebAssembly (talmyr.wasm), with a bar of what
// has arrived over what is to arrive. The sizes come from the build (window.talmyrBuild, written
// into the page): a host may compress what it sends, or send no length at all, and the bar counts
// the bytes as they arrive unpacked. Each file is asked for with the build's version, which the
// kept files answer to (sw.js). Then the game's hooks (Module): its frames onto the canvas (the
// first one shows the game in place of the bar), its sound, its volume, a pad or a browser
// refusing storage, its end; anything that fails on the way is said by page_failure.js.
(function () {
  'use strict';
  var page = window.talmyrPage = window.talmyrPage || {};
  var files = ['talmyr.js', 'talmyr.wasm'];
  var build, sizes, total, got;
  var canvas, statusBox, bar;
  var shown = null;  // the picture's pixels, once the game has shown one

  function progress() {
    var t = 0, g = 0;
    files.forEach(function (f) { t += total[f] || 0; g += got[f] || 0; });
    bar.firstElementChild.style.width = (t ? Math.min(100, 100 * g / t) : 0) + '%';
  }

  function load(name) {
    return fetch(name + (build.version ? '?v=' + build.version : '')).catch(function () {
      throw new Error(page.words.network);
    }).then(function (r) {
      if (!r.ok) throw new Error(name + page.words.missing + r.status);
      total[name] = sizes[name] || Number(r.headers.get('Content-Length')) || 0;
      if (!r.body || !r.body.getReader) return r.arrayBuffer();
      var reader = r.body.getReader(), parts = [], size = 0;
      function pump() {
        return reader.read().then(function (x) {
          if (x.done) {
            var all = new Uint8Array(size), at = 0;
            parts.forEach(function (p) { all.set(p, at); at += p.length; });
            return all.buffer;
          }
          parts.push(x.value);
          size += x.value.length;
          got[name] = size;
          progress();
          return pump();
        });
      }
      return pump();
    });
  }

  // Each frame of the game onto the canvas; the first one shows the game in place of the bar.
  function show(rgba, w, h) {
    if (!shown) {
      window.talmyrFirstFrameAt = performance.now();  // from the navigation on
      shown = canvas.getContext('2d').createImageData(w, h);
      statusBox.classList.add('hidden');
      canvas.classList.add('ready');
      if (page.fullscreen.possible) document.getElementById('full').classList.remove('hidden');
      page.layout.refit();
      canvas.focus();
      document.body.setAttribute('data-state', 'running');
    }
    shown.data.set(rgba);
    canvas.getContext('2d').putImageData(shown, 0, 0);
  }

  page.loader = {
    shown: function () { return shown !== null; },
    // The game's hooks, once the browser is known to run WebAssembly; false (and said) if not.
    start: function () {
      var words = page.words;
      canvas = document.getElementById('game');
      statusBox = document.getElementById('status');
      bar = document.getElementById('bar');
      if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
        page.failure.show(words.noWasm, null);
        return false;
      }
      build = window.talmyrBuild || {};
      sizes = build.sizes || {};
      total = {};
      got = {};
      files.forEach(function (f) { total[f] = sizes[f] || 0; });
      window.Module = {
        arguments: ['--lang', page.lang],
        canvas: canvas,
        print: function (t) { console.log(t); },
        printErr: function (t) { console.warn(t); },
        onAudio: page.keys.setAudio,
        onVolume: page.musicButton.label,
        talmyrTouch: page.controls.state,
        onPadUsed: function () {  // a pad played: the controls for fingers go
          if (!page.layout.state.touch) return;
          page.controls.releaseAll();
          page.layout.setTouch(false);
        },
        talmyrShow: show,
        onAbort: function () { page.failure.show(words.crashed, words.reload); },
        onStorageRefused: page.storageNote.show,
        onExit: function () {
          if (document.body.getAttribute('data-state') !== 'error') {
            page.failure.show(words.ended, words.again);
            document.body.setAttribute('data-state', 'ended');
          }
        }
      };
      return true;
    },
    // Both files fetched; the WebAssembly checked and handed to the program, which then runs.
    load: function () {
      var words = page.words;
      Promise.all(files.map(load)).then(function (loaded) {
        var bytes = new Uint8Array(loaded[1]);
        // a wasm module begins with "\0asm": anything else (an error page, a cut file) is not one
        if (bytes.length < 8 || bytes[0] !== 0 || bytes[1] !== 0x61 || bytes[2] !== 0x73 || bytes[3] !== 0x6d)
          throw new Error('talmyr.wasm ' + words.damaged);
        Module.instantiateWasm = function (imports, done) {
          WebAssembly.instantiate(bytes, imports).then(function (r) { done(r.instance, r.module); })
            .catch(function () { page.failure.show(words.failed + ' (talmyr.wasm ' + words.damaged + ').'); });
          return {};
        };
        var script = document.createElement('script');
        script.src = URL.createObjectURL(new Blob([loaded[0]], { type: 'text/javascript' }));
        script.onerror = function () { page.failure.show(words.failed + ' (talmyr.js ' + words.damaged + ').'); };
        document.body.appendChild(script);
      }).catch(function (e) {
        page.failure.show(words.failed + ' (' + e.message + ').');
      });
      window.addEventListener('error', function () {
        if (document.body.getAttribute('data-state') !== 'running')
          page.failure.show(words.failed + ' (talmyr.js ' + words.damaged + ').');
      });
    }
  };
})();
