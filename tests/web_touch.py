"""The page on phones and tablets: played by touch alone, the controls for fingers, and the picture
sharp at every pixel ratio and size."""
import os
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import support_web as web  # noqa: E402
from support_web import check, ref565  # noqa: E402
from web_play import CONTROLS, moments, play  # noqa: E402


CONTROLS_BOXES = """var r = function (el) { var b = el.getBoundingClientRect();
  return [b.left, b.top, b.width, b.height, el.getAttribute('aria-label') || '',
          getComputedStyle(el).display !== 'none' && getComputedStyle(el).visibility !== 'hidden']; };
var s = getComputedStyle(document.getElementById('safe'));
return { picture: r(document.getElementById('game')), ratio: devicePixelRatio,
  view: [innerWidth, innerHeight], safe: [s.paddingTop, s.paddingRight, s.paddingBottom, s.paddingLeft],
  controls: Array.from(document.querySelectorAll('#controls [data-key], #mute, #full'))
    .map(function (el) { return [el.getAttribute('data-key') || el.id].concat(r(el)); }) };"""


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
             if a[0] < b[0] and not (a[0] in pads and b[0] in pads) and web.overlap(a[1:5], b[1:5])]
    check(not clash, "%s: no control on another %s" % (what, clash))
    if portrait:
        on = [c[0] for c in box["controls"] if web.overlap(c[1:5], pic)]
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
    show = web.hide(d)
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
