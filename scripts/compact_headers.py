#!/usr/bin/env python3
"""Moves the PE header of a linked 32-bit kwbsetup.exe up against the MZ header and drops
the zeros that end its writable section, in place.

    python3 scripts/compact_headers.py EXE

GNU ld puts its 64-byte DOS program between the MZ header and the PE header; with four
sections that makes the headers a few bytes longer than 512, so they take two
512-byte blocks of the file. Here the PE header starts right after the MZ header
(e_lfanew 0x40, which Windows 95, NT 4.0 and later load), SizeOfHeaders shrinks to
one block, every section's data moves down by the block saved, and the header
checksum is recomputed. The DOS program stays, split over bytes that nothing else
uses: its code and the start of its message in the MZ header's reserved fields, the
rest of the message after the section table. Run under DOS, the file still says it
cannot be run there.

GNU ld writes the zero-initialised data (.bss), which the layout puts last in the
writable section, into the file as zeros. The loader fills a section's memory beyond
its file data with zeros itself, so the whole 512-byte blocks of zeros at the end of a
writable section are dropped from the file: its size in memory stays, its size in the
file shrinks, and the sections after it move down.

The same input always gives the same output. A file the step cannot shorten (its
headers would not fit in fewer blocks) is left as it is; anything it does not expect
(a symbol table, a certificate, a debug directory, data the move would overwrite)
stops it with a message and leaves the file untouched.
"""

import os
import struct
import sys
import tempfile

MZ_HEADER = 0x40
FIRST_PART = b"This $"
SECOND_PART = b"program cannot be run in DOS mode.\r\r\n$"
# The MZ header's reserved words (e_res, e_oemid, e_oeminfo, e_res2), up to e_lfanew.
RESERVED_START, RESERVED_END = 0x1C, 0x3C


def fail(path, reason):
    sys.exit(f"compact_headers.py: {path}: {reason}")


def dos_program(first_part_offset, second_part_offset):
    """16-bit code that prints both parts of the message (given as offsets in the load
    module) and exits with 1."""
    return bytes([
        0x0E,                                       # push cs
        0x1F,                                       # pop ds
        0xB4, 0x09,                                 # mov ah, 9 (print up to '$')
        0xBA, *struct.pack("<H", first_part_offset),  # mov dx, first part
        0xCD, 0x21,                                 # int 21h
        0xBA, *struct.pack("<H", second_part_offset),  # mov dx, second part
        0xCD, 0x21,                                 # int 21h
        0xB8, 0x01, 0x4C,                           # mov ax, 4C01h (exit, code 1)
        0xCD, 0x21,                                 # int 21h
    ])


def checksum(image, checksum_offset):
    """The PE image checksum: 16-bit one's-complement-style sum, without the checksum
    field itself, plus the file length."""
    data = image[:checksum_offset] + b"\0\0\0\0" + image[checksum_offset + 4:]
    if len(data) % 2:
        data += b"\0"
    total = 0
    for (word,) in struct.iter_unpack("<H", data):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    total = (total & 0xFFFF) + (total >> 16)
    return (total + len(image)) & 0xFFFFFFFF


