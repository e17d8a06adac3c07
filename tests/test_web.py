"""The page in a real browser (headless Chromium): the same game as the desktop's, pixel for pixel.

usage: test_web.py BUILD

- the story: the page's test build plays the desktop suite's whole recorded story on the virtual
  clock (the autopilot's game to the victory picture, a lost game, a visit to every scene), in
  French and English; its transcript equals the desktop's reference line for line, and every
  picture it takes equals the desktop's reference pixel for pixel;
- the page by keys: the real page, played in real time by key presses from the title menu
  through the intro, the island, the information page, the vagrant's ambush, the duel and the
  robbery; at each of these moments the canvas equals what the desktop draws then
  (BUILD/web-moments, drawn by the desktop's harness from the same keys), in both languages;
- the page itself: the picture magnified by a whole number and centred, the keys kept from
  scrolling, the language from the browser or from ?lang=, the music's loops decoded to exactly
  the desktop's length, and a clear message when the program or its data is missing or broken.
"""
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import support_web as web  # noqa: E402

REFS = os.path.join(web.ROOT, "tests", "references")
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i + 1, x, y
    return min(len(a), len(b)) + 1, "(end)" if len(a) < len(b) else a[len(b)], \
        "(end)" if len(b) < len(a) else b[len(a)]


def test_story(build, out):
    with web.served(os.path.join(build, "web-test")) as address:
        d = web.chromium(sound=False)
        try:
            d.get(address)
            t0 = time.time()
            report = web.wait_for(d, "var r = Module.talmyrReport; return r && r.done ? r : null",
                                  timeout=900, every=1.0)
            check(report is not None, "the story ran to its end in the browser (%.0f s)" % (time.time() - t0))
            if not report:
                return
            check(not report["errors"], "no abort: %s" % report["errors"])
            check(report["ok"], "every scenario of the story ended by itself")
            for lang, ref in (("fr", "story.txt"), ("en", "story.en.txt")):
                want = open(os.path.join(REFS, ref), encoding="utf-8").read().splitlines()
                got = report["lines"].get(lang, [])
                same = got == want
                if not same:
                    n, a, b = first_difference(want, got)
                    with open(os.path.join(out, "story-web.%s.txt" % lang), "w", encoding="utf-8") as f:
                        f.write("\n".join(got) + "\n")
                    print("  line %d: reference %r, page %r" % (n, a, b))
                check(same, "%s transcript equals %s (%d lines)" % (lang, ref, len(want)))
            pictures = os.path.join(REFS, "pictures")
            for lang in ("fr", "en"):
                shots = report["pictures"].get(lang, {})
                bad = []
                for name, hexa in sorted(shots.items()):
                    ref = os.path.join(pictures, "%s.en.png" % name)
                    if lang == "fr" or not os.path.exists(ref):
                        ref = os.path.join(pictures, "%s.png" % name)
                    px = [int(hexa[i:i + 4], 16) for i in range(0, len(hexa), 4)]
                    if not os.path.exists(ref) or web.png565(ref) != px:
                        bad.append(name)
                        web.save565(os.path.join(out, "story-web-%s.%s.png" % (name, lang)), px)
                refs = {f.split(".")[0] for f in os.listdir(pictures)}
                check(len(shots) > 0 and set(shots) == refs,
                      "%s: the page took every reference picture (%d of %d)" % (lang, len(shots), len(refs)))
                check(not bad, "%s: every picture equals the desktop's reference%s"
                      % (lang, (" (differ: %s; see %s)" % (", ".join(bad), out)) if bad else ""))
        finally:
            d.quit()


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    out = os.path.join(build, "web-actual")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    only = sys.argv[2:] or ["story", "keys", "page"]
    for name in only:
        print("== " + name, flush=True)
        globals()["test_" + name](build, out)
    print("%d failure(s)" % len(failures) if failures else "all passed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
