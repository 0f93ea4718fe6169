#!/usr/bin/env python3
"""Prints the size of a built kwbsetup.exe without its payload resources and icon images.

    python3 bench/size.py build/win32/kwbsetup.exe

The payload (RT_RCDATA 129, 130 and 131, and their checksums, 132) is the product's data,
and the icon images (RT_ICON) are pictures, not the installer's code, so the figure that
the size goal speaks of leaves both out; the icon images are listed apart.
"""

import struct
import sys

RT_ICON = 3
RT_RCDATA = 10
PAYLOAD_IDS = {129, 130, 131, 132}
# The goal for the installer's own bytes (everything but the payload and the icon images)
# in the i686 build.
GOAL = 34304


def sections(image):
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    count = struct.unpack_from("<H", image, pe + 6)[0]
    optional_size = struct.unpack_from("<H", image, pe + 20)[0]
    magic = struct.unpack_from("<H", image, pe + 24)[0]
    directories = pe + 24 + (96 if magic == 0x10B else 112)
    resource_rva = struct.unpack_from("<I", image, directories + 2 * 8)[0]
    table = pe + 24 + optional_size
    result = []
    for i in range(count):
        name, vsize, rva, raw_size, raw_pointer = struct.unpack_from("<8sIIII", image, table + 40 * i)
        result.append((name.rstrip(b"\0").decode(), vsize, rva, raw_size, raw_pointer))
    return result, resource_rva


def resource_bytes(image, section_list, resource_rva, wanted):
    for name, vsize, rva, raw_size, raw_pointer in section_list:
        if rva <= resource_rva < rva + max(vsize, raw_size):
            base = raw_pointer + (resource_rva - rva)
            break
    else:
        return 0

    def entries(offset):
        named, numbered = struct.unpack_from("<HH", image, base + offset + 12)
        for i in range(named + numbered):
            ident, target = struct.unpack_from("<II", image, base + offset + 16 + 8 * i)
            yield ident, target

    total = 0
    for type_id, type_target in entries(0):
        if not type_target & 0x80000000:
            continue
        for name_id, name_target in entries(type_target & 0x7FFFFFFF):
            if not wanted(type_id, name_id):
                continue
            for _, language_target in entries(name_target & 0x7FFFFFFF):
                size = struct.unpack_from("<I", image, base + language_target + 4)[0]
                total += size
    return total


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: size.py EXE")
    with open(sys.argv[1], "rb") as handle:
        image = handle.read()
    section_list, resource_rva = sections(image)
    payload = resource_bytes(image, section_list, resource_rva,
                             lambda kind, ident: kind == RT_RCDATA and ident in PAYLOAD_IDS)
    icons = resource_bytes(image, section_list, resource_rva, lambda kind, _: kind == RT_ICON)
    own = len(image) - payload - icons
    print(f"{sys.argv[1]}: {len(image)} bytes in all, {payload} bytes of payload, "
          f"{icons} bytes of icon images, {own} bytes ({own / 1024:.1f} KB) without them")
    print(f"  goal {GOAL} bytes: {'met' if own <= GOAL else 'missed'} by {abs(GOAL - own)} bytes")
    headers = min(raw_pointer for *_, raw_pointer in section_list if raw_pointer)
    print(f"  {'headers':<8} {headers:>8} bytes in the file")
    for name, vsize, _, raw_size, _ in section_list:
        print(f"  {name:<8} {raw_size:>8} bytes in the file, {vsize:>8} in use")


if __name__ == "__main__":
    main()
