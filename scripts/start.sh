#!/usr/bin/env bash
# Builds the installer and starts it under 64-bit Wine. With a display ($DISPLAY set) it
# opens a real window; without one it runs under Xvfb, saves a screenshot of the Setup
# dialog, prints its path and closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
# The Windows build packs the payload with the native packer.
cmake --preset native >/dev/null
cmake --build --preset native --target kwbpack
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target kwbsetup

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The prefix's 32-bit half is set up by emulated programs; they start quickly with this.
preload=$(bash scripts/wine-rig.sh preload build)
[ -z "$preload" ] || export QEMU_SET_ENV=$preload
export WINEPREFIX="$PWD/build/run-prefix"
WINE64=/usr/lib/wine/wine64
WINESERVER64=/usr/lib/wine/wineserver64
installer=build/win64/kwbsetup.exe

if [ -n "${DISPLAY:-}" ]; then
  [ -d "$WINEPREFIX" ] || echo "start: preparing a Wine prefix in $WINEPREFIX (a minute, once)"
  exec "$WINE64" "$installer"
fi

screenshot="$PWD/build/setup-dialog.png"
rm -f "$screenshot"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  if [ ! -d "$WINEPREFIX" ]; then
    echo "start: preparing a Wine prefix in $WINEPREFIX (a minute, once)"
    timeout 900 "$1" wineboot -i >/dev/null 2>&1
    timeout 120 "$1" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  fi
  "$1" "$3" &
  window=""
  for _ in $(seq 600); do
    window=$(xdotool search --name "^Setup Vistrel$" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -z "$window" ]; then
    echo "start: the Setup dialog did not appear within 2 minutes" >&2
    timeout 60 "$2" -k || true
    exit 1
  fi
  sleep 3
  import -window "$window" "$4"
  timeout 60 "$2" -k || true
' start "$WINE64" "$WINESERVER64" "$installer" "$screenshot"
echo "start: the Setup dialog as shown: $screenshot"
