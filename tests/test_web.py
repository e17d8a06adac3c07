"""The page in headless Chromium: the same game as the desktop's, pixel for pixel.

usage: test_web.py BUILD [story|keys|engines|touch|ratios|kept|hidden|app|page ...]

story: the page's test build plays the recorded story (virtual clock, FR and EN): transcript and
pictures as the desktop's references. keys: the real page, played by keys, shows at each moment
what `moments` draws. engines: the same in WebKit and Gecko. touch: the same on a phone by touch alone, and the controls. ratios: the
picture sharp at every pixel ratio. hidden: a hidden tab sleeps. app: installable, offline, a
new build replacing the kept files. kept: kept on a change of map, a hidden tab, a closed page; continued.
page: size and place, language, keys kept from scrolling, a gamepad, the music, error messages.
"""
import difflib
import json
import os
import shutil
import sys
import tempfile
import time
import wave

from selenium.common.exceptions import WebDriverException
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
        for page in ("victory", "game over"):  # the page's own storage, as the browser has it
            offered, left = report["forgotten"].get(page, [False, ["no report"]])
            check(offered and not left, "a game kept in the page, continued, then the %s: "
                  "the browser keeps nothing (%s)" % (page, left))
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


KEYS = {"Enter": Keys.ENTER, " ": Keys.SPACE, "ArrowLeft": Keys.ARROW_LEFT,
        "ArrowUp": Keys.ARROW_UP, "ArrowRight": Keys.ARROW_RIGHT, "ArrowDown": Keys.ARROW_DOWN}
CONTROLS = {"Enter": "start", " ": "action", "ArrowLeft": "left", "ArrowUp": "up",
            "ArrowRight": "right", "ArrowDown": "down"}


def moments(build, lang):
    """The desktop's moments of the key test: [(file, name, key)] and their pictures."""
    import subprocess
    folder = os.path.join(build, "web-moments", lang)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy",
               XDG_CONFIG_HOME=os.path.join(build, "test-config"))
    r = subprocess.run([os.path.join(build, "tests", "moments"), folder, lang], env=env,
                       capture_output=True, text=True)
    if not check(r.returncode == 0, "%s: the desktop drew the moments %s" % (lang, r.stderr)):
        return None, None
    script = [line.rstrip("\n").split("\t")
              for line in open(os.path.join(folder, "moments.txt"))]
    pics = {f: web.png565(os.path.join(folder, f)) for f, _, _ in script}
    check(pics[script[0][0]] == ref565("title.en" if lang == "en" else "title"),
          "%s: the moments' title is the reference's" % lang)
    return script, pics


def play(d, what, script, pics, press, out):
    """Plays the moments on the page with press(key, *pictures); the canvas must equal the
    desktop's picture at each."""
    intro = [pics[f] for f, name, _ in script if name == "intro"]
    # The page may rest while the game only waits for the player, until a key, a touch or a pad
    # wakes it: made a minute long, a wake missed or a rest taken while the game would move on
    # by itself stops the play here.
    if check(web.expect(d, [pics[script[0][0]]], timeout=30) == 0, "%s: the title menu" % what):
        d.execute_script("Module.talmyrRest.longest = 60000")
    i = 0
    while i < len(script):
        f, name, key = script[i]
        if name == "intro":  # met wherever it has got to
            k = web.expect(d, intro, timeout=15)
            check(k >= 0, "%s: the intro's frame %d is the desktop's" % (what, k))
            while i < len(script) and script[i][1] == "intro":
                i += 1
            press("Enter", *intro)  # held while the intro scrolls on
            continue
        if not check(web.expect(d, [pics[f]]) == 0, "%s: %s as the desktop draws it"
                     % (what, name)):
            web.save565(os.path.join(out, "keys-%s-%s.png" % (what.replace(" ", "-"), name)),
                        web.canvas565(d))
            return False
        press(key, pics[f])
        if name == "duel":  # every turn the dragon attack, until the vagrant speaks
            web.fight(d, pics[f], pics[script[i + 1][0]], lambda: press(" "))
        i += 1
    return True


