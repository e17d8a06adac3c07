"""The page played: the recorded story in the page's test build, the real page by keys, by a
pad's d-pad and stick, and by keys in WebKit and Gecko, each against what the desktop draws."""
import difflib
import os
import shutil
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import support_web as web  # noqa: E402
from support_web import PICTURES, REFS, check, ref565  # noqa: E402


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
                        web.hide(d)()
                    d.execute_script(web.PAD)
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
            # An engine's own process can die under us (WebKitGTK's web process, now and then,
            # under Xvfb): the play is run once more in a fresh browser; a check that failed stays
            # failed, and a second loss of the engine fails the section.
            for attempt in (1, 2):
                try:
                    with web.served(os.path.join(build, "web")) as address, browser() as d:
                        d.get(address + "?lang=" + lang)
                        play(d, "%s, %s" % (name, lang), script, pics,
                             lambda key, *p: web.tap(d, KEYS[key], *p), out)
                    break
                except WebDriverException as e:
                    lost = "%s, %s: the engine went away (%s)" % (
                        name, lang, (e.msg or str(e)).strip().splitlines()[0])
                    if attempt == 2:
                        check(False, lost)
                    else:
                        print("note " + lost + "; played again in a fresh browser", flush=True)
