"""The page in headless Chromium: the same game as the desktop's, pixel for pixel.

usage: test_web.py BUILD [story|keys|kept|page ...]

story: the page's test build plays the recorded story (virtual clock, FR and EN): transcript and
pictures as the desktop's references. keys: the real page, played by keys, shows at each moment
what `moments` draws. kept: kept on a change of map, a hidden tab, a closed page; continued.
page: size and place, language, keys kept from scrolling, a gamepad, the music, error messages.
"""
import difflib
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

REFS = os.path.join(web.ROOT, "tests", "references")
PICTURES = os.path.join(REFS, "pictures")
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def ref565(name):
    return web.png565(os.path.join(PICTURES, name + ".png"))


def test_story(build, out):
    with web.served(os.path.join(build, "web-test")) as address, web.browser() as d:
        d.get(address)
        t0 = time.time()
        report = web.wait_for(d, "var r = Module.talmyrReport; return r && r.done ? r : null",
                              timeout=900, every=1.0)
        if not check(report is not None, "the story ran to its end (%.0f s)" % (time.time() - t0)):
            return
        check(not report["errors"], "no abort: %s" % report["errors"])
        check(report["ok"], "every scenario of the story ended by itself")
        for lang, ref in (("fr", "story.txt"), ("en", "story.en.txt")):
            want = open(os.path.join(REFS, ref), encoding="utf-8").read().splitlines()
            got = report["lines"].get(lang, [])
            if got != want:
                with open(os.path.join(out, "story-web.%s.txt" % lang), "w", encoding="utf-8") as f:
                    f.write("\n".join(got) + "\n")
                print("".join(list(difflib.unified_diff(want, got, ref, "page", n=1))[:12]))
            check(got == want, "%s transcript equals %s (%d lines)" % (lang, ref, len(want)))
        refs = {f.split(".")[0] for f in os.listdir(PICTURES)}
        for lang in ("fr", "en"):
            shots, bad = report["pictures"].get(lang, {}), []
            for name, hexa in sorted(shots.items()):
                own = "%s.en" % name
                ref = own if lang == "en" and os.path.exists(os.path.join(PICTURES, own + ".png")) \
                    else name
                px = [int(hexa[i:i + 4], 16) for i in range(0, len(hexa), 4)]
                if not os.path.exists(os.path.join(PICTURES, ref + ".png")) or ref565(ref) != px:
                    bad.append(name)
                    web.save565(os.path.join(out, "story-web-%s.%s.png" % (name, lang)), px)
            check(len(shots) > 0 and set(shots) == refs, "%s: the page took every reference "
                  "picture (%d of %d)" % (lang, len(shots), len(refs)))
            check(not bad, "%s: every picture equals the desktop's reference %s" % (lang, bad))


def test_keys(build, out):
    import subprocess
    keys = {"Enter": Keys.ENTER, " ": Keys.SPACE, "ArrowLeft": Keys.ARROW_LEFT}
    for lang in ("fr", "en"):
        moments = os.path.join(build, "web-moments", lang)
        shutil.rmtree(moments, ignore_errors=True)
        os.makedirs(moments)
        env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=os.path.join(build, "test-config"))
        r = subprocess.run([os.path.join(build, "tests", "moments"), moments, lang], env=env,
                           capture_output=True, text=True)
        if not check(r.returncode == 0, "%s: the desktop drew the moments %s" % (lang, r.stderr)):
            continue
        script = [line.rstrip("\n").split("\t")
                  for line in open(os.path.join(moments, "moments.txt"))]
        pics = {f: web.png565(os.path.join(moments, f)) for f, _, _ in script}
        check(pics[script[0][0]] == ref565("title.en" if lang == "en" else "title"),
              "%s: the moments' title is the reference's" % lang)
        with web.served(os.path.join(build, "web")) as address, web.browser() as d:
            d.get(address + "?lang=" + lang)
            intro = [pics[f] for f, name, _ in script if name == "intro"]
            i = 0
            while i < len(script):
                f, name, key = script[i]
                if name == "intro":  # met wherever it has got to
                    k = web.expect(d, intro, timeout=15)
                    check(k >= 0, "%s: the intro's frame %d is the desktop's" % (lang, k))
                    while i < len(script) and script[i][1] == "intro":
                        i += 1
                    web.tap(d, Keys.ENTER, *intro)  # held while the intro scrolls on
                    continue
                if not check(web.expect(d, [pics[f]]) == 0, "%s: %s as the desktop draws it"
                             % (lang, name)):
                    web.save565(os.path.join(out, "keys-%s-%s.png" % (lang, name)),
                                web.canvas565(d))
                    break
                web.tap(d, keys[key], pics[f])
                if name == "duel":  # every turn the dragon attack, until the vagrant speaks
                    web.fight(d, pics[f], pics[script[i + 1][0]])
                i += 1