def compact(path, image):
    if len(image) < MZ_HEADER or image[:2] != b"MZ":
        fail(path, "not an MZ executable")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if pe < MZ_HEADER or image[pe:pe + 4] != b"PE\0\0":
        fail(path, "no PE header where the MZ header points")
    coff = pe + 4
    machine, count, _, symbols, _, optional_size, _ = struct.unpack_from("<HHIIIHH", image, coff)
    optional = coff + 20
    magic = struct.unpack_from("<H", image, optional)[0]
    if magic != 0x10B or machine != 0x14C:
        fail(path, "not a 32-bit x86 PE image")
    if symbols:
        fail(path, "it has a COFF symbol table (link with -s)")
    file_alignment = struct.unpack_from("<I", image, optional + 36)[0]
    headers_size = struct.unpack_from("<I", image, optional + 60)[0]
    directory_count = struct.unpack_from("<I", image, optional + 92)[0]
    directories = optional + 96
    if directory_count > 4 and any(struct.unpack_from("<II", image, directories + 8 * 4)):
        fail(path, "it is signed already; compact the headers before signing")
    if directory_count > 6 and any(struct.unpack_from("<II", image, directories + 8 * 6)):
        fail(path, "it has a debug directory, whose file offsets would move")

    table = optional + optional_size
    table_end = table + 40 * count
    new_pe = MZ_HEADER
    new_table_end = table_end - (pe - new_pe)
    new_headers_size = -(-new_table_end // file_alignment) * file_alignment
    saved = headers_size - new_headers_size
    if pe == new_pe or saved <= 0:
        return None
    second_part_offset = new_headers_size - len(SECOND_PART)
    if second_part_offset < new_table_end:
        fail(path, "the section table leaves no room for the DOS message")
    if any(image[table_end:headers_size]):
        fail(path, "there are bytes after the section table that the move would lose")

    if any(image[RESERVED_START:RESERVED_END]):
        fail(path, "the MZ header's reserved fields are not free")
    # DOS loads the file's first 512 bytes but the MZ header's two formatted paragraphs,
    # so the program's offsets are the file's less 0x20; 256 bytes of stack above them.
    module = 0x20
    first_part_offset = module + len(dos_program(0, 0))
    if first_part_offset + len(FIRST_PART) > RESERVED_END:
        fail(path, "the DOS program does not fit in the MZ header")
    program = dos_program(first_part_offset - module, second_part_offset - module)
    header = bytearray(new_headers_size)
    header[:MZ_HEADER] = image[:MZ_HEADER]
    struct.pack_into("<HHHH", header, 0x02, 0, 1, 0, module // 16)  # e_cblp, e_cp, e_crlc, e_cparhdr
    struct.pack_into("<HHHHHHHH", header, 0x0A,
                     0x10, 0xFFFF,                           # e_minalloc, e_maxalloc
                     0, new_headers_size - module + 0x100,   # e_ss, e_sp
                     0, 0, 0,                                # e_csum, e_ip, e_cs
                     0x40)                                   # e_lfarlc: a new-style header follows
    header[module:first_part_offset] = program
    header[first_part_offset:first_part_offset + len(FIRST_PART)] = FIRST_PART
    struct.pack_into("<I", header, 0x3C, new_pe)
    header[new_pe:new_table_end] = image[pe:table_end]
    header[second_part_offset:new_headers_size] = SECOND_PART

    new_optional = new_pe + 24
    struct.pack_into("<I", header, new_optional + 60, new_headers_size)
    new_table = new_optional + optional_size
    for i in range(count):
        raw_pointer_offset = new_table + 40 * i + 20
        raw_pointer = struct.unpack_from("<I", header, raw_pointer_offset)[0]
        if raw_pointer:
            if raw_pointer < headers_size:
                fail(path, "a section's data lies within the headers")
            struct.pack_into("<I", header, raw_pointer_offset, raw_pointer - saved)

    result = bytes(header) + image[headers_size:]
    checksum_offset = new_optional + 64
    if struct.unpack_from("<I", image, optional + 64)[0]:
        result = result[:checksum_offset] + struct.pack("<I", checksum(result, checksum_offset)) + \
            result[checksum_offset + 4:]
    return result


def trim_zeros(image):
    """The image without the blocks of zeros that end each writable section, or None
    when there are none."""
    coff = struct.unpack_from("<I", image, 0x3C)[0] + 4
    count, optional_size = struct.unpack_from("<H", image, coff + 2)[0], \
        struct.unpack_from("<H", image, coff + 16)[0]
    optional = coff + 20
    file_alignment = struct.unpack_from("<I", image, optional + 36)[0]
    table = optional + optional_size
    result = bytearray(image)
    saved_before = 0
    for i in range(count):
        entry = table + 40 * i
        raw_size, raw_pointer = struct.unpack_from("<II", result, entry + 16)
        flags = struct.unpack_from("<I", result, entry + 36)[0]
        if raw_pointer:
            raw_pointer -= saved_before
            struct.pack_into("<I", result, entry + 20, raw_pointer)
        if not raw_size or not flags & 0x80000000:  # IMAGE_SCN_MEM_WRITE
            continue
        data = result[raw_pointer:raw_pointer + raw_size]
        used = len(data.rstrip(b"\0"))
        kept = -(-used // file_alignment) * file_alignment
        if kept >= raw_size:  # no whole block of zeros (or a section not padded to one)
            continue
        struct.pack_into("<I", result, entry + 16, kept)
        del result[raw_pointer + kept:raw_pointer + raw_size]
        saved_before += raw_size - kept
    if not saved_before:
        return None
    checksum_offset = optional + 64
    if struct.unpack_from("<I", result, checksum_offset)[0]:
        struct.pack_into("<I", result, checksum_offset, checksum(bytes(result), checksum_offset))
    return bytes(result)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: compact_headers.py EXE")
    path = sys.argv[1]
    try:
        with open(path, "rb") as handle:
            image = handle.read()
    except OSError as error:
        sys.exit(f"compact_headers.py: {path}: {error.strerror}")
    try:
        compacted = compact(path, image)
        if compacted is not None:
            image = compacted
        trimmed = trim_zeros(image)
    except struct.error:
        fail(path, "the headers are cut short")
    result = trimmed if trimmed is not None else compacted
    if result is None:
        return
    folder = os.path.dirname(os.path.abspath(path))
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=os.path.basename(path) + ".")
    try:
        with os.fdopen(handle, "wb") as output:
            output.write(result)
        os.chmod(temporary, os.stat(path).st_mode & 0o7777)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


if __name__ == "__main__":
    main()
