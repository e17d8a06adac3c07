#!/usr/bin/python3
"""The translations: every .po passes msgfmt --check; every text of the game's code is in the
template; every language translates every text of the template, none fuzzy, and no other.
usage: test_po.py SOURCE_DIR"""
import glob
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import po2cpp  # noqa: E402
from pot_refs import literals  # noqa: E402

root, failures = sys.argv[1], []
pos = sorted(glob.glob(os.path.join(root, "data", "po", "*.po")))
template = os.path.join(root, "data", "po", "talmyr.pot")
for po in pos + [template]:
    r = subprocess.run(["msgfmt", "--check", "-o", os.devnull, po], stderr=subprocess.PIPE,
                       text=True)
    if r.returncode != 0:
        failures.append("%s: msgfmt --check failed:\n%s" % (po, r.stderr))
msgids = {m for m, _, _ in po2cpp.entries(template)}
# every text of the script, the screens and the duel: what has a letter, and is more than a
# figure's format
sources = ["fct_chkAction", "fct_chkPos", "mod_gameCombat", "mod_gameIntro", "mod_gameMenu",
           "mod_gameInfo", "mod_about"]
texts = {s for name in sources for _, s in literals(os.path.join(root, "game", name + ".cpp"))
         if re.search(r"[A-Za-z\xc0-\xff]", s) and not re.match(r"^[\d%i/ .:\-]*$", s)}
if texts - msgids:
    failures.append("texts of the code missing from talmyr.pot: %s" % sorted(texts - msgids))
if len(texts) < 150:
    failures.append("only %d texts found in the code: the scan is broken" % len(texts))
for po in pos:
    have = {m: (s, fuzzy) for m, s, fuzzy in po2cpp.entries(po)}
    untranslated = sorted(m for m in msgids if m not in have or not have[m][0] or have[m][1])
    if untranslated:
        failures.append("%s: %d texts untranslated or fuzzy: %s"
                        % (po, len(untranslated), untranslated[:10]))
    if set(have) - msgids:
        failures.append("%s: texts the game no longer has: %s"
                        % (po, sorted(set(have) - msgids)[:10]))
for f in failures:
    print("test_po:", f)
print("test_po: %d texts, %d languages besides French%s" % (
    len(msgids), len(pos), "" if failures else ", all translated"))
sys.exit(1 if failures else 0)
