"""The page in headless Chromium: what it loads, how soon the title menu shows, and the CPU of
every Chromium process per state of play.

usage: web.py BUILD [--seconds S]
BUILD/web is the page (make web), BUILD/web-moments/fr the desktop's moments of the key test
(tests/moments), used to know when the game waits. Prints one line of JSON:
- files: each file of the page with its size and its size compressed by gzip -9;
- startup_ms: from the navigation to the title menu's first frame on the canvas, served from
  127.0.0.1, median of five loads in a fresh browser each;
- per state, % of one core: the user and system time of every process of that Chromium (/proc)
  over S seconds of wall time (3 s for the drain): the title menu, the intro, standing, a
  dialogue box waiting, the duel's menu waiting, a drain, walking to and fro on the island.
Run with /usr/bin/python3.
"""
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


def main(argv):
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
    build = argv[1]
    seconds = float(argv[argv.index("--seconds") + 1]) if "--seconds" in argv else 10.0
    page = os.path.join(build, "web")
    out = {"files": {}}
    for name in sorted(os.listdir(page)):
        data = open(os.path.join(page, name), "rb").read()
        out["files"][name] = [len(data), len(gzip.compress(data, 9))]
    moments = os.path.join(build, "web-moments", "fr")
    pics = {}
    for line in open(os.path.join(moments, "moments.txt")):
        f, name, _ = line.rstrip("\n").split("\t")
        pics[name] = web.png565(os.path.join(moments, f))

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

        d = web.chromium(sound=True)

        def hold(key, s):
            ActionChains(d).key_down(key).perform()
            time.sleep(s)
            ActionChains(d).key_up(key).perform()

        try:
            d.get(address + "?lang=fr")
            web.expect(d, [pics["title"]])
            time.sleep(1.0)
            out["title"] = measure(d, seconds)
            web.tap(d, Keys.ENTER, pics["title"])        # Jouer: the intro scrolls
            time.sleep(1.0)
            out["intro"] = measure(d, seconds)
            hold(Keys.ENTER, 0.2)                        # skipped: the hero stands on the island
            web.expect(d, [pics["island"]])
            time.sleep(1.0)
            out["standing"] = measure(d, seconds)
            ActionChains(d).key_down(Keys.ARROW_LEFT).perform()   # the ambush: the vagrant talks
            web.expect(d, [pics["ambush-1"]])
            ActionChains(d).key_up(Keys.ARROW_LEFT).perform()
            time.sleep(1.0)
            out["dialogue"] = measure(d, seconds)
            for k in range(1, 6):                        # his lines and the hero's, then the duel
                web.expect(d, [pics["ambush-%d" % k]])
                web.tap(d, Keys.SPACE, pics["ambush-%d" % k])
            web.expect(d, [pics["duel"]])
            time.sleep(1.0)
            out["combat_menu"] = measure(d, seconds)
            web.tap(d, Keys.SPACE, pics["duel"])         # a blow, then the answer: life drains
            out["drain"] = measure(d, min(seconds, 3.0))
            web.fight(d, pics["duel"], pics["robbery-1"], lambda: web.tap(d, Keys.SPACE),
                      120)                               # to its end, then the robbery
            for k in range(1, 4):
                web.expect(d, [pics["robbery-%d" % k]])
                web.tap(d, Keys.SPACE, pics["robbery-%d" % k])
            time.sleep(6.0)                              # the vagrant walks away

            def walk(until):                             # to and fro: the view scrolls
                while time.monotonic() < until:
                    for key in (Keys.ARROW_RIGHT, Keys.ARROW_LEFT):
                        hold(key, 1.2)
                        time.sleep(0.3)
            out["walking"] = measure(d, seconds, walk)
        finally:
            d.quit()
    print(json.dumps(out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
