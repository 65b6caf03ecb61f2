#!/usr/bin/env python3
"""Builds the demo drives: copies demo/d and demo/e into the build tree and
writes the sound of every CUE sheet's BINARY file there.

    makedrives.py SOURCE_DEMO_FOLDER OUTPUT_FOLDER

For each FILE "x.bin" BINARY of a sheet, the tracks' INDEX 01 times give
where each tune starts, and "REM DATA LENGTH mm:ss:ff" how long the file is.
Each track is a short tune of sine tones (16-bit stereo, 44100 Hz, little
endian: CD audio as a BINARY file holds it). The file is written beside and
renamed into place, so a drive never sees half of it.
"""
import math
import os
import re
import shutil
import struct
import sys

RATE = 44100
FRAME_BYTES = 2352
SAMPLES_PER_FRAME = 588
NOTE_SAMPLES = RATE // 4  # a quarter of a second
SCALE = [0, 2, 4, 5, 7, 9, 11, 12, 14, 16]


def frames_of(msf):
    minutes, seconds, frames = (int(part) for part in msf.split(":"))
    return (minutes * 60 + seconds) * 75 + frames


def read_sheet(path):
    """Returns [(file name, [track starts in frames], length in frames)]."""
    files = []
    length = None
    with open(path, encoding="latin-1") as sheet:
        for line in sheet:
            words = line.split()
            if not words:
                continue
            keyword = words[0].upper()
            if keyword == "REM" and len(words) == 4 and words[1].upper() == "DATA" and words[2].upper() == "LENGTH":
                length = frames_of(words[3])
            elif keyword == "FILE":
                match = re.match(r'\s*FILE\s+"([^"]+)"\s+(\w+)', line, re.IGNORECASE)
                if not match or match.group(2).upper() != "BINARY":
                    sys.exit("%s: only quoted BINARY files can be generated" % path)
                files.append([match.group(1), [], None])
            elif keyword == "INDEX" and len(words) == 3 and words[1] == "01" and files:
                files[-1][1].append(frames_of(words[2]))
    if length is None or len(files) != 1:
        sys.exit("%s: needs one FILE and REM DATA LENGTH" % path)
    files[0][2] = length
    return files


def note(semitones, cache):
    """One quarter-second note, fading in and out, as bytes."""
    if semitones in cache:
        return cache[semitones]
    if semitones is None:
        data = bytes(NOTE_SAMPLES * 4)
    else:
        frequency = 220.0 * 2 ** (semitones / 12.0)
        samples = bytearray()
        for i in range(NOTE_SAMPLES):
            fade = min(1.0, i / 220.0, (NOTE_SAMPLES - i) / 1500.0)
            t = i / RATE
            value = math.sin(2 * math.pi * frequency * t) + 0.3 * math.sin(4 * math.pi * frequency * t)
            left = int(7000 * fade * value)
            right = int(7000 * fade * math.sin(2 * math.pi * frequency * 1.003 * t + 0.4))
            samples += struct.pack("<hh", left, right)
        data = bytes(samples)
    cache[semitones] = data
    return data


def tune(track, frames, cache):
    """The sound of one track: a walk over the scale that differs per track."""
    total = frames * FRAME_BYTES
    out = bytearray()
    step = 0
    while len(out) < total:
        if step % 8 == 7 and track % 3 == 0:
            pitch = None  # a rest now and then
        else:
            pitch = SCALE[(track * 3 + step * (track % 4 + 1)) % len(SCALE)] + 12 * (track % 2)
        out += note(pitch, cache)
        step += 1
    return bytes(out[:total])


def write_binary(path, starts, length):
    cache = {}
    temporary = path + ".part"
    with open(temporary, "wb") as out:
        bounds = starts + [length]
        for track in range(len(starts)):
            out.write(tune(track + 1, bounds[track + 1] - bounds[track], cache))
    os.replace(temporary, path)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: makedrives.py SOURCE_DEMO_FOLDER OUTPUT_FOLDER")
    source, output = sys.argv[1], sys.argv[2]
    for drive in ("d", "e"):
        into = os.path.join(output, drive)
        os.makedirs(into, exist_ok=True)
        for name in sorted(os.listdir(os.path.join(source, drive))):
            shutil.copyfile(os.path.join(source, drive, name), os.path.join(into, name))
            if name.lower().endswith(".cue"):
                for file_name, starts, length in read_sheet(os.path.join(source, drive, name)):
                    write_binary(os.path.join(into, file_name), starts, length)


if __name__ == "__main__":
    main()
