#!/usr/bin/python3
"""Where each text of the game is written: the `#: file:line` references of the translations.

usage: pot_refs.py SOURCE_DIR           (writes them into data/po/*.pot and *.po)
       pot_refs.py --check SOURCE_DIR   (exit 1 when a reference is not where its text is)

The sources write accents as Latin-1 escapes ("Je pr\\351f\\xE8re"), so grepping them for a line
of dialogue finds nothing; the catalogues hold the text as the player reads it, with these
references just above it:  grep -B3 -F "Je préfère" data/po/*.po*
"""
import glob
import os
import re
import sys

SOURCES = "game/*.cpp"


def literals(path):
    """(line, text) of every string literal of a C++ source, adjacent ones joined (the line of the
    first), escapes decoded from Latin-1; comments, includes and character literals skipped."""
    src = open(path, encoding="latin-1").read()
    blank = lambda m: re.sub(r"[^\n]", " ", m.group(0))  # keeps every line where it was
    src = re.sub(r"//[^\n]*", blank, src)
    src = re.sub(r"(?m)^\s*#[^\n]*", blank, src)
    src = re.sub(r"'(\\.|[^'\\])'", blank, src)
    out, joining = [], False
    for m in re.finditer(r'"((?:\\.|[^"\\])*)"|(\S)', src):
        if m.group(2) is not None:
            joining = False
            continue
        text = bytes(m.group(1), "latin-1").decode("unicode_escape")
        if joining:
            out[-1] = (out[-1][0], out[-1][1] + text)
        else:
            out.append((src.count("\n", 0, m.start()) + 1, text))
        joining = True
    return out


def where(root):
    """Each text of the sources: the places it is written, as `file:line`."""
    places = {}
    for path in sorted(glob.glob(os.path.join(root, SOURCES))):
        rel = os.path.relpath(path, root)
        for line, text in literals(path):
            places.setdefault(text, []).append("%s:%d" % (rel, line))
    return places


def unquote(s):
    return re.sub(r'\\(.)', lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), s)


def referenced(text, places):
    """The catalogue `text` with each entry's `#:` line naming where its msgid is written."""
    lines = text.split("\n")
    out = []
    for i, line in enumerate(lines):
        if line.startswith("#: "):
            j = i + 1
            while j < len(lines) and lines[j].startswith("#"):
                j += 1
            m = re.match(r'msgid "(.*)"$', lines[j]) if j < len(lines) else None
            msgid = unquote(m.group(1)) if m else ""
            if msgid in places:
                line = "#: " + " ".join(places[msgid])
        out.append(line)
    return "\n".join(out)


def main(argv):
    check = argv[:1] == ["--check"]
    root = (argv[1:] if check else argv)[0] if argv[1 if check else 0:] else "."
    places = where(root)
    stale = []
    for path in sorted(glob.glob(os.path.join(root, "data", "po", "*.po*"))):
        old = open(path, encoding="utf-8").read()
        new = referenced(old, places)
        if new != old:
            stale.append(os.path.relpath(path, root))
            if not check:
                open(path, "w", encoding="utf-8").write(new)
    if check and stale:
        print("pot_refs: the references of %s are not where the texts are; run "
              "tools/pot_refs.py . (make po-refs) and commit the result" % ", ".join(stale))
        return 1
    print("pot_refs: %s" % ("references rewritten in " + ", ".join(stale) if stale and not check
                            else "every reference is where its text is"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
