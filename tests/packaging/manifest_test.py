#!/usr/bin/env python3
# The package manager's manifest against its schema, the program and the README.
#
#   manifest_test.py schema | exit_codes | refusal
#   manifest_test.py row INSTALLER_MANIFEST FOLDER LOG
#
# The last prints a row of tests/e2e/scenarios.txt that runs the installer with exactly the
# manifest's switches, the paths put in as the package manager puts them.
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


def row(installer_manifest, folder, log):
    manifest = yaml.safe_load(open(installer_manifest))
    switches, entry = manifest['InstallerSwitches'], manifest['AppsAndFeaturesEntries'][0]
    # Experience, log, location: in this order, each path put in as it is.
    line = ' '.join([switches['Silent'], switches['Log'].replace('<LOGPATH>', log),
                     switches['InstallLocation'].replace('<INSTALLPATH>', folder)])
    words = ' '.join('"' + word.replace('"', '\\"') + '"' for word in line.split(' '))
    key = 'HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\' + entry['ProductCode']
    values = ''.join(f'; regvalue "{key}" {name} "{entry[name]}"'
                     for name in ('DisplayName', 'Publisher', 'DisplayVersion'))
    pattern = re.sub(r'([][\\.^$*+?(){}|])', r'\\\1', line)
    print(f'winget | files={entry["DisplayVersion"]} {folder}, entries={folder}, '
          f'log={log};^Command line: .* {pattern}$;^Outcome: installed. exit code 0$ | '
          f'start {words}; watch; end 0; stderr ""{values}')


if __name__ == '__main__':
    with tempfile.TemporaryDirectory() as work:
        globals()[sys.argv[1]](*(sys.argv[2:5] if sys.argv[1] == 'row' else [work]))
    sys.exit(1 if failures else 0)
