"""Whole-process CPU of the real program in a real X window, per state of play.

usage: window.py TALMYR [--compat] [--scale N] [--seconds S]
Starts an X server of its own (Xvfb, 1920x1080, 24 bits), runs the program in it with the music
mixed by the dummy audio driver, plays it with xdotool to each state and measures the process's
CPU time (every thread, from /proc) over S seconds of wall time there: the title menu, the intro,
standing, a dialogue box waiting, the duel's menu waiting, a drain (the few seconds after a blow,
life running down on both sides), and walking to and fro on the island once the vagrant has gone,
the view scrolling with the hero. Prints one line of JSON.
--compat runs it on sdl12-compat; --scale N passes the option on (default: the game's own choice).
Run with /usr/bin/python3.
"""
import json
import os
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import xserver  # noqa: E402

HZ = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / HZ  # utime, stime


class Run:
    def __init__(self, talmyr, compat, scale):
        self.tmp = tempfile.mkdtemp(prefix="talmyr-bench-")
        self.xvfb, display = xserver.start()
        env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=self.tmp, XDG_STATE_HOME=self.tmp)
        env.pop("SDL_VIDEODRIVER", None)
        if compat:
            libdir = subprocess.run(["pkg-config", "--variable=libdir", "sdl"], check=True,
                                    stdout=subprocess.PIPE, text=True).stdout.strip()
            env["LD_LIBRARY_PATH"] = libdir + "/sdl12-compat"
        self.env = env
        args = [talmyr] + (["--scale", str(scale)] if scale else [])
        self.game = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.wid = wid = self.xdo("search", "--sync", "--name", "^Talmyr demo 2.$").split()[0]
        self.xdo("windowfocus", "--sync", wid)
        self.size = list(struct.unpack(">25I", self.xwd()[:100])[4:6])

    def xwd(self):
        return subprocess.run(["xwd", "-id", self.wid, "-silent"], env=self.env, check=True,
                              stdout=subprocess.PIPE).stdout

    def xdo(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=20,
                              stdout=subprocess.PIPE, text=True).stdout

    def pixel(self, x, y):
        """The window's pixel at (x, y) of the game's 320x240 picture, as (r, g, b)."""
        img = xserver.parse_xwd(self.xwd())
        scale = max(1, min(img.width // 320, img.height // 240))
        return img.getpixel(((img.width - 320 * scale) // 2 + x * scale,
                             (img.height - 240 * scale) // 2 + y * scale))

    def showing(self):
        """What the game shows: a dialogue box, the duel, or the map."""
        p = self.pixel(160, 182)  # inside every box; the caption's dark band in a duel
        return "box" if p == (255, 255, 255) else "duel" if p == (8, 40, 24) else "map"

    def tap(self, key, hold=0.15):
        self.xdo("keydown", key)
        time.sleep(hold)
        self.xdo("keyup", key)

    def measure(self, seconds, during=None):
        c0, t0 = cpu_seconds(self.game.pid), time.monotonic()
        if during:
            during(t0 + seconds)
        else:
            time.sleep(seconds)
        return 100.0 * (cpu_seconds(self.game.pid) - c0) / (time.monotonic() - t0)

    def stop(self):
        for p in (self.game, self.xvfb):
            xserver.stop(p)


def main(argv):
    if len(argv) < 2:
        raise SystemExit(__doc__)
    talmyr = argv[1]
    compat = "--compat" in argv
    scale = int(argv[argv.index("--scale") + 1]) if "--scale" in argv else 0
    seconds = float(argv[argv.index("--seconds") + 1]) if "--seconds" in argv else 10.0
    r = Run(talmyr, compat, scale)
    out = {"compat": compat, "window": r.size}
    try:
        time.sleep(1.5)
        out["title"] = r.measure(seconds)
        r.tap("Return")                        # Jouer: the intro scrolls
        time.sleep(1.0)
        out["intro"] = r.measure(seconds)
        r.tap("Return")                        # skipped: the hero stands on the island
        time.sleep(1.0)
        out["standing"] = r.measure(seconds)
        r.xdo("keydown", "Left")               # the ambush: the vagrant walks up and talks
        time.sleep(4.0)
        r.xdo("keyup", "Left")
        time.sleep(3.0)
        out["dialogue"] = r.measure(seconds)
        for _ in range(5):                     # his lines and the hero's, then the duel opens
            r.tap("space")
            time.sleep(0.4)
        time.sleep(2.0)
        out["combat_menu"] = r.measure(seconds)
        r.tap("space")                         # a blow, then the answer: life drains
        out["drain"] = r.measure(min(seconds, 3.0))
        calm = None                            # the duel to its end, the robbery, the vagrant gone
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline:
            if r.showing() != "map":
                calm = None
                r.tap("space")
                time.sleep(1.2)
                continue
            calm = calm or time.monotonic()
            if time.monotonic() - calm > 5:
                break
            time.sleep(0.5)

        def walk(until):                       # six tiles left and back: the view scrolls
            while time.monotonic() < until:
                for key in ("Left", "Right"):
                    r.tap(key, 3.6)
                    time.sleep(0.5)
        out["walking"] = r.measure(seconds, walk)
    finally:
        r.stop()
    print(json.dumps(out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