# A stand-in gamepad of the standard layout: each key by its d-pad or by its left stick.
PAD_DPAD = {"Enter": "buttons[9].pressed = true", " ": "buttons[0].pressed = true",
            "ArrowUp": "buttons[12].pressed = true", "ArrowDown": "buttons[13].pressed = true",
            "ArrowLeft": "buttons[14].pressed = true", "ArrowRight": "buttons[15].pressed = true"}
PAD_STICK = dict(PAD_DPAD, ArrowUp="axes[1] = -1", ArrowDown="axes[1] = 0.9",
                 ArrowLeft="axes[0] = -0.9", ArrowRight="axes[0] = 1")


def pad_tap(d, how, key, *pictures):
    web.hold(d, lambda: d.execute_script("talmyrPad." + how[key]),
             lambda: d.execute_script("talmyrPad.buttons.forEach(function (b) {"
                                      " b.pressed = false; }); talmyrPad.axes = [0, 0, 0, 0];"),
             *pictures)


def test_keys(build, out):
    """The key path played by the keyboard in French and English, and by a gamepad's d-pad and
    face buttons, then by its stick."""
    for lang, by in (("fr", "keys"), ("en", "keys"), ("fr", "d-pad"), ("en", "stick")):
        script, pics = moments(build, lang)
        if script:
            with web.served(os.path.join(build, "web")) as address, web.browser() as d:
                d.get(address + "?lang=" + lang)
                if by == "keys":
                    press = lambda key, *p: web.tap(d, KEYS[key], *p)  # noqa: E731
                else:
                    web.expect(d, [pics[script[0][0]]], timeout=30)
                    if by == "stick":  # a key first: pads unwatched until the page shows again
                        ActionChains(d).send_keys("x").perform()
                        hide(d)()
                    d.execute_script(PAD)
                    how = PAD_DPAD if by == "d-pad" else PAD_STICK
                    press = lambda key, *p: pad_tap(d, how, key, *p)  # noqa: E731
                play(d, "%s by %s" % (lang, by) if by != "keys" else lang, script, pics, press, out)


def test_engines(build, out):
    """The key test in the two other engines: WebKit (Safari's, every iPhone browser's) and Gecko
    (Firefox's), in both languages, each moment as the desktop draws it."""
    import support_engines as engines
    for lang in ("fr", "en"):
        script, pics = moments(build, lang)
        if not script:
            continue
        for name, browser in (("WebKit", engines.webkit), ("Gecko", engines.firefox)):
            with web.served(os.path.join(build, "web")) as address, browser() as d:
                d.get(address + "?lang=" + lang)
                play(d, "%s, %s" % (name, lang), script, pics,
                     lambda key, *p: web.tap(d, KEYS[key], *p), out)


CONTROLS_BOXES = """var r = function (el) { var b = el.getBoundingClientRect();
  return [b.left, b.top, b.width, b.height, el.getAttribute('aria-label') || '',
          getComputedStyle(el).display !== 'none' && getComputedStyle(el).visibility !== 'hidden']; };
var s = getComputedStyle(document.getElementById('safe'));
return { picture: r(document.getElementById('game')), ratio: devicePixelRatio,
  view: [innerWidth, innerHeight], safe: [s.paddingTop, s.paddingRight, s.paddingBottom, s.paddingLeft],
  controls: Array.from(document.querySelectorAll('#controls [data-key], #mute, #full'))
    .map(function (el) { return [el.getAttribute('data-key') || el.id].concat(r(el)); }) };"""


def overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def check_controls(d, what, portrait, scale):
    """The controls: each found by its data-key or id, named, thumb-sized, inside the viewport
    and its safe area, none on another; in portrait none on the picture."""
    box = web.wait_for(d, "if (getComputedStyle(document.getElementById('controls')).display"
                       " === 'none') return null;" + CONTROLS_BOXES, timeout=10)
    if not check(bool(box), "%s: the controls are shown for a touch screen" % what):
        return
    pic, (vw, vh) = box["picture"], box["view"]
    check(round(pic[2] * box["ratio"]) == 320 * scale and round(pic[3] * box["ratio"]) == 240 * scale,
          "%s: the picture at %dx device pixels (%s)" % (what, scale, pic[:4]))
    names = sorted(c[0] for c in box["controls"])
    check(names == ["action", "down", "full", "left", "mute", "right", "start", "up"],
          "%s: every control found (%s)" % (what, names))
    safe = [float(v.rstrip("px") or 0) for v in box["safe"]]
    bad = [c[0] for c in box["controls"] if not c[6] or not c[5] or min(c[3], c[4]) < 47.5
           or c[1] < safe[3] or c[2] < safe[0] or c[1] + c[3] > vw - safe[1]
           or c[2] + c[4] > vh - safe[2]]
    check(not bad, "%s: each shown, named, thumb-sized, in the viewport's safe area %s" % (what, bad))
    pads = ("up", "down", "left", "right")
    clash = [(a[0], b[0]) for a in box["controls"] for b in box["controls"]
             if a[0] < b[0] and not (a[0] in pads and b[0] in pads) and overlap(a[1:5], b[1:5])]
    check(not clash, "%s: no control on another %s" % (what, clash))
    if portrait:
        on = [c[0] for c in box["controls"] if overlap(c[1:5], pic)]
        check(not on, "%s: no control on the picture %s" % (what, on))


# A finger's tap on a control, down and up in one turn of the page: the game cannot look between.
# One finger's touches on a control (arguments: its data-key, the touches), all in one task: no
# look of the game between them.
TOUCHES = """var el = document.querySelector('#controls [data-key="' + arguments[0] + '"]');
var r = el.getBoundingClientRect(), t = new Touch({ identifier: 7, target: el,
  clientX: r.left + r.width / 2, clientY: r.top + r.height / 2 });
arguments[1].forEach(function (type) {
  var up = type === 'touchend';
  el.dispatchEvent(new TouchEvent(type, { bubbles: true, cancelable: true, changedTouches: [t],
    touches: up ? [] : [t], targetTouches: up ? [] : [t] })); });"""
INSTANT = ["touchstart", "touchend"]


def check_fingers(d, what):
    """Two fingers together, a slide across the d-pad, and fingers the page loses sight of."""
    at = {k: web.centre(d, '#controls [data-key="%s"]' % k) for k in CONTROLS.values()}
    mid = web.centre(d, "#dpad")

    def seen(bits, script="return Module.talmyrTouch.seen"):  # what the game last read
        end = time.time() + 2
        while True:
            got = d.execute_script(script)
            if got == bits or time.time() > end:
                return got
            time.sleep(0.01)

    steps = (("touchStart", [(0, at["right"])], 0x10, "a finger on the d-pad's right"),
             ("touchStart", [(0, at["right"]), (1, at["action"])], 0x11, "another on the action"),
             ("touchEnd", [(1, at["action"])], 0x10, "the second lifted"),
             ("touchMove", [(0, at["up"])], 0x08, "the first slid up"),
             ("touchMove", [(0, mid)], 0x00, "into the centre"),
             ("touchMove", [(0, at["left"])], 0x04, "on to the left"),
             ("touchCancel", [], 0x00, "a touchcancel"))
    for kind, points, bits, step in steps:
        web.fingers(d, kind, points)
        got = seen(bits)
        check(got == bits, "%s: %s: the game sees %#x (%s)" % (what, step, bits, got))
    web.fingers(d, "touchStart", [(0, at["down"])])
    seen(0x20)
    show = hide(d)
    held = d.execute_script("return Module.talmyrTouch.held")
    show()
    check(held == 0 and seen(0) == 0, "%s: the page hidden lets go of a held d-pad" % what)
    web.fingers(d, "touchEnd")
    return seen


