"""Checks the built data folder with an independent dBase reader: every shipped
table opens with its fields, the settings table holds its one row, and the
caption, message and language tables hold rows."""
import os
import sys

import dbfread

EXPECTED = {
    "Versilla": ["FARBE", "FARBEBACK", "COPYRIGHT", "GLEICH", "INSTLANG", "DEVICENR",
                 "MELODIE", "TEXTSPUR", "RUNEVENTS", "SPRACHE", "QUANTISIER"],
    "texte0": ["ZEIT", "TEXT", "STRZEIT", "GESTICKS", "START", "MEHRFACH", "ACHTEL"],
    "tempo0": ["NR", "GESTICKS"],
    "Objekte": ["SPRACHE", "FORM", "OBJEKT", "CAPTION", "HINT"],
    "Messages": ["SPRACHE", "GRUPPE", "NUMMER", "HINWEIS", "NACHRICHT"],
    "InstSpr": ["SPRACHE", "FLAGGE", "NR"],
}

failures = []


def fail(text):
    failures.append(text)


def main():
    folder = sys.argv[1]
    tables = {}
    for alias, fields in EXPECTED.items():
        path = os.path.join(folder, alias + ".dbf")
        if not os.path.exists(path):
            fail(f"{path} missing")
            continue
        table = dbfread.DBF(path, encoding=None)
        if table.field_names != fields:
            fail(f"{alias}: fields {table.field_names}, expected {fields}")
        if table.encoding != "cp1252":
            fail(f"{alias}: code page {table.encoding}")
        tables[alias] = list(table)

    settings = tables.get("Versilla", [])
    if len(settings) != 1:
        fail(f"Versilla: {len(settings)} rows, expected exactly one")
    else:
        row = settings[0]
        want = {"FARBE": 12632256, "SPRACHE": 0, "QUANTISIER": 0, "COPYRIGHT": False,
                "GLEICH": False, "RUNEVENTS": False, "FARBEBACK": None, "INSTLANG": None,
                "DEVICENR": None, "MELODIE": None, "TEXTSPUR": None}
        for name, value in want.items():
            if row[name] != value:
                fail(f"Versilla: {name} = {row[name]!r}, expected {value!r}")
    for alias in ("texte0", "tempo0"):
        if tables.get(alias):
            fail(f"{alias}: a template must have no rows")
    for alias in ("Objekte", "Messages", "InstSpr"):
        if not tables.get(alias):
            fail(f"{alias}: no rows")

    # The start-up message the program needs first, in German.
    if not any(r["SPRACHE"] == 0 and r["GRUPPE"] == 1 and r["NUMMER"] == 6 and r["NACHRICHT"]
               for r in tables.get("Messages", [])):
        fail("Messages: message 1/6 in language 0 missing or empty")
    for r in tables.get("InstSpr", []):
        if not r["FLAGGE"]:
            fail(f"InstSpr: language {r['NR']} has no flag picture")
    for tags in ("texte0", "tempo0", "Objekte", "Messages", "InstSpr"):
        if not os.path.exists(os.path.join(folder, tags + ".tags")):
            fail(f"{tags}.tags missing")
    if not os.path.exists(os.path.join(folder, "help", "0", "1001.html")):
        fail("help/0/1001.html missing")

    for f in failures:
        print("FAIL", f)
    if failures:
        sys.exit(1)
    print("data folder ok:", ", ".join(f"{a} {len(r)} rows" for a, r in tables.items()))


if __name__ == "__main__":
    main()
