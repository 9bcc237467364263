"""Runs the data folder builder on small sources: good ones must give tables
that read back with escapes and umlauts intact; bad ones must fail the build
with a message naming file and line."""
import os
import subprocess
import sys
import tempfile

import dbfread

MKDATA = sys.argv[1]

GOOD = {
    "messages.tsv": "SPRACHE\tGRUPPE\tNUMMER\tHINWEIS\tNACHRICHT\n"
                    "# comment\n\n"
                    "0\t1\t6\tFehler\tZeile 1\\r\\nZeile \u00e4\\tTab \\\\ Ende\n",
    "captions.tsv": "SPRACHE\tFORM\tOBJEKT\tCAPTION\tHINT\n"
                    "0\t1\tCaption\tVersilla \u00bb\t\n"
                    "0\t1\tItem100\t&Midi\tM\n",
    "languages.tsv": "NR\tSPRACHE\tFLAGGE\n0\tDeutsch\tde.xpm\n",
}


def build(sources, flags=("de.xpm",)):
    src = tempfile.mkdtemp()
    out = os.path.join(tempfile.mkdtemp(), "data")
    for name, text in sources.items():
        with open(os.path.join(src, name), "w", encoding="utf-8") as f:
            f.write(text)
    os.mkdir(os.path.join(src, "flags"))
    for flag in flags:
        with open(os.path.join(src, "flags", flag), "wb") as f:
            f.write(b"\x00\x01picture\xff")
    run = subprocess.run([MKDATA, src, out], capture_output=True, text=True)
    return run, out


failures = []

run, out = build(GOOD)
if run.returncode != 0:
    failures.append("good sources failed: " + run.stderr)
else:
    msg = list(dbfread.DBF(os.path.join(out, "Messages.dbf"), encoding=None))
    if [m["NACHRICHT"] for m in msg] != ["Zeile 1\r\nZeile \u00e4\tTab \\ Ende"]:
        failures.append(f"message text read back as {[m['NACHRICHT'] for m in msg]!r}")
    cap = list(dbfread.DBF(os.path.join(out, "Objekte.dbf"), encoding=None))
    if [(c["OBJEKT"], c["CAPTION"], c["HINT"]) for c in cap] != [("Caption", "Versilla \u00bb", ""), ("Item100", "&Midi", "M")]:
        failures.append(f"captions read back as {cap!r}")
    lang = list(dbfread.DBF(os.path.join(out, "InstSpr.dbf"), encoding=None))
    if [bytes(l["FLAGGE"]) for l in lang] != [b"\x00\x01picture\xff"]:
        failures.append(f"flag read back as {lang!r}")

BAD = [
    ("character outside the code page", {"captions.tsv": GOOD["captions.tsv"] + "0\t2\tCaption\tPfeil \u2192\t\n"},
     (), ["captions.tsv:4", "U+2192"]),
    ("duplicate message key", {"messages.tsv": GOOD["messages.tsv"] + "0\t1\t6\tNochmal\tdoppelt\n"},
     (), ["messages.tsv:5", "duplicate"]),
    ("duplicate caption key", {"captions.tsv": GOOD["captions.tsv"] + "0\t1\tItem100\tanders\t\n"},
     (), ["captions.tsv:4", "duplicate"]),
    ("bad number", {"messages.tsv": GOOD["messages.tsv"] + "0\tx\t7\tA\tB\n"}, (), ["messages.tsv:5", "GRUPPE"]),
    ("wrong header", {"captions.tsv": "SPRACHE\tFORM\tOBJEKT\n"}, (), ["captions.tsv:1", "header"]),
    ("missing flag picture", {}, ("other.xpm",), ["languages.tsv:2", "de.xpm"]),
]
for name, change, flags, expected in BAD:
    sources = dict(GOOD)
    sources.update(change)
    run, _ = build(sources, flags or ("de.xpm",))
    if run.returncode == 0:
        failures.append(f"{name}: build succeeded")
    for part in expected:
        if part not in run.stderr:
            failures.append(f"{name}: message {run.stderr.strip()!r} lacks {part!r}")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