def check_gestures(d, what):
    """No zoom, selection, menu or tap flash anywhere: pinches, the computed styles, contextmenu."""
    pic, ctl = web.centre(d, "#game"), web.centre(d, '#controls [data-key="start"]')
    margin = (pic[0], (pic[1] + ctl[1]) / 2) if d.execute_script(
        "return innerHeight > innerWidth") else (8, 8)
    for where, (x, y) in (("the picture", pic), ("a margin", margin)):
        web.fingers(d, "touchStart", [(0, (x - 5, y)), (1, (x + 5, y))])
        for k in range(1, 8):
            web.fingers(d, "touchMove", [(0, (x - 5 - 12 * k, y)), (1, (x + 5 + 12 * k, y))])
        web.fingers(d, "touchEnd")
        time.sleep(0.3)
        scale = d.execute_script("return visualViewport.scale")
        check(scale == 1, "%s: a pinch on %s zooms nothing (%s)" % (what, where, scale))
    styles = d.execute_script(
        "return ['html', 'body', '#game', '#dpad', '#controls [data-key]', '#mute', '#full']"
        ".map(function (q) { var el = document.querySelector(q), s = getComputedStyle(el);"
        "  var e = new MouseEvent('contextmenu', {bubbles: true, cancelable: true});"
        "  el.dispatchEvent(e);"
        "  return [q, s.touchAction, s.userSelect || s.webkitUserSelect,"
        "          s.webkitTouchCallout || s.getPropertyValue('-webkit-touch-callout') || 'none',"
        "          e.defaultPrevented]; })")
    bad = [s for s in styles if s[1:] != ["none", "none", "none", True]]
    check(not bad, "%s: no zoom, selection, callout or menu anywhere %s" % (what, bad))


