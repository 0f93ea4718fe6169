#!/usr/bin/env python3
"""Writes the package manager's manifest of a release: the three files of a multi-file
manifest (version, installer, default locale), schema 1.10.0 (packaging/schema-1.10.0/).

    python3 packaging/winget.py --installer EXE --url URL --out DIR [--date YYYY-MM-DD]

Every value the installer itself decides is read from the program's sources, so that the
manifest promises what the program does: the product, publisher and uninstall key's name
and the edition versions from src/install/registration.cpp, the switches from the usage
text in src/app/command_line.cpp, the exit codes from src/app/exit_code.h."""
import argparse
import datetime
import hashlib
import os
import re
import sys

import yaml

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCHEMAS = os.path.join(ROOT, 'packaging', 'schema-1.10.0')
MANIFEST_VERSION = '1.10.0'
IDENTIFIER = 'Corvane.VistrelImageBrowser'

# What the package manager is to make of each exit code, by the name the program gives it
# (the schema's list of responses; 0 is success to every installer type).
RESPONSES = {
    'ExitBadCommandLine': 'invalidParameter',
    'ExitUnsupportedPlatform': 'systemNotSupported',
    'ExitFolderNotCreated': 'invalidParameter',
    'ExitFileNotWritten': 'contactSupport',
    'ExitDamagedInstaller': 'contactSupport',
    'ExitAlreadyRunning': 'installInProgress',
    'ExitFileInUse': 'fileInUse',
}


def source(path):
    with open(os.path.join(ROOT, path), encoding='utf-8') as text:
        return text.read()


def one(pattern, text, what):
    found = re.search(pattern, text)
    if not found:
        sys.exit(f'winget.py: {what} not found in the sources')
    return found


def exit_codes():
    """The program's exit codes, name to number, as src/app/exit_code.h lists them."""
    body = one(r'enum ExitCode \{([^}]*)\}', source('src/app/exit_code.h'), 'enum ExitCode')
    return {name: int(value) for name, value in re.findall(r'(\w+) = (\d+)', body.group(1))}


def program_values():
    """What the installer writes and accepts, read from its sources."""
    registration = source('src/install/registration.cpp')
    usage = one(r'CommandLineUsage\[\] =\s*"Usage: \S+ ([^"\\]*)', source('src/app/command_line.cpp'),
                'the usage text').group(1)
    editions = one(r'EditionVersion\(int edition\) \{ return edition == 1 \? "([^"]+)" : "([^"]+)"',
                   registration, 'EditionVersion')
    version = editions.group(1)
    options = re.findall(r'\[([^]]*)\]', usage)  # [/S] [/EDITION=a|/EDITION=b] [/LOG=file] [/D=folder]
    silent, edition, log, folder = options
    if f'/EDITION={version}' not in edition.split('|'):
        sys.exit(f'winget.py: the usage text offers no /EDITION={version}')
    return {
        'version': version,
        'product': one(r'ProductName\[\] = "([^"]+)"', registration, 'ProductName').group(1),
        'publisher': one(r'Publisher\[\] = "([^"]+)"', registration, 'Publisher').group(1),
        # The uninstall entry's key is named after the product (WriteUninstallEntry).
        'uninstall_key': one(r'\(registry, log, UninstallLevels, (\w+)', registration,
                             'the uninstall entry').group(1),
        'silent': f'{silent} /EDITION={version}',
        # The package manager puts the paths in as they are, blanks and all, and the
        # experience switch first, the log next and the install location last: the whole
        # option in quotation marks, which the program takes off again. /D= takes the rest
        # of the line, /LOG= one word.
        'log': '"' + log.replace('file', '<LOGPATH>') + '"',
        'location': '"' + folder.replace('folder', '<INSTALLPATH>') + '"',
    }


def manifests(installer, url, date):
    values = program_values()
    if values['uninstall_key'] != 'ProductName':
        sys.exit('winget.py: the uninstall entry is no longer named after the product')
    codes = exit_codes()
    unknown = [name for name, code in codes.items() if code and name not in RESPONSES]
    if unknown:
        sys.exit('winget.py: no response for exit code ' + ', '.join(unknown))
    with open(installer, 'rb') as exe:
        sha256 = hashlib.sha256(exe.read()).hexdigest().upper()
    common = {'PackageIdentifier': IDENTIFIER, 'PackageVersion': values['version']}
    version = dict(common, DefaultLocale='en-US', ManifestType='version')
    switches = {'Silent': values['silent'], 'SilentWithProgress': values['silent'],
                'InstallLocation': values['location'], 'Log': values['log']}
    installer_manifest = dict(
        common, InstallerType='exe', Scope='machine', ElevationRequirement='elevationRequired',
        InstallModes=['interactive', 'silent', 'silentWithProgress'],
        InstallerSwitches=switches,
        ExpectedReturnCodes=[{'InstallerReturnCode': code, 'ReturnResponse': RESPONSES[name]}
                             for name, code in sorted(codes.items(), key=lambda c: c[1]) if code],
        AppsAndFeaturesEntries=[{'DisplayName': values['product'], 'Publisher': values['publisher'],
                                 'DisplayVersion': values['version'],
                                 'ProductCode': values['product']}],
        ReleaseDate=date,
        Installers=[{'Architecture': 'x86', 'InstallerUrl': url, 'InstallerSha256': sha256}],
        ManifestType='installer')
    locale = dict(common, PackageLocale='en-US', Publisher=values['publisher'],
                  PackageName=values['product'], License='Proprietary',
                  ShortDescription=f'{values["product"]}, an image browser for Windows',
                  ManifestType='defaultLocale')
    return {'version': ('', version), 'installer': ('.installer', installer_manifest),
            'defaultLocale': ('.locale.en-US', locale)}


def write(out, documents):
    """Writes each manifest as DIR/<identifier><suffix>.yaml; returns the paths by type."""
    os.makedirs(out, exist_ok=True)
    paths = {}
    for kind, (suffix, document) in documents.items():
        document['ManifestVersion'] = MANIFEST_VERSION
        schema_id = f'https://aka.ms/winget-manifest.{kind.lower()}.{MANIFEST_VERSION}.schema.json'
        paths[kind] = os.path.join(out, f'{IDENTIFIER}{suffix}.yaml')
        with open(paths[kind], 'w', encoding='utf-8', newline='\n') as text:
            text.write(f'# yaml-language-server: $schema={schema_id}\n\n')
            yaml.safe_dump(document, text, sort_keys=False, allow_unicode=True, width=200)
    return paths


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--installer', required=True)
    parser.add_argument('--url', required=True)
    parser.add_argument('--out', required=True)
    parser.add_argument('--date', default=datetime.date.today().isoformat())
    arguments = parser.parse_args()
    for path in write(arguments.out, manifests(arguments.installer, arguments.url,
                                               arguments.date)).values():
        print(path)


if __name__ == '__main__':
    main()
