#!/usr/bin/python3
"""The picture converter refuses, saying why, what it cannot convert exactly; the committed art
is what our generators paint and passes its own checks. (What the build converts is seen pixel
for pixel by test_references' pictures.)"""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
ART, TOOLS = os.path.join(ROOT, "data", "art"), os.path.join(ROOT, "tools")
sys.path[:0] = [os.path.join(TOOLS, "art")]
from PIL import Image  # noqa: E402
import palette  # noqa: E402
failures = []


def run(*command):
    return subprocess.run([sys.executable] + list(command), capture_output=True, text=True)


with tempfile.TemporaryDirectory() as tmp:
    off, flat = palette.new_image(64, 128), palette.flat_palette()
    flat[3 * 40] ^= 0x80  # one entry off
    off.putpalette(flat)
    for name, picture, why in [
            ("sprite_perso", Image.new("RGB", (64, 128), (1, 2, 3)), "not a palette-indexed"),
            ("sprite_roi", palette.new_image(64, 96), "size 64x96"),
            ("sprite_boss", off, "palette differs"), ("tiles_decor", None, "missing")]:
        work = shutil.copytree(ART, os.path.join(tmp, name))
        path = os.path.join(work, name + ".png")
        picture.save(path) if picture is not None else os.remove(path)
        r = run(os.path.join(TOOLS, "png2gp.py"), work, os.path.join(work, "out"))
        if r.returncode == 0 or why not in r.stderr:
            failures.append("%s: expected a refusal naming %r, got status %d, %r" % (
                name, why, r.returncode, r.stderr.strip()))
    for script, name in [("gen_tiles.py", "tiles_decor"), ("gen_battlebg.py", "img_battlebg")]:
        r = run(os.path.join(TOOLS, "art", script), os.path.join(tmp, name + ".png"))
        if r.returncode == 0:
            a, b = (Image.open(os.path.join(d, name + ".png")) for d in (tmp, ART))
        if r.returncode != 0 or a.size != b.size or list(a.getdata()) != list(b.getdata()):
            failures.append("%s.png is not what %s paints %s" % (name, script, r.stderr))
# the sheets, portraits, icons and full-screen pictures have their own checker
r = run(os.path.join(TOOLS, "art", "sprite_check.py"))
if r.returncode != 0:
    failures.append("sprite_check fails: " + r.stdout[-400:] + r.stderr[-400:])
colours = Image.open(os.path.join(ART, "tiles_decor.png")).getcolors(256)
if not colours or any(idx == palette.TRANSPARENT for _, idx in colours):
    failures.append("the tile strip uses the transparent colour")
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
