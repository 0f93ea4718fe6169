#!/usr/bin/env python3
"""Writes the product files that the Wine extraction tests pack and install.

    make_test_payload.py OUTDIR

The files are made from a fixed seed, so every build writes the same bytes. They read
like a mix of text and binary data, which compresses about as well as real program files
do. The 3.1.1 edition's KWB.exe expands to more than a 1 MB drive can hold while its
compressed record fits on one: the full-disk test relies on both.
"""
import os
import sys

WORDS = [b"Vistrel", b"Image", b"Browser", b"thumbnail", b"JPEG", b"folder", b"window",
         b"\r\n", b"\x00\x00\x00", b"\xff\xfe", b"MZ", b"PE\x00\x00", b"slide", b"zoom"]

FILES = [
    ("311-KWB.exe", 1, 1_200_000),
    ("311-KWB.hlp", 2, 40_000),
    ("311-KWB.cnt", 3, 900),
    ("311-uninstall.exe", 4, 20_000),
    ("42-KWB.exe", 11, 150_000),
    ("42-KWB.hlp", 12, 45_000),
    ("42-KWB.cnt", 13, 1_100),
    ("42-uninstall.exe", 14, 21_000),
    ("ijl15.dll", 20, 60_000),
]


def generate(seed, size):
    state = (seed * 2654435761 + 1) & 0xFFFFFFFF
    out = bytearray()
    while len(out) < size:
        state = (state * 1664525 + 1013904223) & 0xFFFFFFFF
        out += WORDS[(state >> 16) % len(WORDS)]
        # Noise now and then keeps the data from being all matches.
        if (state >> 8) % 3 == 0:
            out.append(state >> 24)
        if (state >> 4) % 5 == 0:
            out += (state & 0xFFFF).to_bytes(2, "little")
    return bytes(out[:size])


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_test_payload.py OUTDIR")
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    for name, seed, size in FILES:
        data = generate(seed, size)
        path = os.path.join(outdir, name)
        # Rewrite only what changed, so that the build does not pack again for nothing.
        if os.path.exists(path):
            with open(path, "rb") as existing:
                if existing.read() == data:
                    continue
        with open(path + ".part", "wb") as part:
            part.write(data)
        os.replace(path + ".part", path)


if __name__ == "__main__":
    main()
