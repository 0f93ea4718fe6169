#!/usr/bin/env python3
"""Build the installer's .ico files from the text pixel grids in res/icons/.

    python3 scripts/make_icons.py OUTDIR          write app.ico, folder_closed.ico, folder_open.ico
    python3 scripts/make_icons.py --png OUTDIR    write an enlarged PNG of every grid, for review
    python3 scripts/make_icons.py --check FILE    read an .ico back and compare it with its grids

A grid file has one character per pixel: a hex digit 0-F picks a colour from the
16-colour VGA palette below, '.' is transparent. Rows run top to bottom. Lines that
start with '#' are comments. Every image is stored as a 4-bit DIB, the format every
Windows version can show, so the icons look the same on old and new systems.
"""

import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ICON_DIR = os.path.normpath(os.path.join(HERE, os.pardir, "res", "icons"))

# The standard Windows 16-colour palette, in the order of its VGA indexes.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
TRANSPARENT = None

# Each .ico and its images, largest first: the shell picks the best match anyway,
# but tools that only look at the first entry then get the detailed picture. Every icon
# carries the sizes Windows asks for at 100, 150 and 200% display scale, so that none is
# stretched there: the folders at the small size (16, 24, 32 pixels), the application
# icon at both the small and the large one (32, 48; at 200% the large 64 is drawn from
# the 48 picture, to spare the bytes of a picture only the task switcher would show).
ICONS = {
    "app.ico": [("app_48.txt", 48), ("app_32.txt", 32), ("app_24.txt", 24), ("app_16.txt", 16)],
    "folder_closed.ico": [("folder_closed_32.txt", 32), ("folder_closed_24.txt", 24),
                          ("folder_closed_16.txt", 16)],
    "folder_open.ico": [("folder_open_32.txt", 32), ("folder_open_24.txt", 24),
                        ("folder_open_16.txt", 16)],
}


class GridError(Exception):
    """A problem in a grid file, already phrased as 'file:line: problem'."""


# ---------------------------------------------------------------- reading grids

def read_grid(path, size):
    """Return the grid as `size` rows of palette indexes (or TRANSPARENT)."""
    name = os.path.relpath(path)
    try:
        with open(path, encoding="ascii") as f:
            lines = f.read().split("\n")
    except (OSError, UnicodeDecodeError) as e:
        raise GridError(f"{name}:0: cannot read: {e}")
    if lines and lines[-1] == "":
        lines.pop()  # the newline that ends the last row does not start another

    rows = []
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\r")
        if line.startswith("#"):
            continue
        if len(rows) == size:
            raise GridError(f"{name}:{number}: more than {size} rows")
        if len(line) != size:
            raise GridError(f"{name}:{number}: row is {len(line)} pixels wide, expected {size}")
        rows.append([parse_pixel(c, name, number) for c in line])
    if len(rows) != size:
        raise GridError(f"{name}:{len(lines)}: {len(rows)} rows, expected {size}")
    return rows


def parse_pixel(c, name, number):
    if c == ".":
        return TRANSPARENT
    if c in "0123456789ABCDEF":
        return int(c, 16)
    raise GridError(f"{name}:{number}: {c!r} is not a palette character (0-9, A-F or '.')")


# ---------------------------------------------------------------- writing .ico

def pack_rows(rows, bits):
    """Pack rows of small integers, bottom row first, each row padded to 4 bytes.

    DIBs store the last scan line first, and every scan line starts on a DWORD.
    """
    out = bytearray()
    for row in reversed(rows):
        acc, nbits, line = 0, 0, bytearray()
        for value in row:
            acc = (acc << bits) | value
            nbits += bits
            if nbits == 8:
                line.append(acc)
                acc, nbits = 0, 0
        if nbits:
            line.append(acc << (8 - nbits))
        line.extend(b"\0" * (-len(line) % 4))
        out += line
    return bytes(out)


def encode_image(grid):
    """One icon image: BITMAPINFOHEADER, palette, XOR (colour) bitmap, AND mask."""
    size = len(grid)
    # Transparent pixels are black in the colour map so that the AND/XOR blit
    # leaves the screen untouched there.
    colours = [[0 if p is TRANSPARENT else p for p in row] for row in grid]
    mask = [[1 if p is TRANSPARENT else 0 for p in row] for row in grid]
    xor_bits = pack_rows(colours, 4)
    and_bits = pack_rows(mask, 1)
    # biHeight covers both bitmaps stacked; biSizeImage counts them too.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + xor_bits + and_bits


def build_ico(grids):
    """ICONDIR, one ICONDIRENTRY per image, then the images in the same order."""
    images = [encode_image(g) for g in grids]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for grid, image in zip(grids, images):
        size = len(grid)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return bytes(out)


def write_file(path, data):
    """Write beside the target and rename, so a failed run never leaves half a file."""
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def load_icon(ico_name):
    return [read_grid(os.path.join(ICON_DIR, src), size) for src, size in ICONS[ico_name]]


def make_icons(outdir):
    os.makedirs(outdir, exist_ok=True)
    for ico_name in ICONS:
        write_file(os.path.join(outdir, ico_name), build_ico(load_icon(ico_name)))


# ---------------------------------------------------------------- PNG previews

