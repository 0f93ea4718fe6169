#!/usr/bin/env python3
"""The built payload's checksums against zlib's CRC-32 and the files packed.

    payload_sums.py PAYLOAD_FOLDER    a Windows build's payload_129-132.bin and records/

Every record's stored CRC is zlib's over its length field and bytes; every expanded CRC
and length is that of the file the record was packed from; the counts match and nothing
follows the last sum but the CRC of every byte before it."""
import glob
import os
import struct
import sys
import zlib

folder = sys.argv[1]
sums, at = open(os.path.join(folder, 'payload_132.bin'), 'rb').read(), 0
for resource in (129, 130, 131):
    data, offset = open(os.path.join(folder, f'payload_{resource}.bin'), 'rb').read(), 0
    files = sorted(glob.glob(os.path.join(folder, 'records', f'{resource}-*')))
    assert struct.unpack_from('<I', sums, at) == (len(files),), f'{resource}: not {len(files)} records counted'
    at += 4
    for file in files:
        length, = struct.unpack_from('<I', data, offset)
        want = open(file, 'rb').read()
        sums_wanted = (zlib.crc32(data[offset:offset + 4 + length]), zlib.crc32(want), len(want))
        assert struct.unpack_from('<3I', sums, at) == sums_wanted, f'{file}: stored CRC, CRC and length'
        at, offset = at + 12, offset + 4 + length
    assert data[offset:] == b'\0' * 4, f'{resource}: no end mark after the counted records'
assert sums[at:] == struct.pack('<I', zlib.crc32(sums[:at])), 'not the CRC of the sums alone after the last sum'
