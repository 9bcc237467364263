"""versilla-cli assign on corpus songs, the written songs read back with mido.

Usage: check_assign_cli.py VERSILLA_CLI CORPUS_DIR WORK_DIR

For each song: every lyric event of the result sits on the tick of a taken
melody note (intro words at one quarter note), the syllables appear in text
order, and the JSON counts agree with what the song holds.
"""
import json
import os
import re
import subprocess
import sys

import mido

CLI, CORPUS, WORK = sys.argv[1], sys.argv[2], sys.argv[3]
os.makedirs(WORK, exist_ok=True)
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)


def taken_notes(mid, channel, gleich=False):
    """Ticks of the notes the assignment takes: the first track holding a
    note-on of the channel, velocity above 0, a note at the previous taken
    note's tick only with gleich (the previous tick starts at 0)."""
    for track in mid.tracks:
        tick, ticks, found = 0, [], False
        for msg in track:
            tick += msg.time
            if msg.type == 'note_on' and msg.channel == channel - 1:
                found = True
                if msg.velocity > 0 and (gleich or tick != (ticks[-1] if ticks else 0)):
                    ticks.append(tick)
        if found:
            return ticks
    return []


def lyric_events(mid):
    out = []
    for track in mid.tracks:
        tick = 0
        for msg in track:
            tick += msg.time
            if msg.type == 'lyrics':
                out.append((tick, msg.text))
    return out


def syllables(line):
    return [s for s in re.split(r'[ -]+', line.strip()) if s]


def run(song, lines, intro, options=(), melody=1):
    name = os.path.basename(song).replace('.mid', '')
    text_path = os.path.join(WORK, name + '.txt')
    out_path = os.path.join(WORK, name + '.out.mid')
    with open(text_path, 'wb') as f:
        f.write('\n'.join(lines).encode('cp1252'))
    if os.path.exists(out_path):
        os.remove(out_path)
    cmd = [CLI, 'assign', song, text_path, '-o', out_path, '--melody', str(melody),
           '--intro-lines', str(intro)] + list(options)
    proc = subprocess.run(cmd, capture_output=True)
    if proc.returncode != 0:
        failures.append(f'{name}: exit {proc.returncode}: {proc.stderr.decode(errors="replace")}')
        return
    counts = json.loads(proc.stdout.decode())
    original = mido.MidiFile(song)
    result = mido.MidiFile(out_path)
    notes = taken_notes(original, melody)
    events = lyric_events(result)
    division = original.ticks_per_beat

    check(len(events) == counts['rows'], f'{name}: {len(events)} lyric events, {counts["rows"]} rows')
    intro_words = sum(len(l.split()) + 1 for l in lines[:intro])  # words and the line break
    sung = events[:]
    intro_events = [e for e in sung if e[0] == division][:intro_words] if intro else []
    for e in intro_events:
        sung.remove(e)
    check(len(intro_events) == intro_words, f'{name}: {len(intro_events)} intro events, expected {intro_words}')
    note_set = set(notes)
    off_note = [e for e in sung if e[0] not in note_set]
    check(not off_note, f'{name}: lyric events off the melody notes: {off_note[:5]}')

    syllable_events = [e for e in sung if e[1] != '\r']
    all_syllables = [s for l in lines[intro:] for s in syllables(l)]
    if '--hyphenate' not in options:
        got = [t.strip() for _, t in syllable_events]
        check(got == all_syllables[:len(got)], f'{name}: syllables out of order: {got[:8]} vs {all_syllables[:8]}')
        check(counts['syllablesLeft'] == len(all_syllables) - len(syllable_events),
              f'{name}: syllablesLeft {counts["syllablesLeft"]}, text has {len(all_syllables)}, '
              f'{len(syllable_events)} assigned')
    # Each taken note takes one syllable or counts as a note without one.
    check(len(set(t for t, _ in syllable_events)) + counts['notesWithoutSyllable'] == len(notes),
          f'{name}: {len(syllable_events)} syllables + {counts["notesWithoutSyllable"]} empty '
          f'!= {len(notes)} notes')
    check(counts['notesWithoutSyllable'] == 0 or counts['syllablesLeft'] == 0,
          f'{name}: both notes and syllables left over: {counts}')
    print(name, counts, 'notes', len(notes))


twinkle = ['Twinkle Twinkle Little Star',
           'Twin-kle, twin-kle, lit-tle star,',
           'how I won-der what you are.',
           'Up a-bove the world so high,',
           'like a dia-mond in the sky.']
run(os.path.join(CORPUS, 'generated', 'twinkle_twinkle.mid'), twinkle, 1)

haenschen = ['Häns-chen klein',
             'ging al-lein',
             'in die wei-te Welt hin-ein.',
             'Stock und Hut steht ihm gut,',
             'ist gar wohl-ge-mut.',
             'A-ber Mut-ter wei-net sehr,',
             'hat ja nun kein Häns-chen mehr.',
             'Da be-sinnt sich das Kind,',
             'kehrt nach Haus ge-schwind.',
             'Lie-be Mut-ter, ich bin hier,',
             'bin ja nun ganz nah bei dir.']
run(os.path.join(CORPUS, 'generated', 'haenschen_klein.mid'), haenschen, 0)

vogel = ['Kommt ein Vo-gel ge-flo-gen,', 'setzt sich nie-der auf mein Fuß,',
         'hat ein Zet-tel im Schna-bel,', 'von der Mut-ter ei-nen Gruß.',
         'Lie-ber Vo-gel, flie-ge wei-ter,', 'nimm ein Gruß mit und ein Kuss.']
run(os.path.join(CORPUS, 'generated', 'kommt_ein_vogel.mid'), vogel, 0)
run(os.path.join(CORPUS, 'generated', 'kommt_ein_vogel.mid'),
    ['Kommt ein Vogel geflogen', 'setzt sich nieder auf mein Fuß'], 0, ['--hyphenate', 'de'])

if failures:
    print('\n'.join(failures))
    sys.exit(1)
print('ok')
