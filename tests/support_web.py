"""Test support for the page: a local server and a headless Chromium driven by Selenium.

The browser is Debian's Chromium with ChromeDriver; it runs with a fresh profile and no network
but 127.0.0.1, as this machine's closed network wants.
"""
import contextlib
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SERVER = os.path.join(ROOT, "tools", "serve_web.py")


REFS = os.path.join(ROOT, "tests", "references")
PICTURES = os.path.join(REFS, "pictures")
failures = []  # every check that failed, for the run's verdict


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def ref565(name):
    return png565(os.path.join(PICTURES, name + ".png"))


def hide(d):
    """Hides the page as another tab does; returns the function that shows it again."""
    mine = next(t["targetId"] for t in d.execute_cdp_cmd("Target.getTargets", {})["targetInfos"]
                if t["type"] == "page")
    other = d.execute_cdp_cmd("Target.createTarget", {"url": "about:blank"})["targetId"]

    def show():
        d.execute_cdp_cmd("Target.activateTarget", {"targetId": mine})
        d.execute_cdp_cmd("Target.closeTarget", {"targetId": other})
    return show


def overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


# A pad the page reads as the Gamepad API's: its buttons and axes are set by the tests.
PAD = """window.talmyrPad = { connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
  buttons: Array.from({ length: 17 }, function () { return { pressed: false }; }) };
Object.defineProperty(navigator, 'getGamepads', { configurable: true,
  value: function () { return [null, window.talmyrPad]; } });
dispatchEvent(new Event('gamepadconnected'));"""


@contextlib.contextmanager
def served(folder, *options):
    """Serves folder on 127.0.0.1 (options: serve_web.py's); yields the address (ending in /)."""
    p = subprocess.Popen([sys.executable, SERVER, folder, "--no-open"] + list(options),
                         stdout=subprocess.PIPE, text=True)
    try:
        line = p.stdout.readline()
        address = next(w for w in line.split() if w.startswith("http://"))
        yield address
    finally:
        p.kill()
        p.wait()


ANDROID = ("Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) "
           "Chrome/120.0.0.0 Mobile Safari/537.36")


def chromium(width=1280, height=800, lang=None, sound=True, ratio=None, prefs=None):
    """A headless Chromium whose page is width x height CSS pixels; with a ratio, a phone's or a
    tablet's touch screen at that many device pixels per CSS pixel."""
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service

    o = webdriver.ChromeOptions()
    o.binary_location = "/usr/bin/chromium"
    for a in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
              "--disable-background-networking", "--disable-component-update", "--disable-sync",
              "--disable-extensions", "--hide-scrollbars",
              "--user-data-dir=" + tempfile.mkdtemp(prefix="talmyr-chromium-")]:
        o.add_argument(a)
    if ratio:
        o.add_experimental_option("mobileEmulation", {"userAgent": ANDROID, "deviceMetrics": {
            "width": width, "height": height, "pixelRatio": ratio, "touch": True}})
    else:
        o.add_argument("--force-device-scale-factor=1")
        o.add_argument("--window-size=%d,%d" % (width, height))
    if sound:
        o.add_argument("--autoplay-policy=no-user-gesture-required")
    prefs = dict(prefs or {})
    if lang:
        o.add_argument("--lang=" + lang.split(",")[0])
        prefs["intl.accept_languages"] = lang
    if prefs:
        o.add_experimental_option("prefs", prefs)
    o.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    d = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)
    d.set_script_timeout(600)
    d.set_page_load_timeout(120)
    if not ratio:  # the inner size asked for, whatever the window's decorations take
        inner = d.execute_script("return [innerWidth, innerHeight]")
        d.set_window_size(width + width - inner[0], height + height - inner[1])
    return d


@contextlib.contextmanager
def browser(**options):
    """chromium(**options) without sound, quit at the end."""
    d = chromium(sound=False, **options)
    try:
        yield d
    finally:
        d.quit()


def wait_for(d, script, timeout=30.0, every=0.05):
    """Runs script until it returns something true; returns that, or None after timeout."""
    end = time.time() + timeout
    while True:
        v = d.execute_script(script)
        if v or time.time() > end:
            return v
        time.sleep(every)


def canvas565(d):
    """The game's canvas (320x240), each pixel cut to 5-6-5, as a list."""
    return d.execute_script(
        "var c = document.getElementById('game');"
        "var x = c.getContext('2d').getImageData(0, 0, 320, 240).data, out = new Array(320 * 240);"
        "for (var i = 0, j = 0; j < out.length; i += 4, j++)"
        "  out[j] = (x[i] >> 3) << 11 | (x[i + 1] >> 2) << 5 | x[i + 2] >> 3;"
        "return out;")


