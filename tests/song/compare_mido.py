#!/usr/bin/python3
"""Peer check of versilla-cli rewrite: mido reads every corpus file and its
rewritten copies (with and without running status) and must see the same
header and the same messages, times included. Files mido cannot read are
skipped; the check fails if no file could be compared.

    compare_mido.py VERSILLA_CLI CORPUS_DIR WORK_DIR
"""
import os
import subprocess
import sys

import mido


def load(path):
    f = mido.MidiFile(path)
    return f.type, f.ticks_per_beat, [list(t) for t in f.tracks]


def main():
    cli, corpus, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    compared = skipped = 0
    failures = []
    for folder, _, names in sorted(os.walk(corpus)):
        for name in sorted(names):
            if not name.endswith((".mid", ".kar")):
                continue
            src = os.path.join(folder, name)
            try:
                expected = load(src)
            except Exception as e:  # mido refuses some malformed files
                print(f"skip {src}: mido: {type(e).__name__}: {e}")
                skipped += 1
                continue
            for opts in ([], ["--running-status"]):
                out = os.path.join(work, name + ("-rs" if opts else "") + ".mid")
                r = subprocess.run([cli, "rewrite", *opts, src, out], capture_output=True, text=True)
                if r.returncode != 0:
                    failures.append(f"{src} {opts}: exit {r.returncode}: {r.stderr.strip()}")
                    continue
                try:
                    got = load(out)
                except Exception as e:
                    failures.append(f"{src} {opts}: mido cannot read the rewritten file: {e}")
                    continue
                if got[:2] != expected[:2]:
                    failures.append(f"{src} {opts}: header {got[:2]} != {expected[:2]}")
                elif len(got[2]) != len(expected[2]):
                    failures.append(f"{src} {opts}: {len(got[2])} tracks != {len(expected[2])}")
                else:
                    for i, (a, b) in enumerate(zip(expected[2], got[2])):
                        if a != b:
                            n = next((k for k, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
                            failures.append(f"{src} {opts}: track {i} differs at message {n}: "
                                            f"{a[n] if n < len(a) else None} != {b[n] if n < len(b) else None}")
                            break
                compared += 1
    for f in failures:
        print("FAIL", f)
    print(f"{compared} rewrites compared with mido, {skipped} files skipped, {len(failures)} failures")
    return 1 if failures or compared == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
