#!/usr/bin/env bash
# Builds the drives of the folder browser's tests in the rig's prefix copy, then runs the
# test program there:
#   A: a floppy drive without a medium (linked to a folder that does not exist)
#   D: a fixed drive: a file, a system folder, folders with only files, only a hidden
#      (dot-named) folder, only a system folder, and a path three levels deep
#   M: a CD-ROM drive and N: a network drive, both left out of the tree
set -euo pipefail
d=$WINEPREFIX/drive_d
mkdir -p "$d/Tools/Bin/Deep" "$d/Tools/Lib" "$d/OnlyFiles" "$d/OnlyHidden/.cache" "$d/OnlySystem/Sys" \
  "$d/Recycled" "$d/Unopened/Child/Grandchild" "$WINEPREFIX/drive_m" "$WINEPREFIX/drive_n" "$WINEPREFIX/drive_c/tests"
touch "$d/notes.txt" "$d/OnlyFiles/readme.txt" "$d/Tools/tool.exe"
ln -s "$WINEPREFIX/no_medium" "$WINEPREFIX/dosdevices/a:"
for drive in d m n; do ln -s "$WINEPREFIX/drive_$drive" "$WINEPREFIX/dosdevices/$drive:"; done
for type in a:=floppy m:=cdrom n:=network; do
  timeout 60 "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v "${type%=*}" /d "${type#*=}" /f >/dev/null
done
for folder in 'D:\OnlySystem\Sys' 'D:\Recycled'; do timeout 60 "$WINE64" attrib +s "$folder" >/dev/null; done
# The drive types are read when the server starts.
timeout 60 "$WINESERVER64" -k && timeout 60 "$WINESERVER64" -w || true
timeout 60 "$WINESERVER64" -p
cp "$1" "$WINEPREFIX/drive_c/tests/"
cd "$WINEPREFIX/drive_c/tests"
"$WINE64" "C:\\tests\\$(basename "$1")"
