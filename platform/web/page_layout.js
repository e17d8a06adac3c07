// The page's layout: the picture magnified by the largest whole number of *device* pixels that
// fits, placed on whole device pixels, so that every game pixel is an N x N square at any pixel
// ratio; the controls for fingers beside it (below it in portrait, at its sides in landscape);
// the full-screen button in a margin, or shown while the mouse moves where the picture fills the
// screen. Everything is chosen again when the window, the orientation or the pixel ratio changes.
(function () {
  'use strict';
  var W = 320, H = 240;
  var GAP = 12;       // between controls, and from the screen's edges (CSS pixels)
  var BUTTON = 48;    // the smallest control: a thumb's width
  var page = window.talmyrPage = window.talmyrPage || {};

  var canvas, safeProbe, fullButton, muteButton, dpad, action, start, fadeTimer = 0;
  var state = { touch: false, scale: 0, ratio: 1 };

  // The notch's and rounded corners' insets (zero where the screen has none).
  function safeArea() {
    var s = getComputedStyle(safeProbe);
    return { top: parseFloat(s.paddingTop) || 0, right: parseFloat(s.paddingRight) || 0,
             bottom: parseFloat(s.paddingBottom) || 0, left: parseFloat(s.paddingLeft) || 0 };
  }

  // The largest whole number N such that 320N x 240N device pixels fit in w x h device pixels.
  function scaleFor(w, h) {
    return Math.max(1, Math.min(Math.floor(w / W), Math.floor(h / H)));
  }

  function place(el, x, y, w, h) {
    el.style.right = el.style.bottom = 'auto';
    el.style.left = x + 'px';
    el.style.top = y + 'px';
    el.style.width = w + 'px';
    el.style.height = h + 'px';
    return { x: x, y: y, w: w, h: h };
  }

  function overlaps(a, b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
  }

  function clamp(v, lo, hi) { return Math.max(lo, Math.min(hi, v)); }

  // The controls in the space below the picture, as on a handheld: the d-pad on the left, the
  // action button on the right, Start between them; the music and full-screen buttons above.
  function portraitControls(vw, vh, safe, picBottom) {
    var top = picBottom + GAP, bottom = vh - safe.bottom - GAP;
    var left = safe.left + GAP, right = vw - safe.right - GAP;
    var rowBottom = top + BUTTON;
    var d = clamp(Math.min(bottom - rowBottom - GAP, (right - left) * 0.45), 3 * BUTTON, 210);
    var cy = clamp(top + (bottom - top) * 0.58, rowBottom + GAP + d / 2, bottom - d / 2);
    var a = clamp(d * 0.48, 64, 96);
    place(dpad, left, cy - d / 2, d, d);
    place(action, right - a, cy - a / 2 - a * 0.15, a, a);
    var gapLeft = left + d, gapRight = right - a;
    var sw = clamp(gapRight - gapLeft - 2 * GAP, 64, 96);
    place(start, (gapLeft + gapRight - sw) / 2, cy + d / 2 - BUTTON, sw, BUTTON);
    place(muteButton, vw / 2 - BUTTON - GAP / 2, top, BUTTON, BUTTON);
    place(fullButton, vw / 2 + GAP / 2, top, BUTTON, BUTTON);
    [dpad, action, start, muteButton, fullButton].forEach(function (el) {
      el.classList.remove('over');
    });
  }

  // The controls in the margins at the picture's sides: the d-pad and the music button on the
  // left, the action button, Start and the full-screen button on the right. Where a margin is too
  // narrow they cover the picture's outer edge, and are then more translucent.
  function landscapeControls(vw, vh, safe, pic) {
    var margin = Math.min(pic.x - safe.left, vw - safe.right - pic.x - pic.w);
    var d = clamp(Math.min(margin - 2 * GAP, vh * 0.45), 3 * BUTTON, 200);
    var cy = clamp(vh * 0.6, safe.top + 2 * GAP + BUTTON + d / 2, vh - safe.bottom - GAP - d / 2);
    var a = clamp(d * 0.45, 64, 88);
    var left = safe.left + GAP, right = vw - safe.right - GAP;
    var rects = [place(dpad, left, cy - d / 2, d, d),
                 place(action, right - a, cy - a / 2 - BUTTON / 2, a, a),
                 place(start, right - a / 2 - 40, cy + a / 2 - BUTTON / 2 + GAP, 80, BUTTON),
                 place(muteButton, left, safe.top + GAP, BUTTON, BUTTON),
                 place(fullButton, right - BUTTON, safe.top + GAP, BUTTON, BUTTON)];
    [dpad, action, start, muteButton, fullButton].forEach(function (el, i) {
      el.classList.toggle('over', overlaps(rects[i], pic));
    });
  }

  // Without controls: the full-screen button in the bottom-right corner where a margin holds it,
  // else shown while the mouse moves (refit leaves it faded).
  function desktopButton(vw, vh, pic) {
    fullButton.style.width = fullButton.style.height = '';
    fullButton.style.left = fullButton.style.top = '';
    fullButton.style.right = fullButton.style.bottom = '';
    var bw = fullButton.offsetWidth || 120, bh = fullButton.offsetHeight || 30;
    var inMargin = vh - pic.y - pic.h >= bh + 2 * 8 || vw - pic.x - pic.w >= bw + 2 * 8;
    fullButton.classList.toggle('auto', !inMargin);
    return inMargin;
  }

  function refit() {
    if (!canvas) return;
    var r = window.devicePixelRatio || 1;
    var vw = document.documentElement.clientWidth || innerWidth;
    var vh = document.documentElement.clientHeight || innerHeight;
    var safe = safeArea();
    var portrait = vh > vw;
    var devW = Math.round(vw * r), devH = Math.round(vh * r);
    var n, x, y;
    if (state.touch && portrait) {
      var reserve = 3 * BUTTON + BUTTON + 4 * GAP + 24;  // the d-pad and the row above it
      n = scaleFor(devW - Math.round((safe.left + safe.right) * r),
                   devH - Math.round((safe.top + reserve) * r));
      x = Math.floor((devW - W * n) / 2);
      y = Math.round(safe.top * r);
    } else {
      n = scaleFor(devW, devH);
      x = Math.floor((devW - W * n) / 2);
      y = Math.floor((devH - H * n) / 2);
    }
    // A transform rather than a width: layout rounds sizes to 1/64 of a CSS pixel, which at
    // ratios like 1.5 leaves the picture a hair off whole device pixels, and the browser then
    // resamples it unevenly; a transform keeps the exact figures.
    canvas.style.transform = 'translate(' + x / r + 'px, ' + y / r + 'px) scale(' + n / r + ')';
    var pic = { x: x / r, y: y / r, w: W * n / r, h: H * n / r };
    state.scale = n;
    state.ratio = r;
    document.body.classList.toggle('touch', state.touch);
    document.body.classList.toggle('portrait', portrait);
    if (state.touch) {
      if (portrait) portraitControls(vw, vh, safe, pic.y + pic.h);
      else landscapeControls(vw, vh, safe, pic);
      fullButton.classList.remove('auto');
    } else {
      desktopButton(vw, vh, pic);
    }
    watchRatio(r);
  }

  // A browser zoom or a window moved to another screen changes the pixel ratio without always
  // resizing the window.
  var ratioQuery = null;
  function watchRatio(r) {
    if (!window.matchMedia) return;
    if (ratioQuery) ratioQuery.removeEventListener('change', refit);
    ratioQuery = matchMedia('(resolution: ' + r + 'dppx)');
    if (ratioQuery.addEventListener) ratioQuery.addEventListener('change', refit);
  }

  // Where the picture fills the screen the full-screen button is shown while the mouse moves,
  // and fades a few seconds after it stops.
  function mouseMoved(e) {
    if (e.pointerType && e.pointerType !== 'mouse') return;
    if (!fullButton.classList.contains('auto')) return;
    fullButton.classList.add('shown');
    clearTimeout(fadeTimer);
    fadeTimer = setTimeout(function () { fullButton.classList.remove('shown'); }, 3000);
  }

  page.layout = {
    state: state,
    refit: refit,
    // Shows or hides the controls for fingers; the picture moves to make room for them.
    setTouch: function (on) {
      if (state.touch === on) return;
      state.touch = on;
      document.getElementById('controls').classList.toggle('hidden', !on);
      refit();
    },
    start: function () {
      canvas = document.getElementById('game');
      safeProbe = document.getElementById('safe');
      fullButton = document.getElementById('full');
      muteButton = document.getElementById('mute');
      dpad = document.getElementById('dpad');
      action = document.querySelector('[data-key="action"]');
      start = document.querySelector('[data-key="start"]');
      addEventListener('resize', refit);
      addEventListener('orientationchange', refit);
      if (window.visualViewport) visualViewport.addEventListener('resize', refit);
      addEventListener('pointermove', mouseMoved);
      addEventListener('mousemove', mouseMoved);
      refit();
    }
  };
})();
