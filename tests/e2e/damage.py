"""Changes one byte in the middle of a packed payload resource inside an installer.

    damage.py INSTALLER PACKED_RESOURCE"""
import sys

installer, packed = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read()
at = installer.find(packed)
if at < 0:
    sys.exit(f'damage.py: {sys.argv[2]} is not in {sys.argv[1]}')
at += len(packed) // 2
open(sys.argv[1], 'wb').write(installer[:at] + bytes([installer[at] ^ 0x20]) + installer[at + 1:])
