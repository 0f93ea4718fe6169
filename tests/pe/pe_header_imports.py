#!/usr/bin/env python3
# Reads a built kwbsetup.exe back (objdump -p and its bytes) and checks what decides
# whether old and new Windows load it: the imported DLLs and functions, the header's
# versions and flags, the relocations and the manifest.
#     pe_header_imports.py OBJDUMP EXE i686|x86_64
import re
import subprocess
import sys

# Every function the installer may import, each exported by Windows 95 as first released
# and by NT 4.0 (KERNEL32, USER32, ADVAPI32 since NT 3.1; OLE32's three since NT 3.5).
# Where from: the Requirements line of each function's entry in the Win32 SDK reference
# ("Windows 95", "Windows NT 3.1" or later). Newer calls are looked up at run time.
ALLOWED = {
    'KERNEL32.DLL': '''Beep CloseHandle CreateDirectoryA CreateFileA DeleteFileA ExitProcess
        FindClose FindFirstFileA FindNextFileA FindResourceA FreeLibrary GetCommandLineA
        GetCurrentThreadId GetDiskFreeSpaceA GetDriveTypeA GetFileTime GetLastError
        GetModuleFileNameA GetModuleHandleA GetProcAddress GetProcessHeap GetStdHandle
        GetSystemDirectoryA GetTimeZoneInformation GetVersionExA GetWindowsDirectoryA
        GlobalAlloc GlobalFree HeapAlloc HeapFree IsDBCSLeadByte LoadLibraryA LoadLibraryExA
        LoadResource LockResource MultiByteToWideChar SetErrorMode SetFileTime
        SizeofResource SystemTimeToFileTime WriteFile''',
    'USER32.DLL': '''BeginPaint CallNextHookEx CallWindowProcA CharNextA CreateWindowExA
        DefWindowProcA DialogBoxParamA DrawIcon EndDialog EndPaint GetActiveWindow
        GetClientRect GetDlgItem GetKeyState GetLastActivePopup GetSystemMetrics GetWindow
        GetWindowLongA GetWindowRect GetWindowTextA GetWindowTextLengthA InflateRect IsIconic
        LoadCursorA LoadIconA LoadImageA MapWindowPoints MessageBoxA SendMessageA SetCursor
        SetDlgItemTextA SetFocus SetRect SetWindowLongA SetWindowPos SetWindowTextA
        SetWindowsHookExA ShowWindow SystemParametersInfoA UnhookWindowsHookEx WinHelpA''',
    'ADVAPI32.DLL': 'RegCloseKey RegCreateKeyExA RegOpenKeyA RegQueryValueExA RegSetValueExA',
    'OLE32.DLL': 'CoCreateInstance CoInitialize CoUninitialize',
}
# 64-bit Windows (from XP x64, 5.2) exports the pointer-sized window calls that are
# macros on 32 bits.
ALLOWED_64 = {'USER32.DLL': 'GetWindowLongPtrA SetWindowLongPtrA'}

# Header rows: field names, and the highest version each build may ask for.
VERSION_ROWS = [
    ('MajorSubsystemVersion', 'MinorSubsystemVersion', {'i686': (4, 0), 'x86_64': (5, 2)}),
    ('MajorOSystemVersion', 'MinorOSystemVersion', {'i686': (4, 0), 'x86_64': (5, 2)}),
]
# Flags that must be set in DllCharacteristics: ASLR and DEP.
FLAG_ROWS = [('DYNAMIC_BASE', 0x40), ('NX_COMPAT', 0x100)]
# The manifest's content as bytes that must appear in the file.
MANIFEST_ROWS = [(b'level="requireAdministrator"', 1), (b'<supportedOS Id="{', 5)]

objdump, exe, arch = sys.argv[1:4]
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
    allowed = (ALLOWED.get(dll, '') + ' ' + (ALLOWED_64.get(dll, '') if arch == 'x86_64' else '')).split()
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

image = open(exe, 'rb').read()
failures += [f'the manifest lacks {text!r} x{count}' for text, count in MANIFEST_ROWS
             if image.count(text) != count]

print(''.join(f'{exe}: {failure}\n' for failure in failures), end='')
sys.exit(1 if failures else 0)
