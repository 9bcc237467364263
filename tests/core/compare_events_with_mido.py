#!/usr/bin/python3
"""Compares `versilla-cli events FILE` with what mido reads, for every song
file under a folder that mido can read.

    compare_events_with_mido.py CLI FOLDER

Per track it compares the number of events and, per event, the absolute tick
and the bytes: channel events in full, meta events by type and data, system
exclusive events by their payload (mido drops the count and the F0/F7 framing).
Exits 1 on any difference, or when no file could be compared.
"""
import json
import pathlib
import subprocess
import sys

import mido


def quantity(data, pos):
    value = 0
    while True:
        b = data[pos]
        pos += 1
        value = (value << 7) | (b & 0x7F)
        if b < 0x80:
            return value, pos


def ours_key(ev):
    ticks, status, d1, d2, hexdata = ev
    data = bytes.fromhex(hexdata)
    if status == 0xFF:
        return (ticks, "meta", d1, data)
    if status in (0xF0, 0xF7):
        count, pos = quantity(data, 0)
        payload = data[pos:pos + count]
        if payload[:1] == b"\xf0":
            payload = payload[1:]
        if payload[-1:] == b"\xf7":
            payload = payload[:-1]
        return (ticks, "sysex", 0, payload)
    return (ticks, "channel", status, bytes([d1, d2]))


def mido_key(ticks, msg):
    if msg.is_meta:
        raw = bytes(msg.bytes())
        length, pos = quantity(raw, 2)
        return (ticks, "meta", raw[1], raw[pos:pos + length])
    if msg.type == "sysex":
        return (ticks, "sysex", 0, bytes(msg.data))
    raw = bytes(msg.bytes())
    return (ticks, "channel", raw[0], (raw[1:] + b"\0\0")[:2])


def main():
    cli, folder = sys.argv[1], pathlib.Path(sys.argv[2])
    compared, failures = 0, []
    for path in sorted(list(folder.rglob("*.mid")) + list(folder.rglob("*.kar"))):
        try:
            peer = mido.MidiFile(str(path))
        except Exception:
            continue  # mido refuses it; the malformed-input tests cover these
        if not peer.tracks:
            continue  # mido reads a track count above 32767 as negative and gives no tracks
        out = subprocess.run([cli, "events", str(path)], capture_output=True, check=True)
        ours = json.loads(out.stdout.decode("utf-8"))
        if ours["trackCount"] != len(peer.tracks) or ours["division"] != peer.ticks_per_beat:
            failures.append(f"{path}: tracks {ours['trackCount']} vs {len(peer.tracks)}, "
                            f"division {ours['division']} vs {peer.ticks_per_beat}")
            continue
        for t, (mine, theirs) in enumerate(zip(ours["tracks"], peer.tracks)):
            ticks, keys = 0, []
            for msg in theirs:
                ticks += msg.time
                try:
                    keys.append(mido_key(ticks, msg))
                except Exception:
                    keys.append(None)  # mido cannot encode what it read; skip that event
            mine_keys = [ours_key(ev) for ev in mine["events"]]
            if len(mine_keys) != len(keys):
                failures.append(f"{path} track {t}: {len(mine_keys)} events vs {len(keys)}")
                continue
            for i, (a, b) in enumerate(zip(mine_keys, keys)):
                if b is not None and a != b:
                    failures.append(f"{path} track {t} event {i}: {a} vs {b}")
                    break
        compared += 1
    for f in failures:
        print(f)
    print(f"{compared} files compared, {len(failures)} differences")
    return 1 if failures or compared == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
