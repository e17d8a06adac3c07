"""The page in headless Chromium: what it loads, how soon the title menu shows, what each state of
play costs beside floor pages measured in the same run, the game's pace, and how soon a key is
seen.

usage: web.py BUILD [--seconds S] [--rounds R]
BUILD/web is the page (make web), BUILD/web-moments/fr the desktop's moments of the key test
(tests/moments), used to know when the game waits. Prints one line of JSON:
- files: each file of the page with its size and its size compressed by gzip -9;
- startup_ms: from the navigation to the title menu's first frame on the canvas, served from
  127.0.0.1, median of five loads in a fresh browser each;
- cpu: per state and per floor, % of one core, one figure per round: the user and system time of
  every process of that Chromium (/proc) over S seconds of wall time (default 20). Each round is
  a fresh browser that plays from the title menu on, the floors measured between the game's
  states: about:blank alone; the game hidden behind an about:blank tab; a 320x240 canvas shown
  at 960x720 redrawn once a second, and on every frame. The game's music is muted (M), as the
  floors play none, and no pad is watched (the page stops watching at the first key); the title
  menu is measured once more before that key, standing once more with the music;
- pace_ms: the hero's tile (the first pixel of a step to the first pixel of the next, an arrow
  held), a scripted walk's tile and a drained life point, from the times the page put frames on
  the canvas;
- key_ms: from each key pressed while the game rested to the game's look at its keys.
Run with /usr/bin/python3.
"""
import base64
import gzip
import json
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests"))
import support_web as web  # noqa: E402

HZ = os.sysconf("SC_CLK_TCK")

FLOOR = """<!doctype html><html><body style="margin:0;background:#000">
<canvas width="320" height="240" style="display:block;margin:40px auto;width:960px;height:720px;
image-rendering:pixelated"></canvas><script>
var c = document.querySelector('canvas').getContext('2d'), img = c.createImageData(320, 240);
var px = new Uint32Array(img.data.buffer), n = 0;
function draw() { px.fill(0xFF000000 | (n++ * 40503) & 0xFFFFFF); c.putImageData(img, 0, 0); }
%s
</script></body></html>"""
FLOORS = {
    "once a second": FLOOR % "draw(); setInterval(draw, 1000);",
    "every frame": FLOOR % "(function f() { draw(); requestAnimationFrame(f); })();",
    "about:blank": None,
}
# The times the page puts a frame on the canvas, from now on.
FRAMES = """window.talmyrTimes = [];
if (!Module.talmyrTimed) {
  var show = Module.talmyrShow;
  Module.talmyrShow = function (a, w, h) { talmyrTimes.push(performance.now()); show(a, w, h); };
  Module.talmyrTimed = true;
}"""


def chromium_cpu(root):
    """Seconds of CPU used so far by every Chromium process of the browser started under root
    (the ChromeDriver process): only ours, whatever else runs on the machine."""
    parent, times = {}, {}
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            parent[int(pid)] = int(fields[1])
            if os.readlink("/proc/%s/exe" % pid).startswith("/usr/lib/chromium/"):
                times[int(pid)] = (int(fields[11]) + int(fields[12])) / HZ
        except OSError:
            continue
    total = 0.0
    for pid, t in times.items():
        p = pid
        while p > 1 and p != root:
            p = parent.get(p, 0)
        if p == root:
            total += t
    return total


def measure(d, seconds, during=None):
    root = d.service.process.pid
    c0, t0 = chromium_cpu(root), time.monotonic()
    if during:
        during(t0 + seconds)
    else:
        time.sleep(seconds)
    return 100.0 * (chromium_cpu(root) - c0) / (time.monotonic() - t0)


def own_tab(d):
    return next(t["targetId"] for t in d.execute_cdp_cmd("Target.getTargets", {})["targetInfos"]
                if t["type"] == "page")


def floor(d, name, seconds):
    """A floor page in a second tab, in front of the game (hidden, so asleep); then back."""
    html = FLOORS[name]
    url = "data:text/html;base64," + base64.b64encode(html.encode()).decode() if html \
        else "about:blank"
    mine = own_tab(d)
    other = d.execute_cdp_cmd("Target.createTarget", {"url": url})["targetId"]
    time.sleep(2.0)
    cost = measure(d, seconds)
    d.execute_cdp_cmd("Target.activateTarget", {"targetId": mine})
    d.execute_cdp_cmd("Target.closeTarget", {"targetId": other})
    time.sleep(1.0)
    return cost


