#!/usr/bin/env bash
# Saves screenshots of the installer under 64-bit Wine at 100% and 150% display scale
# (Wine's LogPixels 96 and 144): the Setup dialog, the folder browser, the message box
# that asks for an edition and the dialog after a successful installation, as
# OUTDIR/<picture>-100.png and -150.png. It builds the installer and the end-to-end driver
# first; the Wine test rig gives each scale a prefix copy on its Xvfb display, and the
# driver brings the installer to each state, which is then photographed.
#
#   bash scripts/screenshots.sh [OUTDIR]          (docs/ when not given)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != --inside ]; then
  out=$(realpath -m "${1:-docs}")
  bash scripts/setup.sh
  cmake --preset native >/dev/null
  cmake --build --preset native --target kwbpack
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target kwbsetup kwbdrive
  bash scripts/wine-rig.sh setup build/wine-rig
  mkdir -p "$out"
  status=0
  for percent in 100 150; do
    bash scripts/wine-rig.sh script build/wine-rig "screenshots-$percent" \
      bash scripts/screenshots.sh --inside "$percent" "$out" || status=$?
  done
  bash scripts/wine-rig.sh teardown build/wine-rig
  exit $status
fi

# Inside the rig's prefix copy (WINEPREFIX, DISPLAY, WINE64 set): one scale.
percent=$2 out=$3
tests=$WINEPREFIX/drive_c/tests
mkdir -p "$tests"
cp build/win64/kwbsetup.exe build/win64/tests/e2e/kwbdrive.exe "$tests/"
# Every program reads the scale from the registry as it starts.
timeout 120 "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
  /d $((percent * 96 / 100)) /f >/dev/null 2>&1
# One row of the driver's step language per picture: it brings the installer to the state
# shown and then waits for the installer to end, which it does when the picture is taken.
cat >"$tests/shots.txt" <<'EOF'
setup-dialog | | start; dialog 1001; focus ok; end 0
folder-browser | | start /D=C:\windows\Fonts; dialog 1001; click 1000; dialog 1013; text 1028 "C:\windows\Fonts\"; end 0
message-box | | start; dialog 1001; key enter; box "Please select the version to install" kwbsetup "ok icon" 1001; end 0
installed | | start; dialog 1001; click 1006; click ok; await text 1002 "The program has been successfully installed\r\n\r\nA shortcut (named KWB) can be found on Windows Desktop and in \"Programs\" of Windows \"Start\"."; end 0
EOF

# shot ROW WINDOW-TITLE LAST-CHECK: runs the row until the driver reports its last check
# before the end, photographs the window with that title and ends the prefix's programs.
shot() {
  local row=$1 title=$2 check=$3 log="$WINEPREFIX/$1.log" window=""
  # The subshell's own notice that the driver was killed, when the picture is taken, is
  # no news.
  (cd "$tests" && timeout 300 "$WINE64" 'C:\tests\kwbdrive.exe' 'C:\tests\shots.txt' \
    "$row" 'C:\tests\kwbsetup.exe' 120 >"$log" 2>&1 || true) 2>/dev/null &
  for _ in $(seq 600); do
    grep -q "ok: $check" "$log" 2>/dev/null && break
    if grep -q FAILED "$log" 2>/dev/null; then break; fi
    sleep 0.2
  done
  grep -q "ok: $check" "$log" || { echo "screenshots: $row at $percent%:" >&2; cat "$log" >&2; return 1; }
  window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1)
  [ -n "$window" ] || { echo "screenshots: no window \"$title\" for $row at $percent%" >&2; return 1; }
  # Time for the last change to be painted.
  sleep 1
  import -window "$window" -strip "$out/$row-$percent.png"
  bash scripts/wine-stop.sh
  wait
  echo "screenshots: $out/$row-$percent.png"
}
shot setup-dialog "Setup Vistrel" "the control with the focus"
shot folder-browser "Setup Folder" "the text of control 1028"
shot message-box kwbsetup "its owner"
shot installed "Setup Vistrel" "the text of control 1002"
