#!/usr/bin/env python3
# Reads a built kwbsetup.exe back (objdump -p) and checks what decides
# whether old and new Windows load it: the imported DLLs and functions, the header's
# versions and flags, the relocations. The manifest is checked with the other resources.
#     pe_header_imports.py OBJDUMP EXE i686|x86_64
import os
import re
import subprocess
import sys

objdump, exe, arch = sys.argv[1:4]
# What each DLL may give, read from the list beside this script: "[x86_64 ]DLL: names",
# continued on indented lines.
allowed, key = {}, None
for line in open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'win95_nt4_imports.txt')):
    if line.strip() and not line.startswith('#'):
        key, line = line.split(':', 1) if not line[0].isspace() else (key, line)
        if len(key.split()) == 1 or key.split()[0] == arch:
            allowed.setdefault(key.split()[-1], set()).update(line.split())

dump = subprocess.run([objdump, '-p', exe], capture_output=True, text=True, check=True).stdout
# Each imported DLL's block: its name, then one line a function ("\tvma\thint name").
imports = {block.split()[0].upper(): re.findall(r'^\t[0-9a-f]+\t\s*\d+\s+(\S+)$', block, re.M)
           for block in dump.split('\tDLL Name: ')[1:]}
failures = [] if imports.get('KERNEL32.DLL') else ['no import table read']
failures += [f'{dll} is imported, which is not a known DLL of every supported Windows'
             for dll in imports if dll not in allowed]
failures += [f'{dll}!{name} is not on the list of what Windows 95 and NT 4.0 export'
             for dll, names in imports.items() for name in names if name not in allowed.get(dll, ())]

# The header: the highest subsystem and system version each build may ask for, an entry
# point, ASLR and DEP, and the relocations ASLR needs.
header = dict(re.findall(r'^(\w+)\s+([0-9a-fA-F]+)\s*$', dump, re.M))
highest = {'i686': (4, 0), 'x86_64': (5, 2)}[arch]
for field in ('SubsystemVersion', 'OSystemVersion'):
    version = (int(header.get('Major' + field, '99')), int(header.get('Minor' + field, '99')))
    failures += [f'{field} {version} is above {highest}'] if version > highest else []
failures += [] if int(header.get('AddressOfEntryPoint', '0'), 16) else ['there is no entry point']
characteristics = int(header.get('DllCharacteristics', '0'), 16)
failures += [f'{name} is not set' for name, bit in (('DYNAMIC_BASE', 0x40), ('NX_COMPAT', 0x100))
             if not characteristics & bit]
relocations = re.search(r'Entry 5 [0-9a-f]+ ([0-9a-f]+) Base Relocation', dump)
if not relocations or int(relocations.group(1), 16) == 0 or 'RELOCS_STRIPPED' in dump:
    failures.append('the relocations that ASLR needs are missing')

print(''.join(f'{exe}: {failure}\n' for failure in failures), end='')
sys.exit(1 if failures else 0)
