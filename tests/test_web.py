"""The page in headless Chromium: the same game as the desktop's, pixel for pixel.

usage: test_web.py BUILD [story|keys|engines|touch|ratios|kept|hidden|app|page ...]

Each section lives with its kind (what they share, in support_web.py):
- web_play.py: story, the page's test build plays the recorded story (virtual clock, FR and EN),
  transcript and pictures as the desktop's references; keys, the real page played by keys and a
  pad shows at each moment what `moments` draws; engines, the same in WebKit and Gecko.
- web_touch.py: touch, the same on a phone by touch alone, and the controls; ratios, the picture
  sharp at every pixel ratio.
- web_app.py: hidden, a hidden tab sleeps; app, installable, offline, a new build replacing the
  kept files; kept, kept on a change of map, a hidden tab, a closed page, and continued.
- web_page_checks.py: page, size and place, language, keys kept from scrolling, a gamepad, the
  music, the loading bar, error messages.
"""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import support_web as web  # noqa: E402
import web_app  # noqa: E402
import web_page_checks  # noqa: E402
import web_play  # noqa: E402
import web_touch  # noqa: E402

SECTIONS = {"story": web_play.test_story, "keys": web_play.test_keys,
            "engines": web_play.test_engines, "touch": web_touch.test_touch,
            "ratios": web_touch.test_ratios, "kept": web_app.test_kept,
            "hidden": web_app.test_hidden, "app": web_app.test_app,
            "page": web_page_checks.test_page}


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    out = os.path.join(build, "web-actual")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    only = sys.argv[2:] or ["story", "keys", "engines", "touch", "ratios", "kept", "hidden", "app",
                            "page"]
    for name in only:
        print("== " + name, flush=True)
        SECTIONS[name](build, out)
    print("%d failure(s)" % len(web.failures) if web.failures else "all passed")
    sys.exit(1 if web.failures else 0)


if __name__ == "__main__":
    main()
