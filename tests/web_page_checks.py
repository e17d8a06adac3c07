"""The page around the game: its size and place, its language, keys kept from scrolling, a gamepad,
the music, the loading bar and failures in the page's language."""
import os
import shutil
import sys
import tempfile
import time
import wave

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import support_web as web  # noqa: E402
from support_web import check, ref565  # noqa: E402


AUDIO = """var a = Module.talmyrAudio;
return a.source && a.ctx.state === 'running' && a.tracks.every(function (t) { return t.buffer; })
  ? [a.wanted, a.ctx.sampleRate, a.tracks.map(function (t) { return t.buffer.length; }),
     a.tracks.map(function (t) { return t.buffer.duration; })] : null"""
FULL = {"fr": "Plein écran", "en": "Full screen"}
# Samples the loading bar every 50 ms until the game shows: [width in %, both files in].
LOADING = """var done = arguments[0], out = [], bar = document.querySelector('#bar div');
var t = setInterval(function () {
  var files = performance.getEntriesByType('resource').filter(function (e) {
    return /talmyr\\.(js|wasm)$/.test(e.name); }).length;
  out.push([parseFloat(bar.style.width) || 0, files === 2]);
  if (document.body.getAttribute('data-state') || out.length > 800) { clearInterval(t); done(out); }
}, 50);"""