def png565(path):
    """A PNG's pixels cut to 5-6-5, as a list."""
    from PIL import Image
    im = Image.open(path).convert("RGB")
    return [(r >> 3) << 11 | (g >> 2) << 5 | b >> 3 for r, g, b in im.getdata()]


def save565(path, px):
    from PIL import Image
    im = Image.new("RGB", (320, 240))
    im.putdata([((p >> 11) << 3 | (p >> 11) >> 2, ((p >> 5) & 63) << 2 | ((p >> 5) & 63) >> 4,
                 (p & 31) << 3 | (p & 31) >> 2) for p in px])
    im.save(path)


# Rows of a picture are matched by one number: the sum of each pixel (5-6-5) times a power of an
# odd number, mod 2**32, so one pixel changed always changes it. Only numbers cross to the page.
HASH_STEP = 0x01000193
MATCH_JS = """
window.talmyrWants = arguments[0];
window.talmyrRows = arguments[1];
window.talmyrMatch = function () {
  var x = document.getElementById('game').getContext('2d').getImageData(0, 0, 320, 240).data;
  var h = 0, w = %d;
  for (var j = talmyrRows[0] * 320; j < talmyrRows[1] * 320; j++) {
    var i = 4 * j;
    h = (h + Math.imul((x[i] >> 3) << 11 | (x[i + 1] >> 2) << 5 | x[i + 2] >> 3, w)) >>> 0;
    w = Math.imul(w, %d);
  }
  return talmyrWants.indexOf(h);
};
""" % (HASH_STEP, HASH_STEP)


def hash565(px, rows=(0, 240)):
    """The number MATCH_JS reckons for these rows of a picture."""
    import numpy as np
    v = np.asarray(px[rows[0] * 320:rows[1] * 320], dtype=np.uint64)
    w = np.cumprod(np.full(len(v), HASH_STEP, np.uint64)) & np.uint64(0xFFFFFFFF)  # k, k*k...
    return int((v * w).sum(dtype=np.uint64)) & 0xFFFFFFFF  # uint64 wraps: 2**32 divides 2**64


def expect(d, pictures, timeout=30.0, rows=(0, 240)):
    """Waits until the canvas (rows[0] to rows[1]) equals one of pictures; its index, or -1."""
    d.execute_script(MATCH_JS, [hash565(p, rows) for p in pictures], list(rows))
    k = wait_for(d, "var k = talmyrMatch(); return k >= 0 ? [k] : null", timeout, every=0.02)
    return k[0] if k else -1


def hold(d, press, release, *pictures):
    """press(), held while the canvas shows one of pictures (at most a second), then release(),
    as a player's finger does: long enough for the game to see it, too short for a second step.
    A screen that moves by itself, as the intro, is given all its frames."""
    press()
    if pictures:
        d.execute_script(MATCH_JS, [hash565(p) for p in pictures], [0, 240])
        wait_for(d, "return talmyrMatch() < 0", timeout=1.0, every=0.01)
    else:
        time.sleep(0.15)
    release()


def tap(d, key, *pictures):
    """A key of the keyboard, held as hold says."""
    from selenium.webdriver.common.action_chains import ActionChains
    down = getattr(d, "key_down", lambda k: ActionChains(d).key_down(k).perform())
    up = getattr(d, "key_up", lambda k: ActionChains(d).key_up(k).perform())
    hold(d, lambda: down(key), lambda: up(key), *pictures)


def fight(d, duel, after, strike, timeout=90.0):
    """Strikes each time the duel's menu waits (the rows below the bars as duel's, no message at
    the bottom: a press during the defeat's message would pass the next line), until after shows."""
    end = time.time() + timeout
    while time.time() < end and expect(d, [after], timeout=0.2) != 0:
        if expect(d, [duel], timeout=0.2, rows=(112, 240)) == 0:
            strike()


# Fingers: touch points in CSS pixels of the viewport, sent as the touch screen sends them.
def fingers(d, kind, points=()):
    """Touch points (id, (x, y)); touchEnd lifts the fingers it names, or every finger."""
    d.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": [
        {"x": x, "y": y, "id": i} for i, (x, y) in points]})


def centre(d, selector):
    """The middle of the page's element, in CSS pixels."""
    r = d.execute_script("var r = document.querySelector(arguments[0]).getBoundingClientRect();"
                         "return [r.left + r.width / 2, r.top + r.height / 2]", selector)
    return r[0], r[1]


def touch_tap(d, control, *pictures):
    """A finger on the control named by its data-key, held as hold says."""
    at = centre(d, '#controls [data-key="%s"]' % control)
    hold(d, lambda: fingers(d, "touchStart", [(0, at)]), lambda: fingers(d, "touchEnd"),
         *pictures)
