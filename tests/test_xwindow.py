#!/usr/bin/python3
"""The real program in a real X window (Xvfb, 1920x1080, no window manager), played with xdotool
as a person would, and captured at moments that wait or stand still: each capture must be the
picture `moments` draws headless at that moment, magnified by a whole number and centred on black.

usage: test_xwindow.py TALMYR MOMENTS WORKDIR DESKTOP_ENTRY   (exit 77: a tool is missing)

Title menu at 3x; F11 gives full screen at 4x from the screen's corner, Alt+Return the window
again, and the menu never sees those keys. On the island: a resized window (4x), full screen and
back. The information page, then the walk into the vagrant's first two lines. SIGTERM there keeps
the game: restarted, the menu offers "Continuer" and Return brings the vagrant's first line again;
so do SIGHUP (the session ending) and the X server going away.
WM_CLASS is the desktop entry's id, which it names as its StartupWMClass.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import time

from PIL import Image, ImageChops

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import xserver  # noqa: E402

W, H = 320, 240
SCREEN = (1920, 1080)
SKIP = 77


def log(*args):
    print("xwindow:", *args, flush=True)


def unmagnify(img):
    """The 320x240 picture inside a capture, with the scale it was shown at. The largest whole
    scale that fits the capture, centred: black all around it, and every pixel of the picture a
    square of one colour. Raises ValueError otherwise."""
    w, h = img.size
    s = max(1, min(w // W, h // H, 8))
    x, y = (w - W * s) // 2, (h - H * s) // 2
    inner = (x, y, x + W * s, y + H * s)
    around = img.copy()
    around.paste((0, 0, 0), inner)
    if around.getbbox() is not None:
        raise ValueError("not black around the picture (scale %d at %d,%d): %s"
                         % (s, x, y, around.getbbox()))
    shown = img.crop(inner)
    small = shown.resize((W, H), Image.NEAREST)
    if ImageChops.difference(small.resize(shown.size, Image.NEAREST), shown).getbbox() is not None:
        raise ValueError("the picture is not magnified %d times exactly" % s)
    return small, s


class Session:
    def __init__(self, talmyr, workdir):
        self.talmyr = talmyr
        self.home = os.path.join(workdir, "home")
        self.workdir = workdir
        self.xvfb = None
        self.game = None
        self.env = None
        self.wid = None
        self.fullscreen = False

    # ---- the X server and the program ----------------------------------------------------

    def start_x(self):
        self.xvfb, display = xserver.start(SCREEN, open(self.path("xvfb.log"), "w"))
        self.env = dict(os.environ, DISPLAY=display,
                        XDG_CONFIG_HOME=self.path("config"),  # never the player's own settings
                        XDG_STATE_HOME=self.path("state"),    # nor kept game
                        HOME=self.home)                       # nor pictures
        for name in ("SDL_VIDEODRIVER", "XDG_PICTURES_DIR", "SDL_VIDEO_X11_WMCLASS"):
            self.env.pop(name, None)
        for name in ("LANGUAGE", "LC_ALL", "LC_MESSAGES"):  # the game's own language, French
            self.env.pop(name, None)
        self.env["LANG"] = "C"
        self.env.pop("XAUTHORITY", None)
        # In the sanitizer build: libX11 keeps no frame pointers, and only the slow unwinder reaches
        # the frame tools/lsan.supp names for its leak.
        asan = self.env.get("ASAN_OPTIONS", "")
        self.env["ASAN_OPTIONS"] = (asan + ":" if asan else "") + "fast_unwind_on_malloc=0"
        log("X server on display", self.env["DISPLAY"])

    def start_game(self):
        self.game = subprocess.Popen([self.talmyr], env=self.env, cwd=self.workdir,
                                     stdout=open(self.path("talmyr.out"), "w"),
                                     stderr=open(self.path("talmyr.err"), "w"))
        self.find_window()
        log("window", self.wid)

    def find_window(self):
        """The game's window (sdl12-compat makes a new one for full screen)."""
        out = self.xdotool("search", "--sync", "--name", "^Talmyr demo 2.", timeout=20)
        self.wid = out.split()[-1]
        # With no window manager the keyboard follows the pointer or an explicit focus.
        self.xdotool("windowfocus", "--sync", self.wid)

    def wm_class(self, wid=None):
        """The window's class, as xprop prints it: its two names."""
        out = subprocess.run(["xprop", "-id", wid or self.wid, "WM_CLASS"], env=self.env,
                             check=True,
                             timeout=10, stdout=subprocess.PIPE, text=True).stdout
        return re.findall(r'"([^"]*)"', out)

    def geometry(self):
        """The window's place and size on the screen: x, y, width, height."""
        out = subprocess.run(["xwininfo", "-id", self.wid], env=self.env, check=True, timeout=10,
                             stdout=subprocess.PIPE, text=True).stdout
        field = lambda name: int(re.search(name + r":\s+(-?\d+)", out).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                field("Height"))

    def stop_game(self):
        """SIGTERM closes the game as a window close does: it must end at once and cleanly."""
        if self.game and self.game.poll() is None:
            self.game.send_signal(signal.SIGTERM)
            try:
                return self.game.wait(timeout=5)
            except subprocess.TimeoutExpired:
                xserver.stop(self.game)
        return None

    def stop(self):
        status = self.stop_game()
        xserver.stop(self.xvfb)
        return status

    def path(self, name):
        return os.path.join(self.workdir, name)

    # ---- input and capture ---------------------------------------------------------------

    def xdotool(self, *args, timeout=10):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=timeout,
                              stdout=subprocess.PIPE, text=True).stdout

    def hold(self, key, until, attempts=3):
        """Holds a key until the game shows it saw it (`until(timeout)` returns): a press shorter
        than a frame can pass unseen, and one that comes as the window takes the focus back after
        a change of screen mode SDL 1.2 may drop as a repeat; then it is pressed again."""
        for attempt in range(attempts):
            self.xdotool("keydown", "--window", self.wid, key)
            try:
                return until(5.0 if attempt + 1 < attempts else 15.0)
            except AssertionError:
                if attempt + 1 == attempts:
                    raise
                log("%s was not seen: pressed again" % key)
            finally:
                self.xdotool("keyup", "--window", self.wid, key)
            time.sleep(0.5)

    def capture(self):
        """The game's picture as the player sees it (the window, or in full screen the whole
        screen), checked to be the 320x240 picture magnified exactly and centred on black."""
        if self.game.poll() is not None:
            raise RuntimeError("the program ended (status %s): see talmyr.err"
                               % self.game.returncode)
        which = ["-root"] if self.fullscreen else ["-id", self.wid]
        data = subprocess.run(["xwd", *which, "-silent"], env=self.env, check=True, timeout=10,
                              stdout=subprocess.PIPE).stdout
        return unmagnify(xserver.parse_xwd(data))

    def wait_for(self, name, want, timeout=15.0):
        """Captures until the player sees `want`, or fails after `timeout` seconds."""
        deadline = time.time() + timeout
        while True:
            try:
                shot, scale = self.capture()
                diff = ImageChops.difference(shot, want)
                box = diff.getbbox()
            except ValueError as e:  # not (yet) a clean magnification
                shot, scale, diff, box, why = None, 0, None, (0, 0, W, H), str(e)
            if box is None:
                shot.save(self.path("real_%s.png" % name))
                log("%-8s same pixels as the headless picture, magnified %d times" % (name, scale))
                return scale
            if time.time() > deadline:
                if shot is None:
                    raise AssertionError("%s: %s" % (name, why))
                shot.save(self.path("real_%s.png" % name))
                diff.point(lambda v: 255 if v else 0).save(self.path("diff_%s.png" % name))
                count = sum(1 for p in diff.getdata() if p != (0, 0, 0))
                raise AssertionError("%s: the window still differs from the headless picture after "
                                     "%.0f s: %d pixels in %s (see real_%s.png, diff_%s.png)"
                                     % (name, timeout, count, box, name, name))
            time.sleep(0.05)

    def switch(self, keys):
        """F11 or Alt+Return: full screen on or off."""
        self.xdotool("key", keys)
        self.fullscreen = not self.fullscreen
        time.sleep(0.5)
        self.find_window()
        if self.fullscreen:
            # no window manager places it: the game itself must cover the screen from its corner
            expect(self.geometry(), (0, 0) + SCREEN, "the full-screen window's place and size")

    def wait_change(self, name, away_from, timeout=15.0):
        """Captures until the window no longer shows `away_from`."""
        deadline = time.time() + timeout
        while ImageChops.difference(self.capture()[0], away_from).getbbox() is None:
            if time.time() > deadline:
                self.capture()[0].save(self.path("real_%s.png" % name))
                raise AssertionError("%s: the window did not change within %.0f s (see real_%s.png)"
                                     % (name, timeout, name))
            time.sleep(0.05)
        log("%-8s left the previous picture" % name)


