#!/usr/bin/env bash
# One end-to-end scenario against the real installer, inside a prefix copy that
# wine-rig.sh prepared (WINEPREFIX, DISPLAY, WINE64 and WINESERVER64 are set).
#
#   scenario.sh INSTALLER DRIVER SCENARIO [--version V] [--path FOLDER] [--timeout S]
#
# --version sets the Windows version Wine reports (win31, win98, winnt40, win10, ...);
# --path records a previous installation at FOLDER, as an earlier run would have.
set -euo pipefail

installer=$1 driver=$2 scenario=$3
shift 3
version="" path="" timeout=60
while [ $# -gt 0 ]; do
  case "$1" in
  --version) version=$2; shift 2 ;;
  --path) path=$2; shift 2 ;;
  --timeout) timeout=$2; shift 2 ;;
  *) echo "scenario: unknown option $1" >&2; exit 2 ;;
  esac
done

tests="$WINEPREFIX/drive_c/tests"
mkdir -p "$tests"
cp "$installer" "$tests/kwbsetup.exe"
cp "$driver" "$tests/kwbdrive.exe"

wine_reg() { timeout 120 "$WINE64" reg "$@" >/dev/null; }

if [ -n "$path" ]; then
  # Both registry views, so that a 32-bit installer finds the entry as well.
  for view in 64 32; do
    wine_reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\KWB.exe' \
      /v Path /d "$path" /f /reg:$view
  done
fi
if [ -n "$version" ]; then
  wine_reg add 'HKCU\Software\Wine' /v Version /d "$version" /f
  # The version is read when the server starts.
  timeout 60 "$WINESERVER64" -k || true
  timeout 60 "$WINESERVER64" -w || true
  timeout 60 "$WINESERVER64" -p
fi

cd "$tests"
timeout -k 10 $((timeout * 3 + 60)) "$WINE64" 'C:\tests\kwbdrive.exe' "$scenario" \
  'C:\tests\kwbsetup.exe' "$timeout"

# Closing the dialog in any way writes nothing: no entry appears.
if timeout 120 "$WINE64" reg query \
  'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Vistrel Image Browser' \
  >/dev/null 2>&1; then
  echo "FAILED: an uninstall entry appeared" >&2
  exit 1
fi
