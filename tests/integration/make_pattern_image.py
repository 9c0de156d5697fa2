#!/usr/bin/python3
"""Writes a cue sheet and one WAVE file per track whose every stereo frame
says where it is: frame n of the disc's audio has left = n & 0xFFFF and
right = (n >> 16) ^ 0x5A5A, so a capture shows which samples were played.
Usage: make_pattern_image.py DIR SECONDS [SECONDS...]"""
import struct
import sys
import wave

folder, seconds = sys.argv[1], [int(s) for s in sys.argv[2:]]
lines = ['TITLE "Pattern Disc"']
n = 0
for number, length in enumerate(seconds, 1):
    name = f"track{number:02}.wav"
    frames = length * 44100
    with wave.open(f"{folder}/{name}", "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(44100)
        out.writeframes(b"".join(
            struct.pack("<HH", i & 0xFFFF, ((i >> 16) ^ 0x5A5A) & 0xFFFF)
            for i in range(n, n + frames)))
    n += frames
    lines += [f'FILE "{name}" WAVE', f"  TRACK {number:02} AUDIO", "    INDEX 01 00:00:00"]
with open(f"{folder}/pattern.cue", "w") as cue:
    cue.write("\n".join(lines) + "\n")
