#!/usr/bin/env python3
# Reads a built kwbsetup.exe back (objdump -p) and checks what decides
# whether old and new Windows load it: the imported DLLs and functions, the header's
# versions and flags, the relocations. The manifest is checked with the other resources.
#     pe_header_imports.py OBJDUMP EXE i686|x86_64
import os
import re
import subprocess
import sys

# What each DLL may give, read from the list beside this script: "[x86_64 ]DLL: names",
# continued on indented lines.
objdump, exe, arch = sys.argv[1:4]
ALLOWED, key = {}, None
for line in open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'win95_nt4_imports.txt')):
    if line.startswith('#') or not line.strip():
        continue
    if not line[0].isspace():
        key, line = line.split(':', 1)
        key = key.split()
    if len(key) == 1 or key[0] == arch:
        ALLOWED.setdefault(key[-1], []).extend(line.split())

# Header rows: field names, and the highest version each build may ask for.
VERSION_ROWS = [
    ('MajorSubsystemVersion', 'MinorSubsystemVersion', {'i686': (4, 0), 'x86_64': (5, 2)}),
    ('MajorOSystemVersion', 'MinorOSystemVersion', {'i686': (4, 0), 'x86_64': (5, 2)}),
]
# Flags that must be set in DllCharacteristics: ASLR and DEP.
FLAG_ROWS = [('DYNAMIC_BASE', 0x40), ('NX_COMPAT', 0x100)]

dump = subprocess.run([objdump, '-p', exe], capture_output=True, text=True, check=True).stdout
failures = []

imports, dll = {}, None
for line in dump.splitlines():
    named = re.match(r'\tDLL Name: (\S+)', line)
    if named:
        dll = named.group(1).upper()
        imports[dll] = []
    function = re.match(r'\t[0-9a-f]+\t\s*\d+\s+(\S+)$', line)
    if function and dll:
        imports[dll].append(function.group(1))
failures += [] if imports.get('KERNEL32.DLL') else ['no import table read']
for dll, functions in imports.items():
    allowed = ALLOWED.get(dll, [])
    if dll not in ALLOWED:
        failures.append(f'{dll} is imported, which is not a known DLL of every supported Windows')
    failures += [f'{dll}!{name} is not on the list of what Windows 95 and NT 4.0 export' for name in functions
                 if name not in allowed]

header = dict(re.findall(r'^(\w+)\s+([0-9a-fA-F]+)\s*$', dump, re.M))
for major, minor, highest in VERSION_ROWS:
    version = (int(header.get(major, '99')), int(header.get(minor, '99')))
    if version > highest[arch]:
        failures.append(f'{major[5:]} {version} is above {highest[arch]}')
failures += [] if int(header.get('AddressOfEntryPoint', '0'), 16) else ['there is no entry point']
characteristics = int(header.get('DllCharacteristics', '0'), 16)
failures += [f'{name} is not set' for name, bit in FLAG_ROWS if not characteristics & bit]
relocations = re.search(r'Entry 5 [0-9a-f]+ ([0-9a-f]+) Base Relocation', dump)
if not relocations or int(relocations.group(1), 16) == 0 or 'RELOCS_STRIPPED' in dump:
    failures.append('the relocations that ASLR needs are missing')

print(''.join(f'{exe}: {failure}\n' for failure in failures), end='')
sys.exit(1 if failures else 0)
