"""Puts the page's own files beside the program in the page's folder, stamped with the build: the
version (a digest of every file the page needs), which names each file the page asks for and the
set the service worker keeps, and the size of each large file, for the loading bar (a host may
compress what it sends, or send no length at all).

usage: web_page.py SRC_DIR WEB_DIR   (SRC_DIR: platform/web; WEB_DIR holds talmyr.js, talmyr.wasm
                                      and icons/ already)
"""
import hashlib
import json
import os
import re
import shutil
import sys

# the page's own files, every one the page asks for (its scripts, in index.html)
SCRIPTS = ["page_layout.js", "page_controls.js", "page_language.js", "page_failure.js",
           "page_fullscreen.js", "page_music_button.js", "page_keys.js", "page_screenshot.js",
           "page_storage_note.js", "page_offline.js", "page_loader.js", "page_start.js"]
PAGE = ["index.html"] + SCRIPTS + ["manifest.webmanifest"]
BUILT = ["talmyr.js", "talmyr.wasm", "icons/192.png", "icons/512.png", "icons/maskable-512.png"]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    src, web = sys.argv[1:]
    # a script the page asks for that the set does not hold would be missing offline
    asked = re.findall(r'src="([^"?]+)\?v=@VERSION@"',
                       open(os.path.join(src, "index.html"), encoding="utf-8").read())
    if asked != SCRIPTS:
        sys.exit("web_page.py: index.html asks for %s, the set holds %s" % (asked, SCRIPTS))
    digest = hashlib.sha256()
    for f in PAGE + ["sw.js"]:
        digest.update(open(os.path.join(src, f), "rb").read())
    for f in BUILT:
        digest.update(open(os.path.join(web, f), "rb").read())
    version = digest.hexdigest()[:16]
    sizes = {f: os.path.getsize(os.path.join(web, f)) for f in ("talmyr.js", "talmyr.wasm")}
    for f in PAGE[1:]:
        shutil.copyfile(os.path.join(src, f), os.path.join(web, f))
    page = open(os.path.join(src, "index.html"), encoding="utf-8").read()
    build = json.dumps({"version": version, "sizes": sizes}, sort_keys=True)
    page = page.replace("@BUILD@", build).replace("@VERSION@", version)
    open(os.path.join(web, "index.html"), "w", encoding="utf-8").write(page)
    worker = open(os.path.join(src, "sw.js"), encoding="utf-8").read()
    worker = worker.replace("@VERSION@", version).replace("@FILES@", json.dumps(PAGE + BUILT))
    open(os.path.join(web, "sw.js"), "w", encoding="utf-8").write(worker)


if __name__ == "__main__":
    main()
