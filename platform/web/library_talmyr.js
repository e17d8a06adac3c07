// The page's side of the platform: what the game's C++ asks of the browser (platform/web/*.cpp
// declare these functions). Linked into the program by emscripten (--js-library).
mergeInto(LibraryManager.library, {
  // The game's clock and its waits, in place of the browser SDL's: while the tab is hidden the
  // clock stands still and every wait lasts until the tab is shown again, so nothing is drawn,
  // nothing runs, and a pause, a walk or a drain under way goes on afterwards as if no time had
  // passed. The music is suspended meanwhile.
  $talmyrClock: {
    start: 0, hiddenFor: 0, hiddenAt: -1, onShow: [],
    now: function() {
      var t = talmyrClock.hiddenAt >= 0 ? talmyrClock.hiddenAt : performance.now();
      return t - talmyrClock.start - talmyrClock.hiddenFor;
    },
    watch: function() {
      talmyrClock.start = performance.now();
      var hidden = function() { return document.visibilityState === 'hidden'; };
      if (hidden()) talmyrClock.hiddenAt = talmyrClock.start;
      document.addEventListener('visibilitychange', function() {
        var a = Module.talmyrAudio;
        if (hidden() && talmyrClock.hiddenAt < 0) {
          talmyrClock.hiddenAt = performance.now();
          if (a) a.settle();
        } else if (!hidden() && talmyrClock.hiddenAt >= 0) {
          talmyrClock.hiddenFor += performance.now() - talmyrClock.hiddenAt;
          talmyrClock.hiddenAt = -1;
          if (a) a.settle();
          var waiting = talmyrClock.onShow;
          talmyrClock.onShow = [];
          waiting.forEach(function(f) { f(); });
        }
      });
      Module.talmyrClock = talmyrClock;
    }
  },
  $talmyrClock__postset: 'talmyrClock.watch();',
  SDL_GetTicks__deps: ['$talmyrClock'],
  SDL_GetTicks: function() {
    return talmyrClock.now() >>> 0;
  },
  // While the game only waits for the player (a wait for a key, or the same picture flipped for a
  // second with no key, touch or pad since), nothing on the screen or in the sound can change
  // until the player acts: a wait then lasts until a key, a touch or a pad, or half a second,
  // rather than the hundredth of a second asked. Waking a page a hundred times a second for
  // nothing costs a phone its battery.
  $talmyrRest: {
    still: 0, mask: 0, looked: true, pending: null, timer: 0, keyAt: 0, delays: [],
    after: 1000, longest: 500,
    resting: function() {
      var r = talmyrRest;
      if (!r.still || !r.looked || Module.talmyrPadSeen) return false;
      if (HEAP32[r.mask >> 2]) return true;
      return HEAP32[r.still >> 2] >= 3 &&
             talmyrClock.now() - (HEAP32[(r.still >> 2) + 1] >>> 0) >= r.after;
    },
    // A key, a touch or a pad: the game must see it at once, and judge afresh.
    input: function() {
      var r = talmyrRest;
      r.looked = false;
      if (r.still) HEAP32[r.still >> 2] = 0;
      var p = r.pending;
      if (!p) return;
      if (!r.keyAt) r.keyAt = performance.now();  // a resting game woken: how soon it looks
      r.pending = null;
      clearTimeout(r.timer);
      setTimeout(p, 0);  // after every listener of this event: the game's SDL has queued it
    },
    watch: function() {
      addEventListener('keydown', talmyrRest.input, true);
      addEventListener('keyup', talmyrRest.input, true);
      Module.talmyrRest = talmyrRest;
    }
  },
  $talmyrRest__postset: 'talmyrRest.watch();',
  talmyr_rest_watch__deps: ['$talmyrRest'],
  talmyr_rest_watch: function(still, mask) {
    talmyrRest.still = still;
    talmyrRest.mask = mask;
  },
  talmyr_rest_looked__deps: ['$talmyrRest'],
  talmyr_rest_looked: function() {
    var r = talmyrRest;
    if (r.keyAt) {  // from the key to the game's look at it
      r.delays.push(performance.now() - r.keyAt);
      if (r.delays.length > 100) r.delays.shift();
      r.keyAt = 0;
    }
    r.looked = true;
  },
  SDL_Delay__deps: ['$talmyrClock', '$talmyrRest'],
  SDL_Delay: function(ms) {
    Asyncify.handleSleep(function(wakeUp) {
      var end = talmyrClock.now() + ms;
      var resting = talmyrRest.resting();
      if (resting) end = Math.max(end, talmyrClock.now() + talmyrRest.longest);
      var tick = function() {
        if (talmyrClock.hiddenAt >= 0) return talmyrClock.onShow.push(tick);
        var left = end - talmyrClock.now();
        if (left <= 0) return wakeUp();
        if (resting) talmyrRest.pending = wakeUp;
        // Whole milliseconds, rounded up: a timer asked for less wakes early, and the next, chained
        // to it, waits at least 4 ms.
        talmyrRest.timer = setTimeout(function() { talmyrRest.pending = null; tick(); },
                                      Math.ceil(left));
      };
      tick();
    });
  },
  talmyr_show: function(rgba, w, h) {
    if (Module.talmyrShow) Module.talmyrShow(HEAPU8.subarray(rgba, rgba + w * h * 4), w, h);
  },
  // A browser shows a page its pads only while the page watches for them, and watching costs
  // (Chromium looks at every device sixty times a second, a hundredth of a core, all the time the
  // tab shows). So the page watches from its start, and again each time it is shown or focused,
  // until the player plays by keyboard or by touch; once a pad has said it is there, it is read at
  // every look at the keys and watched for good.
  $talmyrPads: {
    watching: false,
    connected: function() {
      Module.talmyrPadSeen = true;
      talmyrRest.input();
    },
    watch: function(on) {
      if (on === talmyrPads.watching || Module.talmyrPadSeen) return;
      talmyrPads.watching = on;
      (on ? addEventListener : removeEventListener)('gamepadconnected', talmyrPads.connected);
    },
    start: function() {
      var again = function() {
        if (document.visibilityState !== 'hidden') talmyrPads.watch(true);
      };
      var other = function() { talmyrPads.watch(false); };
      again();
      document.addEventListener('visibilitychange', again);
      addEventListener('focus', again);
      addEventListener('keydown', other, true);
      addEventListener('touchstart', other, { capture: true, passive: true });
      Module.talmyrPads = talmyrPads;
    }
  },
  $talmyrPads__deps: ['$talmyrRest'],
  $talmyrPads__postset: 'talmyrPads.start();',
  talmyr_read_pads__deps: ['$talmyrPads'],
  talmyr_read_pads: function(out, max) {
    if (!Module.talmyrPadSeen || !navigator.getGamepads) return 0;
    var list = navigator.getGamepads();
    var n = 0;
    for (var i = 0; list && i < list.length && n < max; i++) {
      var g = list[i];
      if (!g || !g.connected) continue;
      var buttons = 0;
      for (var b = 0; b < g.buttons.length && b < 32; b++) {
        var v = g.buttons[b];
        if (typeof v === 'object' ? v.pressed : v > 0.5) buttons |= 1 << b;
      }
      var axis = function(k) {
        var a = g.axes && g.axes.length > k ? Math.max(-1, Math.min(1, g.axes[k])) : 0;
        return Math.round(a < 0 ? a * 32768 : a * 32767);
      };
      if (buttons || Math.abs(axis(0)) > 16384 || Math.abs(axis(1)) > 16384) {
        if (Module.onPadUsed) Module.onPadUsed();
      }
      HEAP32[(out >> 2) + n * 3] = buttons;
      HEAP32[(out >> 2) + n * 3 + 1] = axis(0);
      HEAP32[(out >> 2) + n * 3 + 2] = axis(1);
      n++;
    }
    return n;
  },
  // The page's own controls (a d-pad and buttons drawn for fingers): the game keys they hold, and
  // those pressed since the last look (also shifted 16 bits up), so that a tap shorter than a frame,
  // or a control let go and pressed again between two looks, is still seen once.
  talmyr_read_touch: function() {
    var t = Module.talmyrTouch;
    if (!t) return 0;
    var k = t.held | t.fresh | t.fresh << 16;
    if (t.fresh && t.pressedAt) {  // from the finger's touch to the game's look
      t.delays.push(performance.now() - t.pressedAt);
      if (t.delays.length > 100) t.delays.shift();
      t.pressedAt = 0;
    }
    t.fresh = 0;
    t.seen = k & 0xFFFF;
    return k;
  },
  talmyr_audio_open__deps: ['$talmyrClock'],
  talmyr_audio_open: function() {
    if (Module.talmyrAudio) return;
    var AC = window.AudioContext || window.webkitAudioContext;
    if (!AC) return;
    // The music is 22050 Hz, as the desktop mixes it: a context at that rate does half the work
    // of one at the device's rate (the browser converts once, on the way out).
    var ctx;
    try { ctx = new AC({ sampleRate: 22050 }); } catch (e) { ctx = new AC(); }
    var a = Module.talmyrAudio = { ctx: ctx, tracks: [], wanted: -1, source: null, gain: null,
                                   volume: 1, unlocked: false };
    // The sound runs only while a piece is wanted: a browser that keeps a silent context running
    // spends a little of a core on it all along. It may run once the player has pressed a key or
    // clicked (the page then calls unlock), or at once where the browser allows it.
    a.unlocked = a.ctx.state === 'running';
    a.unlock = function() {
      a.unlocked = true;
      a.settle();
    };
    // Running only while a piece is wanted, heard (not muted) and the tab shown.
    a.settle = function() {
      var heard = a.wanted >= 0 && a.volume > 0 && a.unlocked && talmyrClock.hiddenAt < 0;
      if (heard && a.ctx.state === 'suspended') a.ctx.resume();
      else if (!heard && a.ctx.state === 'running') a.ctx.suspend();
    };
    a.gain = a.ctx.createGain();
    a.gain.connect(a.ctx.destination);
    a.start = function() {
      if (a.source) { try { a.source.stop(); } catch (e) {} a.source.disconnect(); a.source = null; }
      if (a.wanted < 0) return a.settle();
      var t = a.tracks[a.wanted];
      if (!t || !t.buffer) return;
      var s = a.ctx.createBufferSource();
      s.buffer = t.buffer;
      s.loop = true;
      s.connect(a.gain);
      s.start();
      a.source = s;
      a.settle();
    };
    if (a.ctx.state === 'running') a.ctx.suspend();
    if (Module.onAudio) Module.onAudio(a);
  },
  talmyr_audio_load: function(data, size) {
    var a = Module.talmyrAudio;
    if (!a) return -1;
    var id = a.tracks.length;
    var t = { buffer: null };
    a.tracks.push(t);
    var bytes = HEAPU8.slice(data, data + size).buffer;
    var done = function(buffer) {
      t.buffer = buffer;
      if (a.wanted === id) a.start();
    };
    var failed = function(e) { console.warn('talmyr: a piece of music cannot be decoded', e); };
    var p = a.ctx.decodeAudioData(bytes, done, failed);
    if (p && p.catch) p.catch(function() {});
    return id;
  },
  talmyr_audio_play: function(id) {
    var a = Module.talmyrAudio;
    if (!a) return;
    a.wanted = id;
    a.start();
  },
  talmyr_audio_halt: function() {
    var a = Module.talmyrAudio;
    if (!a) return;
    a.wanted = -1;
    a.start();
  },
  talmyr_audio_volume: function(v) {
    var a = Module.talmyrAudio;
    if (!a) return;
    a.volume = v / 128;
    a.gain.gain.value = a.volume;
    a.settle();  // muted, the sound stops running: silence costs nothing
    if (Module.onVolume) Module.onVolume(a.volume);
  },
  // The kept game, in the browser's own storage (localStorage), under the name `key`. When the
  // browser refuses to keep it (cookies blocked, storage full), the page says so once a visit;
  // once a game has been kept, the browser is asked to keep the site's storage for good (some
  // wipe it after days without a visit otherwise).
  talmyr_store_size: function(key) {
    try {
      var v = localStorage.getItem(UTF8ToString(key));
      return v === null ? -1 : lengthBytesUTF8(v);
    } catch (e) { return -1; }
  },
  talmyr_store_get: function(key, out, size) {
    try {
      var v = localStorage.getItem(UTF8ToString(key));
      if (v !== null) stringToUTF8(v, out, size);
    } catch (e) {}
  },
  talmyr_store_put: function(key, text) {
    try {
      localStorage.setItem(UTF8ToString(key), UTF8ToString(text));
    } catch (e) {  // storage full, or refused by the browser's settings
      if (Module.onStorageRefused) Module.onStorageRefused();
      return 0;
    }
    if (!Module.talmyrPersistAsked && navigator.storage && navigator.storage.persist) {
      Module.talmyrPersistAsked = true;
      navigator.storage.persist().catch(function() {});
    }
    return 1;
  },
  talmyr_store_remove: function(key) {
    try { localStorage.removeItem(UTF8ToString(key)); } catch (e) {}
  },
  // The name the game is kept under: the page's own folder, so that two copies of the page in two
  // folders of one site keep a game each. A game kept under the name earlier versions used is
  // moved to it, once.
  talmyr_store_key: function(out, size) {
    var folder = location.pathname.replace(/[^/]*$/, '');
    var key = 'talmyr.kept-game:' + folder, old = 'talmyr.kept-game';
    try {
      var earlier = localStorage.getItem(old);
      if (earlier !== null && localStorage.getItem(key) === null) localStorage.setItem(key, earlier);
      if (earlier !== null) localStorage.removeItem(old);
    } catch (e) {}
    stringToUTF8(key, out, size);
  },
  // The game is kept when the tab is hidden or the page goes away: the program's keep_now then
  // writes it, between two of its frames.
  talmyr_store_watch: function() {
    var keep = function() {
      try { if (Module['_talmyr_keep_now']) Module['_talmyr_keep_now'](); } catch (e) {}
    };
    document.addEventListener('visibilitychange', function() {
      if (document.visibilityState === 'hidden') keep();
    });
    addEventListener('pagehide', keep);
  }
});
