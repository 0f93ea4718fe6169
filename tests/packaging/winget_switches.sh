#!/usr/bin/env bash
# Under the Wine rig: the installer run as the package manager runs it from the manifest
# made for it, into a folder with blanks and with a log; then the row's checks (files,
# links, registry, log) and the uninstall entry's values the manifest states.
#   winget_switches.sh INSTALLER DRIVER TIMEOUT_SECONDS
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$WINEPREFIX/winget
python3 "$here/../../packaging/winget.py" --installer "$1" --url https://example.invalid/kwbsetup.exe \
  --out "$work" >/dev/null
# The package manager's log folder exists; the file is the installer's to make.
mkdir -p "$WINEPREFIX/drive_c/Winget Logs"
python3 "$here/manifest_test.py" row "$work/Corvane.VistrelImageBrowser.installer.yaml" \
  'C:\Program Files\Winget Place\KWB' 'C:\Winget Logs\kwb.log' >"$work/row.txt"
bash "$here/../e2e/scenario.sh" "$1" "$2" "$work/row.txt" winget "$3"