def one_round(address, pics, seconds, out):
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
    cpu, pace = out["cpu"], out["pace_ms"]

    def note(name, value):
        cpu.setdefault(name, []).append(round(value, 2))

    d = web.chromium(sound=True)

    def hold(key, s):
        ActionChains(d).key_down(key).perform()
        time.sleep(s)
        ActionChains(d).key_up(key).perform()

    def times():
        return d.execute_script("return talmyrTimes")

    try:
        time.sleep(2.0)
        note("about:blank", measure(d, seconds))     # the browser alone
        d.get(address + "?lang=fr")
        web.expect(d, [pics["title"]])
        time.sleep(3.0)
        note("title menu, pads watched", measure(d, seconds))  # as the page starts
        ActionChains(d).send_keys("m").perform()     # the music muted for the whole round, and
        time.sleep(1.5)                              # a key: pads are no longer watched for
        note("title menu", measure(d, seconds))
        note("once a second", floor(d, "once a second", seconds))
        web.tap(d, Keys.ENTER, pics["title"])        # Jouer: the intro scrolls
        time.sleep(1.0)
        hold(Keys.ENTER, 0.2)                        # skipped: the hero stands on the island
        web.expect(d, [pics["island"]])
        time.sleep(1.5)
        note("standing", measure(d, seconds))
        ActionChains(d).send_keys("m").perform()     # with its music
        time.sleep(1.5)
        note("standing, with the music", measure(d, seconds))
        ActionChains(d).send_keys("m").perform()
        note("every frame", floor(d, "every frame", seconds))
        web.tap(d, Keys.ENTER, pics["island"])       # the hero's information page
        web.expect(d, [pics["info"]])
        time.sleep(1.5)
        note("information page", measure(d, seconds))
        web.tap(d, Keys.SPACE, pics["info"])
        web.expect(d, [pics["island"]])
        note("hidden", floor(d, "about:blank", seconds))
        ActionChains(d).key_down(Keys.ARROW_LEFT).perform()   # the ambush: the vagrant talks
        web.expect(d, [pics["ambush-1"]])
        ActionChains(d).key_up(Keys.ARROW_LEFT).perform()
        time.sleep(1.5)
        note("a dialogue waiting", measure(d, seconds))
        for k in range(1, 6):                        # his lines and the hero's, then the duel
            web.expect(d, [pics["ambush-%d" % k]])
            web.tap(d, Keys.SPACE, pics["ambush-%d" % k])
        web.expect(d, [pics["duel"]])
        time.sleep(1.5)
        note("the duel's menu waiting", measure(d, seconds))
        d.execute_script(FRAMES)
        web.tap(d, Keys.SPACE, pics["duel"])         # a blow, then the answer: life drains
        time.sleep(3.0)
        gaps = [b - a for a, b in zip(times(), times()[1:]) if 50 < b - a < 150]
        pace.setdefault("drained point", []).append(statistics.median(gaps))
        web.fight(d, pics["duel"], pics["robbery-1"], lambda: web.tap(d, Keys.SPACE), 120)
        for k in range(1, 4):
            web.expect(d, [pics["robbery-%d" % k]])
            if k == 3:
                d.execute_script(FRAMES)
            web.tap(d, Keys.SPACE, pics["robbery-%d" % k])
        web.expect(d, [pics["robbed"]], timeout=15)  # the vagrant has walked away
        t = times()
        walk = [t[k + 32] - t[k] for k in range(len(t) - 32) if t[k + 32] - t[k] < 900]
        pace.setdefault("tile of a scripted walk", []).append(statistics.median(walk))
        time.sleep(1.0)
        d.execute_script(FRAMES)                     # four tiles east, the arrow held
        ActionChains(d).key_down(Keys.ARROW_RIGHT).perform()
        web.wait_for(d, "return talmyrTimes.length >= 97 || null", timeout=10)
        ActionChains(d).key_up(Keys.ARROW_RIGHT).perform()
        time.sleep(1.0)
        t = times()
        pace.setdefault("hero's tile", []).extend(t[k + 32] - t[k] for k in range(0, len(t) - 32, 32))

        def walk_about(until):                       # to and fro: the view scrolls
            while time.monotonic() < until:
                for key in (Keys.ARROW_LEFT, Keys.ARROW_RIGHT):
                    hold(key, 1.2)
                    time.sleep(0.3)
        note("walking", measure(d, seconds, walk_about))
        out["key_ms"].extend(d.execute_script("return Module.talmyrRest.delays"))
    finally:
        d.quit()


def main(argv):
    build = argv[1]
    seconds = float(argv[argv.index("--seconds") + 1]) if "--seconds" in argv else 20.0
    rounds = int(argv[argv.index("--rounds") + 1]) if "--rounds" in argv else 3
    page = os.path.join(build, "web")
    out = {"files": {}, "cpu": {}, "pace_ms": {}, "key_ms": [], "seconds": seconds,
           "rounds": rounds}
    for root, _, names in os.walk(page):
        for name in names:
            data = open(os.path.join(root, name), "rb").read()
            out["files"][os.path.relpath(os.path.join(root, name), page)] = [
                len(data), len(gzip.compress(data, 9))]
    moments = os.path.join(build, "web-moments", "fr")
    pics = {}
    for line in open(os.path.join(moments, "moments.txt")):
        f, name, _ = line.rstrip("\n").split("\t")
        pics.setdefault(name, web.png565(os.path.join(moments, f)))

    with web.served(page) as address:
        starts = []
        for _ in range(5):
            d = web.chromium(sound=False)
            try:
                d.get(address + "?lang=fr")
                starts.append(web.wait_for(d, "return window.talmyrFirstFrameAt", timeout=30))
            finally:
                d.quit()
        out["startup_ms"] = statistics.median(starts)
        out["startup_runs"] = starts
        for _ in range(rounds):
            one_round(address, pics, seconds, out)
    print(json.dumps(out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