def expect(got, want, what):
    if got != want:
        raise AssertionError("%s: %s, not %s" % (what, got, want))


def startup_wm_class(entry):
    """The desktop entry's id (its file's name) and its StartupWMClass."""
    with open(entry, encoding="utf-8") as f:
        found = re.search(r"^StartupWMClass=(.*)$", f.read(), re.M)
    return os.path.basename(entry)[:-len(".desktop")], found.group(1) if found else None


def main():
    if len(sys.argv) != 5:
        print(__doc__)
        return 2
    talmyr, moments, workdir, entry = sys.argv[1:]
    missing = [t for t in ("Xvfb", "xdotool", "xwd", "xprop", "xwininfo") if not shutil.which(t)]
    if missing:
        print("test_xwindow: SKIPPED: %s not installed (make setup installs them)"
              % ", ".join(missing))
        return SKIP
    shutil.rmtree(workdir, ignore_errors=True)
    os.makedirs(workdir)

    # The headless pictures, drawn by the real game code on the virtual clock.
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy",
               XDG_CONFIG_HOME=os.path.join(workdir, "config"),
               XDG_STATE_HOME=os.path.join(workdir, "state"))
    subprocess.run([moments, workdir, "fr"], env=env, check=True, timeout=60,
                   stdout=subprocess.DEVNULL)
    shots = {"title": "title", "explore": "island", "info": "info", "back": "island-again",
             "talk1": "ambush-1", "talk2": "ambush-2"}
    listed = dict(l.split("\t")[1::-1] for l in open(os.path.join(workdir, "moments.txt")))
    ref = {n: Image.open(os.path.join(workdir, listed[m])).convert("RGB") for n, m in shots.items()}
    app_id, startup_class = startup_wm_class(entry)
    expect(startup_class, app_id, "the desktop entry's StartupWMClass")

    begun = time.time()
    s = Session(talmyr, workdir)
    status = None
    try:
        s.start_x()
        s.start_game()
        expect(s.wait_for("title", ref["title"], timeout=20), 3, "the window's scale")
        expect(s.wm_class(), [app_id, app_id], "the window's class (xprop WM_CLASS)")
        log("WM_CLASS", s.wm_class())
        s.switch("F11")                        # full screen: the menu, four times, centred
        expect(s.wait_for("title-fs", ref["title"]), 4, "the full screen's scale")
        expect(s.wm_class(), [app_id, app_id], "the full-screen window's class")
        s.switch("alt+Return")                 # back to the window, and no choice made
        expect(s.wait_for("title-back", ref["title"]), 3, "the window's scale")
        s.hold("Return", lambda t: s.wait_change("intro", ref["title"], t))  # Jouer: the story
        s.hold("Return", lambda t: s.wait_for("explore", ref["explore"], t))  # skipped: the island
        s.xdotool("windowsize", s.wid, "1300", "1000")  # a larger window: four times, centred
        expect(s.wait_for("resized", ref["explore"]), 4, "the resized window's scale")
        s.switch("alt+Return")                 # full screen and back: the same island, no page
        s.wait_for("explore-fs", ref["explore"])
        s.switch("F11")
        expect(s.wait_for("explore-back", ref["explore"]), 4, "the window's scale kept")
        s.hold("Return", lambda t: s.wait_for("info", ref["info"], t))  # the information page
        s.hold("space", lambda t: s.wait_for("back", ref["back"], t))   # any key closes it
        # three tiles left: the vagrant walks up and talks; then his next line
        s.hold("Left", lambda t: s.wait_for("talk1", ref["talk1"], 20), attempts=1)
        s.hold("space", lambda t: s.wait_for("talk2", ref["talk2"], t))
        # closed in the middle of the vagrant's words: the game is kept; started again, the title
        # menu offers Continuer first, and Return puts the hero back where he last stood free, so
        # that the vagrant walks up and speaks again
        expect(s.stop_game(), 0, "the program's status on SIGTERM")
        kept = os.path.join(s.path("state"), "talmyr", "kept-game.ini")
        expect(os.path.exists(kept), True, "a game kept on SIGTERM")
        log("kept   ", [l for l in open(kept).read().splitlines() if l.startswith("hero=")])
        s.start_game()
        kept_ref = os.path.join(os.path.dirname(os.path.abspath(__file__)), "references",
                                "pictures", "title_kept.png")
        s.wait_for("title-kept", Image.open(kept_ref).convert("RGB"))
        s.hold("Return", lambda t: s.wait_for("talk1-again", ref["talk1"], 20), attempts=1)
        # the session ending (SIGHUP), then the display going away, keep the same game again
        hero = [l for l in open(kept).read().splitlines() if l.startswith("hero=")]
        os.remove(kept)
        s.game.send_signal(signal.SIGHUP)
        expect(s.game.wait(timeout=5), 0, "the program's status on SIGHUP")
        expect([l for l in open(kept).read().splitlines() if l.startswith("hero=")], hero,
               "the game kept on SIGHUP")
        s.start_game()
        s.wait_for("title-kept2", Image.open(kept_ref).convert("RGB"))
        s.hold("Return", lambda t: s.wait_for("talk1-again2", ref["talk1"], 20), attempts=1)
        os.remove(kept)
        xserver.stop(s.xvfb)
        s.game.wait(timeout=10)
        expect([l for l in open(kept).read().splitlines() if l.startswith("hero=")], hero,
               "the game kept as the display went away")
        log("SIGHUP and the display gone: the game kept")
    finally:
        s.stop()
    log("played and compared in %.1f s" % (time.time() - begun))
    return 0


if __name__ == "__main__":
    sys.exit(main())
