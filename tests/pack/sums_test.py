#!/usr/bin/env python3
"""The payload's checksums against zlib's CRC-32 and the files packed.

    sums_test.py KWBPACK                  packs real files into resources here and sums them
    sums_test.py --built PAYLOAD_FOLDER   a Windows build's payload_129-132.bin and records/

Every record's stored CRC is zlib's over its length field and bytes; every expanded CRC
and length is that of the file the record was packed from; the counts match and nothing
follows the last sum but the CRC of every byte before it."""
import glob
import os
import struct
import subprocess
import sys
import tempfile
import zlib


def check(resources, sums, originals):
    at = 0
    for resource, files in zip(resources, originals):
        data, offset = open(resource, 'rb').read(), 0
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


def main():
    if sys.argv[1] == '--built':
        folder = sys.argv[2]
        resources = [os.path.join(folder, f'payload_{i}.bin') for i in (129, 130, 131)]
        originals = [sorted(glob.glob(os.path.join(folder, 'records', f'{i}-*'))) for i in (129, 130, 131)]
        return check(resources, open(os.path.join(folder, 'payload_132.bin'), 'rb').read(), originals)
    # Real files at hand: executables and a text.
    originals = [['/bin/ls'], ['/etc/services', '/bin/cat'], ['/bin/true']]
    with tempfile.TemporaryDirectory() as work:
        resources = [os.path.join(work, f'{i}.bin') for i in range(3)]
        for resource, files in zip(resources, originals):
            subprocess.run([sys.argv[1], 'resource', resource, *files], check=True)
        subprocess.run([sys.argv[1], 'sums', os.path.join(work, 'sums'), *resources], check=True)
        check(resources, open(os.path.join(work, 'sums'), 'rb').read(), originals)


if __name__ == '__main__':
    main()
