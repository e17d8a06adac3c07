#!/usr/bin/env python3
"""The C++ sources of game/ and platform/ are plain ASCII but for the game's texts: any other
byte must sit inside a text marked _("...") (game/text.h), which is UTF-8 as the player reads it,
so a text is never written with Latin-1 escapes ("\\xE9", "\\351") there.

usage: plain_sources.py     (prints each fault with its file and line; status 1 if any)
"""
import glob
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCES = ["game/*.cpp", "game/*.h", "platform/*.cpp", "platform/*.h", "platform/web/*.cpp",
           "platform/web/*.h"]
TOKEN = re.compile(r"""//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|'(?:\\.|[^'\\\n])*'|[A-Za-z_]\w*|\S""",
                   re.S)
NUMERIC_ESCAPE = re.compile(r"\\(?:x[0-9A-Fa-f]+|[0-7]{1,3})")


def faults(path, rel):
    src = open(path, "rb").read().decode("latin-1")  # one character a byte
    found, tokens = [], []  # tokens: what comes before, comments left out
    for m in TOKEN.finditer(src):
        tok, line = m.group(0), src.count("\n", 0, m.start()) + 1
        if tok.startswith("//") or tok.startswith("/*"):
            if re.search(r"[^\x00-\x7f]", tok):
                found.append("%s:%d: a character that is not ASCII in a comment" % (rel, line))
            continue
        marked = tok.startswith('"') and (tokens[-2:] == ["_", "("] or
                                          (tokens and tokens[-1] == "marked"))
        if marked:
            if NUMERIC_ESCAPE.search(tok):
                found.append("%s:%d: an escape in a marked text (write the character itself): %s"
                             % (rel, line, tok.encode("latin-1").decode("utf-8", "replace")))
            tokens.append("marked")
            continue
        if re.search(r"[^\x00-\x7f]", tok):
            found.append("%s:%d: a character that is not ASCII outside _(\"...\"): %s"
                         % (rel, line, tok.encode("latin-1").decode("utf-8", "replace")))
        tokens.append(tok)
    return found


def main():
    found = []
    for pattern in SOURCES:
        for path in sorted(glob.glob(os.path.join(ROOT, pattern))):
            found += faults(path, os.path.relpath(path, ROOT))
    for f in found:
        print("plain_sources:", f)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
