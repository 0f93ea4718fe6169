#!/usr/bin/env python3
# Reads the resources of a built kwbsetup.exe back, each as lines of text, and compares them
# with their lines in resources.txt: the dialog templates, the icon groups and the version
# record, as the executable carries them.
#     resources.py EXE TABLE
import struct
import sys

exe, table = sys.argv[1:3]
image = open(exe, 'rb').read()


def number(at, size):
    return int.from_bytes(image[at:at + size], 'little')


header = number(0x3C, 4)
optional = header + 24
directories = optional + (112 if number(optional, 2) == 0x20B else 96)
sections = [struct.unpack_from('<8xIIII', image, optional + number(header + 20, 2) + 40 * i)
            for i in range(number(header + 6, 2))]


def offset(rva):
    return next(rva - address + raw for size, address, raw_size, raw in sections
                if address <= rva < address + max(size, raw_size))


root = offset(number(directories + 2 * 8, 4))


def resource(kind, ident):
    """The bytes of the resource's first language, or none."""
    level = root
    for key in (kind, ident, None):
        entries = [struct.unpack_from('<II', image, level + 16 + 8 * i)
                   for i in range(number(level + 12, 2) + number(level + 14, 2))]
        target = next((t for name, t in entries if key is None or name == key), None)
        if target is None:
            return b''
        level = root + (target & 0x7FFFFFFF)
    rva, size = struct.unpack_from('<II', image, level)
    return image[offset(rva):offset(rva) + size]


class Reader:
    """Takes little-endian fields of a resource in turn, as text: x and X a 16- and 32-bit
    number in hex, b, d and D an 8-, 16- and 32-bit number in decimal, n a name or
    ordinal ("#n"), t a text."""

    def __init__(self, data, at=0):
        self.data, self.at = data, at

    def number(self, size):
        self.at += size
        return int.from_bytes(self.data[self.at - size:self.at], 'little')

    def text(self):
        characters = iter(lambda: self.number(2), 0)
        return ''.join(map(chr, characters))

    def fields(self, letters):
        out = []
        for letter in letters:
            if letter in 'xX':
                out.append('%x' % self.number(2 if letter == 'x' else 4))
            elif letter == 'n' and self.data[self.at:self.at + 2] == b'\xff\xff':
                out.append('#%d' % (self.number(4) >> 16))
            elif letter in 'nt':
                out.append('"%s"' % self.text())
            else:
                out.append(str(self.number({'b': 1, 'd': 2, 'D': 4}[letter])))
        return ' '.join(out)

    def align(self):
        self.at += -self.at % 4


def dialog(ident, head, control, controls):
    """Setup: version, signature, help id, extended style, style, control count, x, y, cx,
    cy, menu, class, title, then the font; each control: help id, extended style, style, x,
    y, cx, cy, id, class, caption, creation data. The folder browser's classic template
    has no version, signature or help ids, and its font follows the title."""
    reader = Reader(resource(5, ident))
    lines = [reader.fields(letters) for letters in head]
    for _ in range(controls):
        reader.align()
        lines.append(reader.fields(control))
    return lines + ['end' if reader.at == len(reader.data) else 'not at the end']


def icons(ident):
    """Each image: width, height, colours, reserved, planes and bits per pixel."""
    reader = Reader(resource(14, ident), 4)
    images = []
    for _ in range(reader.number(2)):
        images.append(reader.fields('bbbbdd'))
        reader.number(6)  # its size and id
    return images


def version_values(data, start, end, path, values):
    """The blocks of a version record by their path ("\\StringFileInfo\\040904b0\\...")."""
    while start + 6 <= end:
        reader = Reader(data, start)
        length, value_length, kind = reader.number(2), reader.number(2), reader.number(2)
        key = path + '\\' + reader.text()
        reader.align()
        value = data[reader.at:reader.at + value_length * (2 if kind == 1 else 1)]
        values[key] = value.decode('utf-16-le').split('\0')[0] if kind == 1 else value
        children = reader.at + len(value)
        version_values(data, children + -children % 4, start + length, key, values)
        start += length + -length % 4
    return values


def version():
    data = resource(16, 1)
    values = version_values(data, 0, len(data), '', {})
    fixed = struct.unpack_from('<13I', values.get('\\VS_VERSION_INFO', b'\0' * 52))
    translation = struct.unpack_from('<HH', values.get('\\VS_VERSION_INFO\\VarFileInfo\\Translation', b'\0' * 4))
    lines = ['%x %x %x %x os %x type %x flags %x' % (fixed[2:6] + (fixed[8], fixed[9], fixed[7] & fixed[6])),
             'translation %d %d' % translation]
    for name in ('CompanyName FileDescription FileVersion InternalName OriginalFilename ProductName '
                 'ProductVersion Comments LegalTrademarks PrivateBuild SpecialBuild').split():
        value = values.get('\\VS_VERSION_INFO\\StringFileInfo\\040904b0\\' + name)
        lines.append(name + (' missing' if value is None else '=' + value))
    return lines


readers = {
    "[the Setup dialog's": lambda: dialog(102, ['xxXXXdddddnnt', 'ddbbt'], 'XXXddddDnnd', 8),
    "[the folder browser's": lambda: dialog(149, ['XXdddddnntdt'], 'XXdddddnnd', 6),
    '[the application icon': lambda: icons(128),
    '[the closed folder icon': lambda: icons(178),
    '[the version record': version,
}
expected, what = {}, None
for line in open(table, encoding='utf-8').read().splitlines():
    if line.startswith('['):
        what = expected.setdefault(line, [])
    elif not line.startswith('#'):
        what.append(line)
failures = []
for title, read in readers.items():
    found = [lines for heading, lines in expected.items() if heading.startswith(title)]
    got = read()
    if not found or got != found[0]:
        failures.append(f'{title}...]: read\n  ' + '\n  '.join(got) + '\nexpected\n  ' +
                        '\n  '.join(found[0] if found else ['(no such heading in the table)']))
if failures:
    print('\n'.join(failures))
sys.exit(1 if failures else 0)
