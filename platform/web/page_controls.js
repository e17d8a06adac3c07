// The controls for fingers: a d-pad, the action button (Space) and Start (Return), read by the
// game as one more pad (talmyr_read_touch in library_talmyr.js), so it sees the very key bits a
// keyboard gives it. Each finger belongs to the control it first touched: on the d-pad it walks
// towards where it rests (a centre zone does nothing) and turns as it slides; a second finger on a
// button works beside it. A finger the page loses sight of (touchcancel, the page hidden, the
// screen turned) lets go. Nothing but the game moves: no zoom, scrolling, selection or menu.
(function () {
  'use strict';
  var BITS = { action: 0x01, left: 0x04, up: 0x08, right: 0x10, down: 0x20, start: 0x40 };
  var DEAD = 0.16;  // the d-pad's centre zone, as a part of its width
  var page = window.talmyrPage = window.talmyrPage || {};

  var fingers = {};  // touch id -> { control: 'dpad' | a key's name | 'mute' | 'full', bits }
  var state = { held: 0, fresh: 0, pressedAt: 0, seen: 0, delays: [] };
  var dpad, buttons = {};

  function dpadBits(x, y) {
    var r = dpad.getBoundingClientRect();
    var dx = x - (r.left + r.width / 2), dy = y - (r.top + r.height / 2);
    if (Math.sqrt(dx * dx + dy * dy) < DEAD * r.width) return 0;
    if (Math.abs(dx) > Math.abs(dy)) return dx < 0 ? BITS.left : BITS.right;
    return dy < 0 ? BITS.up : BITS.down;
  }

  // The keys every finger holds, to the game and on the screen (a pressed control lights up).
  function update() {
    var held = 0;
    for (var id in fingers) held |= fingers[id].bits;
    var pressed = held & ~state.held;
    if (held !== state.held && window.Module && Module.talmyrRest) Module.talmyrRest.input();  // wakes a resting game
    if (pressed) {
      state.fresh |= pressed;
      if (!state.pressedAt) state.pressedAt = performance.now();
    }
    state.held = held;
    for (var name in buttons) buttons[name].classList.toggle('on', (held & BITS[name]) !== 0);
  }

  function controlAt(x, y) {
    var el = document.elementFromPoint(x, y);
    if (!el || !el.closest) return null;
    if (el.closest('#dpad')) return 'dpad';
    var b = el.closest('#controls [data-key], #mute, #full');
    if (!b || b.classList.contains('hidden')) return null;
    return b.id || b.getAttribute('data-key');
  }

  function releaseAll() {
    fingers = {};
    update();
  }

  function touchStart(e) {
    if (e.target.closest && e.target.closest('#retry')) return;  // a plain button: its click
    e.preventDefault();
    if (!page.layout.state.touch) {  // the first touch shows the controls
      page.layout.setTouch(true);
      return;
    }
    for (var i = 0; i < e.changedTouches.length; i++) {
      var t = e.changedTouches[i], control = controlAt(t.clientX, t.clientY);
      if (!control) continue;
      var bits = control === 'dpad' ? dpadBits(t.clientX, t.clientY) : BITS[control] || 0;
      fingers[t.identifier] = { control: control, bits: bits };
    }
    update();
  }

  function touchMove(e) {
    e.preventDefault();
    for (var i = 0; i < e.changedTouches.length; i++) {
      var t = e.changedTouches[i], f = fingers[t.identifier];
      if (f && f.control === 'dpad') f.bits = dpadBits(t.clientX, t.clientY);
    }
    update();
  }

  function touchEnd(e) {
    e.preventDefault();
    for (var i = 0; i < e.changedTouches.length; i++) {
      var t = e.changedTouches[i], f = fingers[t.identifier];
      delete fingers[t.identifier];
      // the page's own buttons act as the finger leaves them, still on them
      if (f && e.type === 'touchend' && (f.control === 'mute' || f.control === 'full') &&
          controlAt(t.clientX, t.clientY) === f.control && page.onButton) {
        page.onButton(f.control);
      }
    }
    update();
    if (page.wake) page.wake();  // a finger lifted lets the sound start, as browsers want
  }

  function prevent(e) { e.preventDefault(); }

  page.controls = {
    state: state,
    releaseAll: releaseAll,
    start: function (labels) {
      dpad = document.getElementById('dpad');
      ['up', 'down', 'left', 'right', 'action', 'start'].forEach(function (name) {
        buttons[name] = document.querySelector('#controls [data-key="' + name + '"]');
        buttons[name].setAttribute('aria-label', labels[name]);
      });
      dpad.setAttribute('aria-label', labels.dpad);
      var active = { passive: false, capture: true };
      document.addEventListener('touchstart', touchStart, active);
      document.addEventListener('touchmove', touchMove, active);
      document.addEventListener('touchend', touchEnd, active);
      document.addEventListener('touchcancel', touchEnd, active);
      // iOS's own pinch, double-tap zoom, long-press menus and selections
      ['gesturestart', 'gesturechange', 'dblclick', 'contextmenu', 'selectstart'].forEach(
        function (type) { document.addEventListener(type, prevent, active); });
      document.addEventListener('visibilitychange', function () {
        if (document.visibilityState === 'hidden') releaseAll();
      });
      ['blur', 'pagehide', 'orientationchange', 'resize'].forEach(function (type) {
        addEventListener(type, releaseAll);
      });
      if (window.matchMedia && matchMedia('(pointer: coarse)').matches) page.layout.setTouch(true);
    }
  };
})();