def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def encode_png(grid, scale):
    """An RGB PNG of the grid enlarged `scale` times; transparency shows as a checkerboard."""
    size = len(grid)
    raw = bytearray()
    for y in range(size * scale):
        raw.append(0)  # filter type: none
        for x in range(size * scale):
            p = grid[y // scale][x // scale]
            if p is TRANSPARENT:
                light = (x // (scale // 2 or 1) + y // (scale // 2 or 1)) % 2
                raw += bytes((0xE8, 0xE8, 0xE8) if light else (0xB8, 0xB8, 0xB8))
            else:
                raw += bytes(PALETTE[p])
    ihdr = struct.pack(">IIBBBBB", size * scale, size * scale, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


def make_previews(outdir):
    os.makedirs(outdir, exist_ok=True)
    for images in ICONS.values():
        for src, size in images:
            grid = read_grid(os.path.join(ICON_DIR, src), size)
            png = os.path.splitext(src)[0] + ".png"
            write_file(os.path.join(outdir, png), encode_png(grid, 256 // size))


# ---------------------------------------------------------------- reading .ico back

def unpack_rows(data, size, bits):
    """Inverse of pack_rows: top-to-bottom rows of `size` values."""
    stride = (size * bits + 31) // 32 * 4
    per_byte = 8 // bits
    rows = []
    for y in range(size):
        line = data[y * stride:(y + 1) * stride]
        row = []
        for x in range(size):
            shift = 8 - bits * (x % per_byte + 1)
            row.append((line[x // per_byte] >> shift) & ((1 << bits) - 1))
        rows.append(row)
    return rows[::-1]


def decode_image(image):
    """Turn one 4-bit DIB back into a grid, checking the header fields we rely on."""
    (hsize, width, height, planes, bitcount, compression, _, _, _, used, _) = \
        struct.unpack_from("<IiiHHIIiiII", image)
    if (hsize, planes, bitcount, compression) != (40, 1, 4, 0) or height != 2 * width \
            or used not in (0, 16):
        raise ValueError(f"unexpected BITMAPINFOHEADER for {width}x{width} image")
    palette = [struct.unpack_from("<BBBB", image, 40 + 4 * i) for i in range(16)]
    if [(r, g, b) for b, g, r, _ in palette] != PALETTE:
        raise ValueError("palette is not the VGA palette")
    size = width
    xor_len = (size * 4 + 31) // 32 * 4 * size
    and_len = (size + 31) // 32 * 4 * size
    if len(image) != 40 + 64 + xor_len + and_len:
        raise ValueError(f"{size}x{size} image is {len(image)} bytes, expected "
                         f"{40 + 64 + xor_len + and_len}")
    colours = unpack_rows(image[104:104 + xor_len], size, 4)
    mask = unpack_rows(image[104 + xor_len:], size, 1)
    grid = []
    for crow, mrow in zip(colours, mask):
        if any(m and c for c, m in zip(crow, mrow)):
            raise ValueError("a transparent pixel has a colour other than black")
        grid.append([TRANSPARENT if m else c for c, m in zip(crow, mrow)])
    return grid


def check_ico(path):
    """Parse an .ico we wrote and compare every image with its grid file."""
    ico_name = os.path.basename(path)
    if ico_name not in ICONS:
        raise ValueError(f"{ico_name} is not one of {', '.join(ICONS)}")
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data)
    expected = load_icon(ico_name)
    if (reserved, kind, count) != (0, 1, len(expected)):
        raise ValueError(f"ICONDIR is {reserved}/{kind}/{count}, expected 0/1/{len(expected)}")
    end = 6 + 16 * count
    for i, grid in enumerate(expected):
        w, h, colours, res, planes, bits, length, offset = \
            struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        size = len(grid)
        if (w, h, colours, res, planes, bits) != (size, size, 16, 0, 1, 4):
            raise ValueError(f"entry {i}: {w}x{h} {colours} colours {planes} planes "
                             f"{bits} bpp, expected {size}x{size} 16 colours 1 plane 4 bpp")
        if offset != end or offset + length > len(data):
            raise ValueError(f"entry {i}: image at {offset}+{length} is out of place")
        if decode_image(data[offset:offset + length]) != grid:
            raise ValueError(f"entry {i}: pixels differ from {ICONS[ico_name][i][0]}")
        end = offset + length
    if end != len(data):
        raise ValueError(f"{len(data) - end} stray bytes after the last image")
    print(f"{path}: ok, {', '.join(f'{len(g)}x{len(g)}' for g in expected)}")


# ---------------------------------------------------------------- command line

def main(argv):
    try:
        if len(argv) == 2 and argv[0] == "--png":
            make_previews(argv[1])
        elif len(argv) >= 2 and argv[0] == "--check":
            for path in argv[1:]:
                try:
                    check_ico(path)
                except (ValueError, struct.error) as e:
                    raise ValueError(f"{path}: {e}")
        elif len(argv) == 1 and not argv[0].startswith("-"):
            make_icons(argv[0])
        else:
            print("usage: make_icons.py OUTDIR | --png OUTDIR | --check FILE...", file=sys.stderr)
            return 2
    except (GridError, OSError, ValueError) as e:
        print(f"make_icons: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
