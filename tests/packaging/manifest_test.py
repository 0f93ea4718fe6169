#!/usr/bin/env python3
# The package manager's manifest against its schema, the program and the README.
#
#   manifest_test.py schema | exit_codes | refusal
#   manifest_test.py switches INSTALLER DRIVER TIMEOUT_SECONDS
#
# The last, under the Wine rig, runs the installer as the package manager runs it from the
# manifest, into a folder with blanks and with a log, as a row of tests/e2e/scenarios.txt:
# the row's checks (files, links, registry, log) and the uninstall entry's values the
# manifest states.
import json
import os
import re
import subprocess
import sys
import tempfile

import jsonschema
import yaml

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, 'packaging'))
import winget  # noqa: E402

failures = []


def check(what, expected, actual):
    print(f'ok: {what}: {expected!r}' if expected == actual else
          f'FAILED: {what}: {expected!r} but was {actual!r}')
    failures.extend([] if expected == actual else [what])


def generated(folder):
    installer = os.path.join(folder, 'kwbsetup.exe')
    open(installer, 'wb').write(b'MZ')
    return winget.write(os.path.join(folder, 'winget'),
                        winget.manifests(installer, 'https://example.invalid/kwbsetup.exe', '2026-12-07'))


def schema(folder):
    for kind, path in generated(folder).items():
        with open(os.path.join(winget.SCHEMAS, f'manifest.{kind}.1.10.0.json')) as rules, \
                open(path) as text:
            errors = jsonschema.Draft7Validator(json.load(rules), format_checker=jsonschema.FormatChecker()) \
                .iter_errors(yaml.safe_load(text))
        check(f'the schema errors of {os.path.basename(path)}', [],
              [f'{"/".join(map(str, e.path))}: {e.message}' for e in errors])


def exit_codes(folder):
    manifest = yaml.safe_load(open(generated(folder)['installer']))
    codes = sorted(winget.exit_codes().values())
    listed = {r['InstallerReturnCode']: r['ReturnResponse'] for r in manifest['ExpectedReturnCodes']}
    check('the exit codes in the manifest, with 0 for success', codes,
          sorted([0] + list(listed) + manifest.get('InstallerSuccessCodes', [])))
    readme = open(os.path.join(ROOT, 'README.md')).read()
    for heading in ('Meaning', "Package manager's response"):
        table = readme[readme.index(f'| Exit code | {heading} |'):].split('\n\n')[0]
        rows = dict(re.findall(r'^\| (\d+) \| (.*) \|$', table, re.M))
        check(f"the exit codes in the README's table of {heading}", codes, sorted(map(int, rows)))
        if heading != 'Meaning':
            check('the responses in the README', listed,
                  {int(c): re.match('`(\\w+)`', text).group(1) for c, text in rows.items() if c != '0'})


def refusal(folder):
    out = os.path.join(folder, 'dist')
    run = subprocess.run(['bash', os.path.join(ROOT, 'scripts', 'release.sh'), '--out', out],
                         capture_output=True, text=True, timeout=60)
    check('release.sh without --url: exit code, --url named, dist made',
          (2, True, False), (run.returncode, '--url URL' in run.stderr, os.path.exists(out)))


def switches(work, installer, driver, timeout):
    manifest = yaml.safe_load(open(generated(work)['installer']))
    given, entry = manifest['InstallerSwitches'], manifest['AppsAndFeaturesEntries'][0]
    folder, log = 'C:\\Program Files\\Winget Place\\KWB', 'C:\\Winget Logs\\kwb.log'
    # The package manager's log folder exists; the file is the installer's to make.
    os.makedirs(os.path.join(os.environ['WINEPREFIX'], 'drive_c', 'Winget Logs'))
    # Experience, log, location: in this order, each path put in as it is.
    line = ' '.join([given['Silent'], given['Log'].replace('<LOGPATH>', log),
                     given['InstallLocation'].replace('<INSTALLPATH>', folder)])
    words = ' '.join('"' + word.replace('"', '\\"') + '"' for word in line.split(' '))
    key = 'HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\' + entry['ProductCode']
    values = ''.join(f'; regvalue "{key}" {name} "{entry[name]}"'
                     for name in ('DisplayName', 'Publisher', 'DisplayVersion'))
    pattern = re.sub(r'([][\\.^$*+?(){}|])', r'\\\1', line)
    with open(os.path.join(work, 'row.txt'), 'w') as table:
        table.write(f'winget | files={entry["DisplayVersion"]} {folder}, entries={folder}, '
                    f'log={log};^Command line: .* {pattern}$;^Outcome: installed. exit code 0$ | '
                    f'start {words}; watch; end 0; stderr ""{values}\n')
    run = subprocess.run(['bash', os.path.join(ROOT, 'tests', 'e2e', 'scenario.sh'), installer, driver,
                          table.name, 'winget', timeout])
    check('the row run as the package manager runs the installer: its exit code', 0, run.returncode)


if __name__ == '__main__':
    with tempfile.TemporaryDirectory() as work:
        globals()[sys.argv[1]](work, *sys.argv[2:])
    sys.exit(1 if failures else 0)
