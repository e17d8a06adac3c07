#!/usr/bin/python3
"""The translations: every .po passes msgfmt --check; every language translates every text of
the template that the build extracts from the code (build/gen/talmyr.pot), none fuzzy, and keeps
no translation of a text the game no longer has.
usage: test_po.py SOURCE_DIR TEMPLATE"""
import glob
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import po2cpp  # noqa: E402

root, template, failures = sys.argv[1], sys.argv[2], []
pos = sorted(glob.glob(os.path.join(root, "data", "po", "*.po")))
for po in pos:
    r = subprocess.run(["msgfmt", "--check", "-o", os.devnull, po], stderr=subprocess.PIPE,
                       text=True)
    if r.returncode != 0:
        failures.append("%s: msgfmt --check failed:\n%s" % (po, r.stderr))
msgids = {m for m, _, _ in po2cpp.entries(template)}
for po in pos:
    have = {m: (s, fuzzy) for m, s, fuzzy in po2cpp.entries(po)}
    untranslated = sorted(m for m in msgids if m not in have or not have[m][0] or have[m][1])
    if untranslated:
        failures.append("%s: %d texts untranslated or fuzzy (make po, then translate them): %s"
                        % (po, len(untranslated), untranslated[:10]))
    if set(have) - msgids:
        failures.append("%s: texts the game no longer has (make po): %s"
                        % (po, sorted(set(have) - msgids)[:10]))
for f in failures:
    print("test_po:", f)
print("test_po: %d texts, %d languages besides French%s" % (
    len(msgids), len(pos), "" if failures else ", all translated"))
sys.exit(1 if failures else 0)
