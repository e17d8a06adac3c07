#!/usr/bin/env python3
"""Every file README.md and docs/*.md name is in the repository: a clone holds all its guides point
to. Checked: the names in `backticks` and the targets of links, outside fenced code blocks.

- a name with a slash whose first folder is one of the repository's (data/, game/, tests/...) must
  be a tracked file or folder (a * matches as in the shell); build/ is the build's, not checked;
- a bare file name of the code or the docs (gpmain.cpp, test_web.py) must be some tracked file's;
- a name that climbs out of the repository (../) is always wrong.
Names of the player's files, of other folders (bin/, ~/.config) and of commands are left alone.

usage: doc_paths.py        (prints each missing name with its page and line; status 1 if any)
"""
import fnmatch
import glob
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_EXT = (".cpp", ".h", ".py", ".js", ".md", ".mk", ".cmake", ".sh", ".po", ".pot", ".txt",
              ".html")
# named by the guides but made by the reader or by the build
MADE = {"data/po/xx.po", "talmyr.js"}


def tracked():
    try:
        out = subprocess.run(["git", "ls-files"], cwd=ROOT, capture_output=True, text=True,
                             check=True).stdout
        return out.split()
    except (OSError, subprocess.CalledProcessError):
        files = []
        for d, subdirs, names in os.walk(ROOT):
            subdirs[:] = [s for s in subdirs if s not in (".git", "build")]
            files += [os.path.relpath(os.path.join(d, n), ROOT) for n in names]
        return files


def names(text):
    """(line, name) of every path-like word in backticks or link target, outside fenced code."""
    fenced = False
    for number, line in enumerate(text.splitlines(), 1):
        if line.lstrip().startswith("```"):
            fenced = not fenced
            continue
        if fenced:
            continue
        for target in re.findall(r"\]\(([^)\s]+)\)", line):
            if not re.match(r"[a-z]+:|#", target):
                yield number, target
        for quoted in re.findall(r"`([^`]+)`", line):
            for word in quoted.split():
                word = re.sub(r":\d+$", "", word.strip(",;\"'"))
                if "/" in word or word.endswith(SOURCE_EXT):
                    yield number, word


def missing(word, files, top):
    if word in MADE:
        return None
    if word.startswith("../"):
        return "outside the repository"
    if word[0] in "$~/.-" or "=" in word or "<" in word:
        return None
    if "/" in word:
        first = word.split("/")[0]
        if first == "build" or first not in top:
            return None
        path = word.rstrip("/")
        if any(fnmatch.fnmatchcase(f, path) or f.startswith(path + "/") for f in files):
            return None
        return "no such file or folder"
    if any(fnmatch.fnmatchcase(os.path.basename(f), word) for f in files):
        return None
    return "no file of that name"


def main():
    files = tracked()
    top = {f.split("/")[0] for f in files}
    faults = 0
    pages = ["README.md"] + sorted(os.path.relpath(p, ROOT)
                                   for p in glob.glob(os.path.join(ROOT, "docs", "*.md")))
    for page in pages:
        with open(os.path.join(ROOT, page), encoding="utf-8") as f:
            for number, word in names(f.read()):
                why = missing(word, files, top)
                if why:
                    print("%s:%d: `%s`: %s" % (page, number, word, why))
                    faults += 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