def test_page(build, out):
    title = {"fr": ref565("title"), "en": ref565("title.en")}
    with web.served(os.path.join(build, "web")) as address:
        # the size of the picture, its place, the language, the keys kept from scrolling
        for (w, h, scale), browser_lang, query, lang in (
                ((1280, 800, 3), "fr-FR", "", "fr"), ((1920, 1080, 4), "en-US", "", "en"),
                ((800, 600, 2), "de-DE", "", "en"), ((960, 720, 3), "en-US", "?lang=fr", "fr"),
                ((800, 600, 2), "de-DE,fr-FR", "", "fr"), ((800, 600, 2), "en-GB,fr-FR", "", "en")):
            with web.browser(width=w, height=h, lang=browser_lang) as d:
                d.get(address + query)
                what = "%dx%d, browser in %s%s" % (w, h, browser_lang, query)
                check(web.expect(d, [title[lang]], timeout=20) == 0,
                      "%s: the title menu in %s" % (what, lang))
                box = d.execute_script(
                    "var c = document.getElementById('game'), r = c.getBoundingClientRect();"
                    "return [r.left, r.top, r.width, r.height, getComputedStyle(c).imageRendering,"
                    " document.documentElement.lang, document.title];")
                want = [(w - 320 * scale) // 2, (h - 240 * scale) // 2, 320 * scale, 240 * scale]
                check(box[:4] == want, "%s: the picture at x%d, centred %s (is %s)"
                      % (what, scale, want, box[:4]))
                check(box[4] == "pixelated", "%s: magnified sharp (%s)" % (what, box[4]))
                check(box[5:] == [lang, "Talmyr demo 2'"], "%s: page in %s, titled (%s)"
                      % (what, lang, box[5:]))
                if browser_lang == "fr-FR":  # F11 and Alt+Return: full screen, never the game's
                    d.execute_script("window.talmyrToggles = 0; talmyrPage.fullscreen.toggle ="
                                     " function () { talmyrToggles++; };")
                    ActionChains(d).send_keys(Keys.F11).key_down(Keys.ALT).send_keys(Keys.ENTER) \
                        .key_up(Keys.ALT).perform()
                    toggles = d.execute_script("return talmyrToggles")
                    time.sleep(0.5)
                    check(toggles == 2 and web.expect(d, [title[lang]], timeout=1) == 0,
                          "%s: F11 and Alt+Return switch full screen (%d), the title menu stays"
                          % (what, toggles))
                # the full-screen button: in a margin, or, where the picture fills the window,
                # shown while the mouse moves and gone a few seconds after
                full = "var b = document.getElementById('full'), r = b.getBoundingClientRect();" \
                    "return [r.left, r.top, r.width, r.height, getComputedStyle(b).opacity," \
                    " b.getAttribute('aria-label')]"
                button = d.execute_script(full)
                fills = w == 320 * scale and h == 240 * scale
                on = web.overlap(button[:4], box[:4]) and float(button[4]) > 0
                check(not on and button[5] == FULL[lang] and (float(button[4]) == 0) == fills,
                      "%s: the full-screen button, %s, %s (%s)" % (
                          what, FULL[lang], "hidden on the picture" if fills else "in a margin",
                          button))
                if fills:
                    ActionChains(d).move_by_offset(100, 100).move_by_offset(5, 5).perform()
                    shown = web.wait_for(d, "return +getComputedStyle(document.getElementById("
                                         "'full')).opacity > 0.5 || null", timeout=2)
                    time.sleep(3.5)
                    gone = float(d.execute_script(full)[4]) == 0
                    check(shown and gone, "%s: the button shows while the mouse moves, then fades"
                          % what)
                d.execute_script("window.talmyrKept = []; addEventListener('keydown',"
                                 " function (e) { talmyrKept.push(e.defaultPrevented); });")
                for k in (Keys.ARROW_DOWN, Keys.SPACE, Keys.ARROW_UP, Keys.PAGE_DOWN):
                    ActionChains(d).send_keys(k).perform()
                scrolled = d.execute_script("return [scrollX, scrollY,"
                                            " document.scrollingElement.scrollTop,"
                                            " talmyrKept.slice(0, 3)]")
                check(scrolled[:3] == [0, 0, 0] and all(scrolled[3]),
                      "%s: arrows and Space kept from the page (%s)" % (what, scrolled))

        # no sound before the first key; the exploration music once the intro is left; each loop
        # decoded to the desktop's length
        with web.browser() as d:
            d.get(address + "?lang=fr")
            web.expect(d, [title["fr"]], timeout=20)
            state = d.execute_script("return Module.talmyrAudio.ctx.state")
            check(state == "suspended", "no sound runs before the first key (%s)" % state)
            for key in (Keys.ENTER, Keys.ENTER):
                ActionChains(d).key_down(key).perform()
                time.sleep(0.3)
                ActionChains(d).key_up(key).perform()
                time.sleep(0.5)
            music = web.wait_for(d, AUDIO, timeout=20)
            if check(music is not None, "the music plays after the intro"):
                wanted, rate, lengths, durations = music
                check(wanted == 0, "the exploration music is the one playing (%d)" % wanted)
                for i, song in enumerate(("un", "battle")):
                    loop = os.path.join(build, "web-music", song + ".loop.wav")
                    frames = wave.open(loop).getnframes()
                    more = (durations[i] - frames / 22050) * 1000
                    print("  %s: loop of %d frames at 22050 Hz; decoded %d at %d Hz: %.3f ms more"
                          % (song, frames, lengths[i], rate, more))
                    check(abs(lengths[i] - frames * rate / 22050.0) <= 1,
                          "%s: its loop decoded to the desktop's length, no gap" % song)
            for want in (0, 1):  # M silences the music, and gives it back
                ActionChains(d).send_keys("m").perform()
                got = web.wait_for(d, "var a = Module.talmyrAudio; return a.volume === %d &&"
                                   " a.gain.gain.value === %d && a.ctx.state === '%s'"
                                   % (want, want, "running" if want else "suspended"), timeout=3)
                check(got, "M: the music's volume %d, the sound %s" % (
                    want, "running" if want else "stopped (silence costs nothing)"))

    # the loading bar over a slow line, from a host that compresses and from one that sends no
    # length: it counts what has arrived, so it moves, and reads full only once all is in
    for option in ("--gzip", "--no-length"):
        with web.served(os.path.join(build, "web"), option) as address, web.browser() as d:
            d.execute_cdp_cmd("Network.enable", {})
            d.execute_cdp_cmd("Network.emulateNetworkConditions", {
                "offline": False, "latency": 20, "downloadThroughput": 300000,
                "uploadThroughput": -1})
            d.get(address + "?lang=fr")
            samples = d.execute_async_script(LOADING)
            bars = [b for b, _ in samples]
            early = [b for b, done in samples if b >= 99.5 and not done]
            # full at most half a second before the files are in (the browser notes a file's end
            # a little after its last bytes)
            check(bars == sorted(bars) and any(10 < b < 90 for b in bars) and len(early) <= 10
                  and bars and bars[-1] == 100, "loading from a host with %s: the bar moves "
                  "with what has arrived (%d samples, %d full too early: %s)"
                  % (option[2:], len(bars), len(early), bars[::max(1, len(bars) // 12)]))

    # what the player sees without WebAssembly, or when the program is missing or broken
    # words in the page's language alone, a button to try again where trying again may help
    said = {"en": "The game could not be loaded (%s).", "fr": "Le jeu n'a pas pu être chargé (%s)."}
    for case, lang, why, retry in (
            ("no WebAssembly", "en", "", None), ("no wasm", "fr", "talmyr.wasm : erreur 404", "Réessayer"),
            ("cut wasm", "en", "talmyr.wasm is damaged", "Try again"),
            ("not wasm", "fr", "talmyr.wasm est endommagé", "Réessayer"),
            ("no js", "en", "talmyr.js: error 404", "Try again"),
            ("no network", "fr", "le réseau n'a pas répondu", "Réessayer")):
        folder = tempfile.mkdtemp(prefix="talmyr-web-")
        shutil.copytree(os.path.join(build, "web"), folder, dirs_exist_ok=True)
        wasm = os.path.join(folder, "talmyr.wasm")
        if case == "no wasm":
            os.rename(wasm, wasm + ".away")
        elif case == "cut wasm":
            data = open(wasm, "rb").read()
            open(wasm, "wb").write(data[:len(data) // 3])
        elif case == "not wasm":
            open(wasm, "wb").write(b"\0asm" + b"\x01\0\0\0" + b"\xff" * 4000)
        elif case == "no js":
            os.remove(os.path.join(folder, "talmyr.js"))
        with web.served(folder) as address, web.browser() as d:
            if case == "no WebAssembly":
                d.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                  {"source": "delete window.WebAssembly;"})
            if case == "no network":
                d.execute_cdp_cmd("Network.enable", {})
                d.execute_cdp_cmd("Network.setBlockedURLs", {"urls": ["*talmyr.wasm"]})
            d.get(address + "?lang=" + lang)
            state = web.wait_for(d, "return document.body.getAttribute('data-state')", timeout=20)
            text, shown, button = d.execute_script(
                "var b = document.getElementById('retry');"
                "return [document.getElementById('message').textContent,"
                " getComputedStyle(document.getElementById('status')).display,"
                " getComputedStyle(b).display !== 'none' ? b.textContent : null]")
            want = said[lang] % why if why else "WebAssembly"
            check(state == "error" and want in text and shown != "none" and button == retry,
                  "%s: the page says so in %s: %r, %r" % (case, lang, text, button))
            if case == "no wasm":  # the file back where it belongs, the button starts the game
                os.rename(wasm + ".away", wasm)
                d.find_element("id", "retry").click()
                check(web.expect(d, [ref565("title")], timeout=30) == 0,
                      "%s: %s starts the game once the file is there" % (case, retry))
        shutil.rmtree(folder, ignore_errors=True)
