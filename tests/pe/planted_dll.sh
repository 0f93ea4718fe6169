#!/usr/bin/env bash
# A whole unattended installation with a DLL planted next to the installer under the name
# of each library the installer loads at run time, and Wine told to prefer a native DLL
# of that name. Rows: the Windows version to pretend (NT 3.51 makes the installer load the
# 3-D controls). The installation must succeed and the planted DLL must never run.
#   planted_dll.sh INSTALLER PLANTED_DLL   (under the Wine rig: WINEPREFIX, WINE64 set)
set -euo pipefail
installer=$1 planted=$2
rows=(win7 nt351)
libraries=(lz32 comctl32 ctl3d32)

export WINEDLLOVERRIDES="mscoree,mshtml=;$(IFS=,; echo "${libraries[*]}")=n,b"
drive=$WINEPREFIX/drive_c
mkdir -p "$drive/downloads"
cp "$installer" "$drive/downloads/kwbsetup.exe"
for library in "${libraries[@]}"; do cp "$planted" "$drive/downloads/$library.dll"; done

failed=0
for version in "${rows[@]}"; do
  rm -rf "$drive/Tools" "$drive/planted.txt"
  timeout 120 "$WINE64" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null
  timeout 60 "$WINESERVER64" -k || true
  timeout 60 "$WINESERVER64" -w || true
  timeout 60 "$WINESERVER64" -p
  rc=0
  (cd "$drive/downloads" && timeout 100 "$WINE64" 'C:\downloads\kwbsetup.exe' /S /EDITION=4.2 \
    '/D=C:\Tools\KWB') || rc=$?
  if [ "$rc" -ne 0 ] || [ ! -s "$drive/Tools/KWB/KWB.exe" ]; then
    echo "FAILED ($version): the installation ended with $rc, KWB.exe is not in place" >&2
    failed=1
  fi
  [ ! -e "$drive/planted.txt" ] || { echo "FAILED ($version): the planted DLL ran:" \
    "$(tr -d '\r' <"$drive/planted.txt")" >&2; failed=1; }
done
exit $failed
