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


@contextlib.contextmanager
def served(folder):
    """Serves folder on 127.0.0.1; yields the address (ending in /)."""
    p = subprocess.Popen([sys.executable, SERVER, folder, "--no-open"], stdout=subprocess.PIPE,
                         text=True)
    try:
        line = p.stdout.readline()
        address = next(w for w in line.split() if w.startswith("http://"))
        yield address
    finally:
        p.kill()
        p.wait()


def chromium(width=1280, height=800, lang=None, sound=True):
    """A headless Chromium whose page is width x height CSS pixels."""
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service

    o = webdriver.ChromeOptions()
    o.binary_location = "/usr/bin/chromium"
    for a in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
              "--disable-background-networking", "--disable-component-update", "--disable-sync",
              "--disable-extensions", "--hide-scrollbars", "--force-device-scale-factor=1",
              "--user-data-dir=" + tempfile.mkdtemp(prefix="talmyr-chromium-"),
              "--window-size=%d,%d" % (width, height)]:
        o.add_argument(a)
    if sound:
        o.add_argument("--autoplay-policy=no-user-gesture-required")
    if lang:
        o.add_argument("--lang=" + lang)
        o.add_experimental_option("prefs", {"intl.accept_languages": lang})
    o.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    d = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)
    d.set_script_timeout(600)
    d.set_page_load_timeout(120)
    # the inner size asked for, whatever the window's decorations take
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
    data = d.execute_script(
        "var c = document.getElementById('game');"
        "var x = c.getContext('2d').getImageData(0, 0, 320, 240).data, out = new Array(320 * 240);"
        "for (var i = 0, j = 0; j < out.length; i += 4, j++)"
        "  out[j] = (x[i] >> 3) << 11 | (x[i + 1] >> 2) << 5 | x[i + 2] >> 3;"
        "return out;")
    return data


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


MATCH_JS = """
window.talmyrWants = arguments[0];
window.talmyrRows = arguments[1];
window.talmyrMatch = function () {
  var c = document.getElementById('game');
  var x = c.getContext('2d').getImageData(0, 0, 320, 240).data;
  var rows = window.talmyrRows;
  for (var k = 0; k < talmyrWants.length; k++) {
    var w = talmyrWants[k], same = true;
    for (var j = rows[0] * 320; j < rows[1] * 320 && same; j++) {
      var i = 4 * j;
      same = ((x[i] >> 3) << 11 | (x[i + 1] >> 2) << 5 | x[i + 2] >> 3) === w[j];
    }
    if (same) return k;
  }
  return -1;
};
"""


def expect(d, pictures, timeout=30.0, rows=(0, 240)):
    """Waits until the canvas (rows[0] to rows[1]) equals one of pictures; its index, or -1."""
    d.execute_script(MATCH_JS, pictures, list(rows))
    end = time.time() + timeout
    while time.time() < end:
        k = d.execute_script("return talmyrMatch()")
        if k >= 0:
            return k
        time.sleep(0.02)
    return -1


def tap(d, key, picture=None):
    """Presses key and holds it until the canvas leaves picture (at most a second), as a player's
    finger does: long enough for the game to see it, too short for a second step."""
    from selenium.webdriver.common.action_chains import ActionChains
    ActionChains(d).key_down(key).perform()
    if picture is not None:
        d.execute_script(MATCH_JS, [picture], [0, 240])
        end = time.time() + 1.0
        while time.time() < end and d.execute_script("return talmyrMatch()") == 0:
            time.sleep(0.01)
    else:
        time.sleep(0.15)
    ActionChains(d).key_up(key).perform()
