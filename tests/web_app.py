"""The page as an app: a hidden tab asleep, installable and offline, a new build replacing the kept
files whole, and the kept game in the browser's storage."""
import json
import os
import shutil
import sys
import tempfile
import time

from selenium.common.exceptions import WebDriverException
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import support_web as web  # noqa: E402
from support_web import check, ref565  # noqa: E402
from web_play import moments  # noqa: E402


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
        show = web.hide(d)
        at = web.expect(d, intro, timeout=1)
        count = "return [talmyrFrames, talmyrLooks, Module.talmyrClock.now()]"
        drawn, looked, t0 = d.execute_script(count)
        time.sleep(3)
        frames, looks, t1 = d.execute_script(count)
        check(frames == drawn and looks - looked <= 1 and t1 == t0,
              "hidden: no frame drawn (%d), the game asleep (%d looks at its keys), the clock "
              "still (%.0f ms)" % (frames - drawn, looks - looked, t1 - t0))
        show()
        t2 = d.execute_script(clock)
        check(t2 - t1 < 1500, "hidden: shown again, the clock goes on from where it stood, the 3 s "
              "hidden not counted (+%.0f ms)" % (t2 - t1))
        back = web.expect(d, intro[at:at + 3], timeout=2)
        check(at >= 0 and back >= 0, "hidden: shown again, the intro goes on from its frame %d "
              "(%d frames later)" % (at, back))
        web.tap(d, Keys.ENTER, *intro)  # the island: its music, once a key has let sound start
        music = "var a = Module.talmyrAudio; return a && a.wanted === 0 && a.ctx.state"
        playing = web.wait_for(d, music + " === 'running'", timeout=10)
        show = web.hide(d)
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
        show = web.hide(d)
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