def test_kept(build, out):
    """The page keeps the game in the browser's storage at a change of map, when the tab is
    hidden and when the page goes away; opened again, "Continuer" shows the very view left."""
    title, title_kept = ref565("title"), ref565("title_kept")
    kept = "return localStorage.getItem('talmyr.kept-game')"

    def hero(text):
        return next((l for l in (text or "").splitlines() if l.startswith("hero=")), None)

    with web.served(os.path.join(build, "web")) as address, web.browser() as d:
        d.get(address + "?lang=fr")
        check(web.expect(d, [title], timeout=30) == 0, "kept: no game kept, the usual title menu")
        web.tap(d, Keys.ENTER, title)  # Jouer
        time.sleep(0.5)
        web.tap(d, Keys.ENTER)         # the story skipped
        entered = hero(web.wait_for(d, kept, timeout=30))
        check(entered == "hero=ile 17 14 3 0", "kept: kept on entering the island: %s" % entered)
        web.tap(d, Keys.ARROW_LEFT)  # a step west: only a close can keep it now
        time.sleep(1.0)
        d.execute_script("Object.defineProperty(document, 'visibilityState',"
                         " {value: 'hidden', configurable: true});"
                         "document.dispatchEvent(new Event('visibilitychange'))")
        hidden = hero(d.execute_script(kept))
        check(hidden not in (None, entered), "kept: the tab hidden, kept again: %s" % hidden)
        d.execute_script("delete document.visibilityState")
        web.tap(d, Keys.ARROW_LEFT)
        time.sleep(1.0)
        left = web.canvas565(d)
        d.get("about:blank")  # the page goes away
        d.get(address + "?lang=fr")
        closed = hero(d.execute_script(kept))
        check(closed not in (None, hidden), "kept: the page closed, kept as left: %s" % closed)
        if not check(web.expect(d, [title_kept], timeout=30) == 0,
                     "kept: opened again, the title menu offers Continuer first"):
            web.save565(os.path.join(out, "kept-title.png"), web.canvas565(d))
        web.tap(d, Keys.ENTER, title_kept)
        if not check(web.expect(d, [left], timeout=15) == 0,
                     "kept: Continuer shows the view the page was left on"):
            web.save565(os.path.join(out, "kept-continued.png"), web.canvas565(d))
            web.save565(os.path.join(out, "kept-left.png"), left)


AUDIO = """var a = Module.talmyrAudio;
return a.source && a.ctx.state === 'running' && a.tracks.every(function (t) { return t.buffer; })
  ? [a.wanted, a.ctx.sampleRate, a.tracks.map(function (t) { return t.buffer.length; }),
     a.tracks.map(function (t) { return t.buffer.duration; })] : null"""
PAD = """window.talmyrPad = { connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
  buttons: Array.from({ length: 17 }, function () { return { pressed: false }; }) };
Object.defineProperty(navigator, 'getGamepads', { configurable: true,
  value: function () { return [null, window.talmyrPad]; } });
dispatchEvent(new Event('gamepadconnected'));"""


def test_page(build, out):
    title = {"fr": ref565("title"), "en": ref565("title.en")}
    with web.served(os.path.join(build, "web")) as address:
        # the size of the picture, its place, the language, the keys kept from scrolling
        for (w, h, scale), browser_lang, query, lang in (
                ((1280, 800, 3), "fr-FR", "", "fr"), ((1920, 1080, 4), "en-US", "", "en"),
                ((800, 600, 2), "de-DE", "", "en"), ((1280, 800, 3), "en-US", "?lang=fr", "fr")):
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

        # a stand-in gamepad of the standard layout moves through the title menu and the about page
        with web.browser() as d:
            d.get(address + "?lang=fr")
            web.expect(d, [title["fr"]], timeout=20)
            d.execute_script(PAD)
            for press, want, what in (
                    ("buttons[13].pressed = true", "title_about", "the d-pad's down moves it"),
                    ("axes[1] = -1", "title", "the stick's up moves it back"),
                    ("axes[1] = 0.9", "title_about", "the stick's down again"),
                    ("buttons[0].pressed = true", "about", "a face button chooses"),
                    ("buttons[9].pressed = true", "title", "Start leaves the about page")):
                d.execute_script("talmyrPad." + press)
                ok = web.expect(d, [ref565(want)], timeout=10) == 0
                d.execute_script("talmyrPad.buttons.forEach(function (b) { b.pressed = false; });"
                                 "talmyrPad.axes = [0, 0, 0, 0];")
                time.sleep(0.3)
                check(ok, "a gamepad: %s" % what)

    # what the player sees without WebAssembly, or when the program is missing or broken
    for case in ("no WebAssembly", "no wasm", "cut wasm", "not wasm", "no js"):
        folder = tempfile.mkdtemp(prefix="talmyr-web-")
        shutil.copytree(os.path.join(build, "web"), folder, dirs_exist_ok=True)
        wasm = os.path.join(folder, "talmyr.wasm")
        if case == "no wasm":
            os.remove(wasm)
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
            d.get(address + "?lang=en")
            state = web.wait_for(d, "return document.body.getAttribute('data-state')", timeout=20)
            text, shown = d.execute_script(
                "return [document.getElementById('message').textContent,"
                " getComputedStyle(document.getElementById('status')).display]")
            said = "WebAssembly" if case == "no WebAssembly" else "could not be loaded"
            check(state == "error" and said in text and shown != "none",
                  "%s: the page says so: %r" % (case, text))
        shutil.rmtree(folder, ignore_errors=True)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    out = os.path.join(build, "web-actual")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    only = sys.argv[2:] or ["story", "keys", "kept", "page"]
    for name in only:
        print("== " + name, flush=True)
        globals()["test_" + name](build, out)
    print("%d failure(s)" % len(failures) if failures else "all passed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
