#!/usr/bin/env bash
# Runs one row of the scenario table against the real installer, inside a prefix copy
# that wine-rig.sh prepared (WINEPREFIX, DISPLAY, WINE64 and WINESERVER64 are set): it
# does the row's preparation, then kwbdrive.exe does its steps.
#
#   scenario.sh INSTALLER DRIVER TABLE ROW [TIMEOUT_SECONDS]
set -euo pipefail

installer=$1 driver=$2 table=$3 row=$4 timeout=${5:-60}
line=$(grep -E "^$row *\|" "$table") || { echo "scenario: no row $row in $table" >&2; exit 2; }
IFS='|' read -r _ preparation _ <<<"$line"

tests="$WINEPREFIX/drive_c/tests"
mkdir -p "$tests"
cp "$installer" "$tests/kwbsetup.exe"
cp "$driver" "$tests/kwbdrive.exe"
cp "$table" "$tests/scenarios.txt"

wine_reg() { timeout 120 "$WINE64" reg "$@" >/dev/null; }
IFS=',' read -ra items <<<"$preparation"
for item in "${items[@]}"; do
  item=$(sed 's/^ *//; s/ *$//' <<<"$item")
  case "$item" in
  version=*)
    wine_reg add 'HKCU\Software\Wine' /v Version /d "${item#*=}" /f
    # The version is read when the server starts.
    timeout 60 "$WINESERVER64" -k || true
    timeout 60 "$WINESERVER64" -w || true
    timeout 60 "$WINESERVER64" -p ;;
  recorded=*)
    # Both registry views, so that a 32-bit installer finds the entry as well.
    for view in 64 32; do
      wine_reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\KWB.exe' \
        /v Path /d "${item#*=}" /f /reg:$view
    done ;;
  drive=?)
    mkdir -p "$WINEPREFIX/drive_${item#*=}"
    ln -s "../drive_${item#*=}" "$WINEPREFIX/dosdevices/${item#*=}:" ;;
  drives=browser)
    # A: a floppy drive without a medium, D: a fixed drive with folders of every kind (a
    # file, system folders, a hidden dot-named one), M: a CD-ROM and N: a network drive.
    d=$WINEPREFIX/drive_d
    mkdir -p "$d"/{Tools/Bin/Deep,Tools/Lib,OnlyFiles,OnlyHidden/.cache,OnlySystem/Sys,Recycled} \
      "$d/Unopened/Child/Grandchild" "$WINEPREFIX/drive_m" "$WINEPREFIX/drive_n"
    touch "$d/notes.txt" "$d/OnlyFiles/readme.txt" "$d/Tools/tool.exe"
    ln -s ../no_medium "$WINEPREFIX/dosdevices/a:"
    for drive in d m n; do ln -s "../drive_$drive" "$WINEPREFIX/dosdevices/$drive:"; done
    for type in a:=floppy m:=cdrom n:=network; do
      wine_reg add 'HKLM\Software\Wine\Drives' /v "${type%=*}" /d "${type#*=}" /f
    done
    for folder in 'D:\OnlySystem\Sys' 'D:\Recycled'; do
      timeout 120 "$WINE64" attrib +s "$folder" >/dev/null || echo "scenario: attrib +s $folder failed" >&2
    done
    # The drive types are read when the server starts. A server that is already back
    # (started by a program meanwhile) has read them as well.
    timeout 60 "$WINESERVER64" -k || true
    timeout 60 "$WINESERVER64" -w || true
    timeout 60 "$WINESERVER64" -p || echo "scenario: the wineserver was already running" >&2 ;;
  slow | "") ;;
  *) echo "scenario: unknown preparation \"$item\" in row $row" >&2; exit 2 ;;
  esac
done

cd "$tests"
timeout -k 10 $((timeout * 3 + 60)) "$WINE64" 'C:\tests\kwbdrive.exe' 'C:\tests\scenarios.txt' \
  "$row" 'C:\tests\kwbsetup.exe' "$timeout"