def test_touch(build, out):
    """A phone, by touch alone, in portrait and landscape, French and English: the key test's
    path against the desktop's moments, and what the controls do."""
    for lang in ("fr", "en"):
        script, pics = moments(build, lang)
        if not script:
            continue
        for w, h, scale in ((390, 844, 3), (844, 390, 4)):
            what = "%s, phone %dx%d" % (lang, w, h)
            with web.served(os.path.join(build, "web")) as address, \
                    web.browser(width=w, height=h, ratio=3.0) as d:
                d.get(address + "?lang=" + lang)
                web.expect(d, [pics[script[0][0]]], timeout=30)
                check_controls(d, what, h > w, scale)
                if lang == "fr":
                    check_gestures(d, what)
                if not play(d, what, script, pics,
                            lambda key, *p: web.touch_tap(d, CONTROLS[key], *p), out):
                    continue
                delays = sorted(d.execute_script("return Module.talmyrTouch.delays"))
                print("  from a touch to the game seeing it: median %.1f ms, longest %.1f ms"
                      % (delays[len(delays) // 2], delays[-1]))
                if lang == "fr" and h > w:
                    # taps ended before the game looks again: each still seen once
                    time.sleep(1.0)  # the last step ended: the hero stands
                    standing = web.canvas565(d)
                    web.expect(d, [standing])
                    d.execute_script(TOUCHES, "start", INSTANT)  # the information page
                    opened = web.wait_for(d, "return talmyrMatch() < 0 || null", timeout=3)
                    d.execute_script(TOUCHES, "action", INSTANT)
                    closed = web.expect(d, [standing], timeout=3) == 0
                    check(opened and closed, "%s: taps shorter than a frame open the information "
                          "page and close it (%s, %s)" % (what, opened, closed))
                    d.execute_script(TOUCHES, "action", ["touchstart"])  # the hero speaks
                    said = web.wait_for(d, "return talmyrMatch() < 0 || null", timeout=3)
                    time.sleep(0.5)  # the game has seen the finger held, and rests on the line
                    web.expect(d, [web.canvas565(d)], timeout=1)
                    d.execute_script(TOUCHES, "action", ["touchend", "touchstart"])
                    passed = web.wait_for(d, "return talmyrMatch() < 0 || null", timeout=3)
                    d.execute_script(TOUCHES, "action", ["touchend"])
                    check(said and passed, "%s: a finger lifted and put down again between two "
                          "looks of the game passes the line it holds (%s, %s)"
                          % (what, said, passed))
                    seen = check_fingers(d, what)
                    for label, volume in (("Remettre la musique", 0), ("Couper la musique", 1)):
                        web.fingers(d, "touchStart", [(0, web.centre(d, "#mute"))])
                        web.fingers(d, "touchEnd", [(0, web.centre(d, "#mute"))])
                        got = web.wait_for(d, "var a = Module.talmyrAudio, m = document."
                                           "getElementById('mute').getAttribute('aria-label');"
                                           "return m === %r && [a.volume, m]" % label, timeout=3)
                        check(got and got[0] == volume,  # what M does
                              "%s: the music button: %s" % (what, got))
                    ActionChains(d).send_keys("x").perform()  # a real keyboard
                    gone = web.wait_for(d, "return getComputedStyle(document.getElementById("
                                        "'controls')).display === 'none'", timeout=5)
                    check(gone, "%s: a key pressed on a keyboard hides the controls" % what)
                    web.fingers(d, "touchStart", [(0, (20, h - 20))])
                    web.fingers(d, "touchEnd")
                    check_controls(d, what + ", touched again", True, scale)
                    web.fingers(d, "touchStart", [(0, web.centre(d, '[data-key="up"]'))])
                    d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                        "width": h, "height": w, "deviceScaleFactor": 3, "mobile": True,
                        "screenOrientation": {"type": "landscapePrimary", "angle": 90}})
                    check(seen(0, "return Module.talmyrTouch.held") == 0,
                          "%s: turned to landscape, the held d-pad lets go" % what)
                    web.fingers(d, "touchEnd")
                    check_controls(d, what + ", turned", False, 4)


SIZES = ((1280, 800, "a laptop"), (1920, 1080, "a 1080p screen"), (390, 844, "a phone"),
         (844, 390, "a phone turned"), (820, 1180, "a tablet"))
RATIOS = (1, 1.25, 1.5, 1.75, 2, 3)


def test_ratios(build, out):
    """At every pixel ratio and size, without touch: the picture magnified by the largest whole
    number N of device pixels that fits, every game pixel an N x N square of the screen."""
    import base64
    import io
    import numpy as np
    from PIL import Image
    title = np.asarray(ref565("title"), dtype=np.uint32).reshape(240, 320)
    with web.served(os.path.join(build, "web")) as address, web.browser(lang="fr-FR") as d:
        d.get(address + "?lang=fr")
        check(web.expect(d, [ref565("title")], timeout=30) == 0, "ratios: the title menu")
        for w, h, what in SIZES:
            for r in RATIOS:
                n = max(1, min(int(w * r) // 320, int(h * r) // 240))
                d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                    "width": w, "height": h, "deviceScaleFactor": r, "mobile": False})
                d.execute_cdp_cmd("Page.captureScreenshot", {})  # headless draws no frame else
                box = web.wait_for(d, "var b = document.getElementById('game').getBoundingClientRect"
                                   "(), r = devicePixelRatio; return r === %r && Math.round(b.width"
                                   " * r) === %d ? [b.left * r, b.top * r] : null"
                                   % (float(r), 320 * n), timeout=5)
                shot = d.execute_cdp_cmd("Page.captureScreenshot", {})["data"]
                img = np.asarray(Image.open(io.BytesIO(base64.b64decode(shot))).convert("RGB"),
                                 dtype=np.uint32)
                ok = box is not None
                if ok:
                    x, y = round(box[0]), round(box[1])
                    ok = abs(box[0] - x) < 0.02 and abs(box[1] - y) < 0.02
                    block = img[y:y + 240 * n, x:x + 320 * n]
                    ok = ok and block.shape[:2] == (240 * n, 320 * n)
                    if ok:
                        px = (block[..., 0] >> 3) << 11 | (block[..., 1] >> 2) << 5 | block[..., 2] >> 3
                        squares = px.reshape(240, n, 320, n)
                        ok = bool((squares == title[:, None, :, None]).all())
                if not check(ok, "%s (%dx%d) at %g: every game pixel a %dx%d square of the "
                             "screen (before: %g)" % (what, w, h, r, n, n,
                                                      max(1, min(w // 320, h // 240)) * r)):
                    Image.fromarray(img.astype(np.uint8)).save(
                        os.path.join(out, "ratio-%dx%d-%g.png" % (w, h, r)))


def hide(d):
    """Hides the page as another tab does; returns the function that shows it again."""
    mine = next(t["targetId"] for t in d.execute_cdp_cmd("Target.getTargets", {})["targetInfos"]
                if t["type"] == "page")
    other = d.execute_cdp_cmd("Target.createTarget", {"url": "about:blank"})["targetId"]

    def show():
        d.execute_cdp_cmd("Target.activateTarget", {"targetId": mine})
        d.execute_cdp_cmd("Target.closeTarget", {"targetId": other})
    return show


def test_hidden(build, out):
    """A hidden tab: no frame drawn, the clock still, the music suspended; shown again, the intro
    goes on from the line it had reached."""
    script, pics = moments(build, "fr")
    if not script:
        return
    intro = [pics[f] for f, name, _ in script if name == "intro"]
    clock = "return Module.talmyrClock.now()"
    with web.served(os.path.join(build, "web")) as address, web.browser() as d:
        d.get(address + "?lang=fr")
        web.expect(d, [pics[script[0][0]]], timeout=30)
        web.tap(d, Keys.ENTER, pics[script[0][0]])
        web.expect(d, intro[8:], timeout=10)
        # frames drawn, and the game's looks at its input (one each turn of its loop)
        d.execute_script("window.talmyrFrames = 0; var show = Module.talmyrShow;"
                         "Module.talmyrShow = function (a, w, h) { talmyrFrames++; show(a, w, h); };"
                         "window.talmyrLooks = 0; var t = Module.talmyrTouch, seen = t.seen;"
                         "Object.defineProperty(t, 'seen', { get: function () { return seen; },"
                         " set: function (v) { talmyrLooks++; seen = v; } });")
        show = hide(d)
        at = web.expect(d, intro, timeout=1)
        count = "return [talmyrFrames, talmyrLooks, Module.talmyrClock.now()]"
        drawn, looked, t0 = d.execute_script(count)
        time.sleep(2)
        frames, looks, t1 = d.execute_script(count)
        check(frames == drawn and looks - looked <= 1 and t1 == t0,
              "hidden: no frame drawn (%d), the game asleep (%d looks at its keys), the clock "
              "still (%.0f ms)" % (frames - drawn, looks - looked, t1 - t0))
        show()
        back = web.expect(d, intro[at:at + 3], timeout=2)
        check(at >= 0 and back >= 0, "hidden: shown again, the intro goes on from its frame %d "
              "(%d frames later)" % (at, back))
        web.tap(d, Keys.ENTER, *intro)  # the island: its music, once a key has let sound start
        music = "var a = Module.talmyrAudio; return a && a.wanted === 0 && a.ctx.state"
        playing = web.wait_for(d, music + " === 'running'", timeout=10)
        show = hide(d)
        asleep = web.wait_for(d, music + " === 'suspended'", timeout=3)
        show()
        woken = web.wait_for(d, music + " === 'running'", timeout=3)
        check(playing and asleep and woken, "hidden: the music suspended while hidden, then back")


KEPT_FILES = """var done = arguments[0];
Promise.all([caches.keys(), navigator.serviceWorker.getRegistration()]).then(function (r) {
  done([r[0], !!navigator.serviceWorker.controller, window.talmyrBuild.version,
        performance.getEntriesByType('resource').map(function (e) { return e.name; })
          .filter(function (n) { return /talmyr\\.(js|wasm)/.test(n); })]);
}).catch(function (e) { done(String(e)); });"""


def test_app(build, out):
    """The page as an app: installable; after a first visit it starts offline; a new build
    replaces the kept files as a whole from the next load; two copies of the page in two folders
    keep their own; refused storage changes nothing."""
    import subprocess
    title = ref565("title")
    root = tempfile.mkdtemp(prefix="talmyr-app-")
    for copy in ("a", "b"):
        shutil.copytree(os.path.join(build, "web"), os.path.join(root, copy))

    def kept(d, sets):  # the sets kept (folder: build) and only those; the page controlled
        state, end = None, time.time() + 20
        while time.time() < end:
            state = d.execute_async_script(KEPT_FILES)
            mine = sorted(n.split(":")[-1] + "/" + n.split("/")[-2] for n in state[0]
                          if n.startswith("talmyr:"))
            if state[1] and mine == sorted("%s/%s" % (v, f) for f, v in sets.items()):
                return state
            time.sleep(0.2)
        return None

    with web.served(root) as address, web.browser() as d:
        d.get(address + "a/?lang=fr")
        first = d.execute_script("return talmyrBuild.version")
        check(web.expect(d, [title], timeout=30) == 0 and kept(d, {"a": first}) is not None,
              "app: after the first visit, the page's files are kept (build %s)" % first)
        errors = d.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
        manifest = d.execute_cdp_cmd("Page.getAppManifest", {})
        shown = json.loads(manifest.get("data") or "{}").get("display")
        check(not errors and shown in ("fullscreen", "standalone"),
              "app: Chromium finds the page installable, to open without the browser's bars "
              "(%s, %s)" % (errors, shown))
        d.execute_cdp_cmd("Network.enable", {})
        d.execute_cdp_cmd("Network.emulateNetworkConditions", {
            "offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
        try:
            d.get(address + "a/?lang=fr")
            offline = web.expect(d, [title], timeout=30) == 0
        except WebDriverException:  # the browser's own page: no connection
            offline = False
        check(offline, "app: reloaded offline, the game starts")
        d.execute_cdp_cmd("Network.emulateNetworkConditions", {
            "offline": False, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
        d.get(address + "b/?lang=fr")
        web.expect(d, [title], timeout=30)
        check(kept(d, {"a": first, "b": first}) is not None,
              "app: the copy in another folder keeps its own set beside the first's")
        # a new build on the host: the next load still runs the kept one whole, while the new
        # set is fetched; the load after runs the new one whole; the other copy's set stays
        src = tempfile.mkdtemp(prefix="talmyr-src-")
        shutil.copytree(os.path.join(web.ROOT, "platform", "web"), src, dirs_exist_ok=True)
        with open(os.path.join(src, "page_layout.js"), "a") as f:
            f.write("// another build\n")
        subprocess.run(["/usr/bin/python3", os.path.join(web.ROOT, "tools", "web_page.py"), src,
                        os.path.join(root, "a")], check=True)
        d.get(address + "a/?lang=fr")
        web.expect(d, [title], timeout=30)
        during = d.execute_script("return talmyrBuild.version")
        second = open(os.path.join(root, "a", "sw.js")).read().split("VERSION = '")[1][:16]
        state = kept(d, {"a": second, "b": first})
        d.get(address + "a/?lang=fr")
        started = web.expect(d, [title], timeout=30) == 0
        after = d.execute_async_script(KEPT_FILES)
        same = all(n.endswith("?v=" + after[2]) for n in after[3]) and len(after[3]) == 2
        check(during == first and state is not None and after[2] == second and started and same,
              "app: a new build is kept whole, used from the next load, the other copy's set "
              "left (%s, then %s: %s)" % (during, after[2], after[3]))
        shutil.rmtree(src, ignore_errors=True)
    # cookies and site data refused: no kept files, the page starts all the same
    with web.served(root) as address, web.browser(
            prefs={"profile.default_content_setting_values.cookies": 2}) as d:
        d.get(address + "b/?lang=fr")
        check(web.expect(d, [title], timeout=30) == 0, "app: cookies refused, the game starts")
    shutil.rmtree(root, ignore_errors=True)


def test_kept(build, out):
    """The page keeps the game in the browser's storage at a change of map, when the tab is
    hidden and when the page goes away; opened again, "Continuer" shows the very view left."""
    title, title_kept = ref565("title"), ref565("title_kept")
    kept = "return localStorage.getItem('talmyr.kept-game:/')"

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
        show = hide(d)
        hidden = hero(d.execute_script(kept))
        check(hidden not in (None, entered), "kept: the tab hidden, kept again: %s" % hidden)
        show()
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

    def new_game(d, address):
        d.get(address)
        web.expect(d, [title], timeout=30)
        web.tap(d, Keys.ENTER, title)  # Jouer
        time.sleep(0.5)
        web.tap(d, Keys.ENTER)         # the story skipped: the island

    # two copies of the page in two folders of one site keep a game each; a game kept by an
    # earlier version under one name for the whole site goes to the first copy opened, once
    root = tempfile.mkdtemp(prefix="talmyr-site-")
    for folder in ("a", "b"):
        os.symlink(os.path.join(build, "web"), os.path.join(root, folder))
    item = "return localStorage.getItem(arguments[0])"
    with web.served(root) as address, web.browser() as d:
        new_game(d, address + "a/?lang=fr")
        game = web.wait_for(d, "return localStorage.getItem('talmyr.kept-game:/a/')")
        d.get(address + "a/index.html?lang=fr")
        check(web.expect(d, [title_kept], timeout=30) == 0,
              "kept: the folder's game, whether the address names index.html or not")
        d.get(address + "b/index.html?lang=fr")
        check(web.expect(d, [title], timeout=30) == 0 and game is not None,
              "kept: the copy in another folder has its own, none kept yet")
        d.execute_script("localStorage.setItem('talmyr.kept-game', arguments[0])", game)
        d.get(address + "b/?lang=fr")
        offered = web.expect(d, [title_kept], timeout=30) == 0
        names = [d.execute_script(item, k) is not None for k in
                 ("talmyr.kept-game", "talmyr.kept-game:/b/", "talmyr.kept-game:/a/")]
        check(offered and names == [False, True, True], "kept: a game kept by an earlier version "
              "is offered, moved to this folder's name (%s)" % names)
    shutil.rmtree(root, ignore_errors=True)

    # a browser that refuses to keep anything: the game plays on, and says so once
    with web.served(os.path.join(build, "web")) as address, web.browser() as d:
        d.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
                          "Storage.prototype.setItem = function () {"
                          " throw new DOMException('full', 'QuotaExceededError'); };"})
        new_game(d, address + "?lang=fr")
        note = web.wait_for(d, "var n = document.getElementById('note');"
                            "return getComputedStyle(n).display !== 'none' && n.textContent")
        before = web.canvas565(d)
        web.tap(d, Keys.ARROW_LEFT)
        time.sleep(0.5)
        check(note == "Ce navigateur refuse de garder la partie : elle sera perdue en quittant "
              "la page." and web.canvas565(d) != before,
              "kept: storage refused, one note, and the game goes on (%r)" % note)


AUDIO = """var a = Module.talmyrAudio;
return a.source && a.ctx.state === 'running' && a.tracks.every(function (t) { return t.buffer; })
  ? [a.wanted, a.ctx.sampleRate, a.tracks.map(function (t) { return t.buffer.length; }),
     a.tracks.map(function (t) { return t.buffer.duration; })] : null"""
PAD = """window.talmyrPad = { connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
  buttons: Array.from({ length: 17 }, function () { return { pressed: false }; }) };
Object.defineProperty(navigator, 'getGamepads', { configurable: true,
  value: function () { return [null, window.talmyrPad]; } });
dispatchEvent(new Event('gamepadconnected'));"""


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
                ((800, 600, 2), "de-DE,fr-FR", "", "fr")):
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
                # the full-screen button: in a margin, or, where the picture fills the window,
                # shown while the mouse moves and gone a few seconds after
                full = "var b = document.getElementById('full'), r = b.getBoundingClientRect();" \
                    "return [r.left, r.top, r.width, r.height, getComputedStyle(b).opacity," \
                    " b.getAttribute('aria-label')]"
                button = d.execute_script(full)
                fills = w == 320 * scale and h == 240 * scale
                on = overlap(button[:4], box[:4]) and float(button[4]) > 0
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


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    out = os.path.join(build, "web-actual")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    only = sys.argv[2:] or ["story", "keys", "engines", "touch", "ratios", "kept", "hidden", "app",
                            "page"]
    for name in only:
        print("== " + name, flush=True)
        globals()["test_" + name](build, out)
    print("%d failure(s)" % len(failures) if failures else "all passed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
