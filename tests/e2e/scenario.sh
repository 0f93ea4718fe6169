#!/usr/bin/env bash
# Runs one row of the scenario table against the real installer, inside a prefix copy
# that wine-rig.sh prepared (WINEPREFIX, DISPLAY, WINE64 and WINESERVER64 are set): it
# does the row's preparation, then kwbdrive.exe does its steps, then the row's checks
# read what the installer left from the host.
#
#   scenario.sh INSTALLER DRIVER TABLE ROW [TIMEOUT_SECONDS]
set -Eeuo pipefail
# A preparation step that fails says which one.
trap 'echo "scenario: line $LINENO: $BASH_COMMAND failed" >&2' ERR

installer=$(realpath "$1") driver=$2 table=$3 row=$4 timeout=${5:-60}
line=$(grep -E "^$row *\|" "$table") || { echo "scenario: no row $row in $table" >&2; exit 2; }
IFS='|' read -r _ preparation _ <<<"$line"
# The files the build packed, as records/<resource>-<position>-<name>.
records=$(dirname "$installer")/payload/records

# A 32-bit installer (PE machine 0x14c) gets the 32-bit system folder and registry view;
# in that view App Paths is a link to the 64-bit key, as on Windows 7 and later.
machine=$(od -An -tx1 -j $(($(od -An -tu4 -j 60 -N 4 "$installer") + 4)) -N 2 "$installer")
system=system32 wow=''
[ "${machine// /}" != 4c01 ] || system=syswow64 wow='Wow6432Node\'
tests="$WINEPREFIX/drive_c/tests"
mkdir -p "$tests"
cp "$installer" "$tests/kwbsetup.exe"
# The driver and the hook it has the installer load to read its tree.
cp "$driver" "$(dirname "$driver")/tree_hook.dll" "$tests/"

# The host's path of a Windows path, through the prefix's drive links.
host_path() {
  local drive=${1%%:*} rest=${1#?:}
  echo "$WINEPREFIX/dosdevices/${drive,,}:${rest//\\//}"
}

scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
stop_server() { bash "$scripts/wine-stop.sh"; }
# The server reads the Windows version and the drive types when it starts.
restart_server() {
  stop_server
  timeout 60 "$WINESERVER64" -p || echo "scenario: the wineserver was already running" >&2
}

# A Wine command of the preparation, run from C:\tests. One that fails is shown, with its
# output, and tried once more with a new server: it prepares the test rather than being
# tested, and each is one that may be repeated. scripts/test.sh lists such second tries.
# The output goes to a file: the Wine services the first command starts keep a pipe open.
wine_run() {
  local try
  for try in 1 2; do
    (cd "$tests" && timeout 120 "$WINE64" "$@" >"$WINEPREFIX/wine_run.log" 2>&1) && return 0
    echo "scenario: preparation $* failed (try $try of 2): $(cat "$WINEPREFIX/wine_run.log")" >&2
    [ $try = 2 ] || restart_server
  done
  return 1
}
# snapshot FOLDER [FILE...]: afterwards the folder's files and the others must be the very
# same files, untouched (the same inodes, sizes and times of last write and change), none
# beside them, and the system folder must hold no temporary file.
snapshot() {
  snapshot_files=("${@:2}")
  stat -c '%n %i %s %Y %Z' "$1"/* "${@:2}" >"$WINEPREFIX/snapshot.txt"
  checks+=("untouched=$1")
}
# small_drive SIZE LETTER: a tmpfs of that size as the drive; it stays mounted for the checks.
small_drive() {
  small_drive=$(mktemp -d "${TMPDIR:-/tmp}/kwb-full-disk.XXXXXX")
  mount -t tmpfs -o size="$1",mode=0777 tmpfs "$small_drive"
  ln -s "$small_drive" "$WINEPREFIX/dosdevices/$2:"
}
checks=() user="" as_user=() small_drive="" locale=() codepage=1252
IFS=',' read -ra items <<<"$preparation"
for item in "${items[@]}"; do
  item=$(sed 's/^ *//; s/ *$//' <<<"$item")
  case "$item" in
  version=*)
    wine_run reg add 'HKCU\Software\Wine' /v Version /d "${item#*=}" /f
    restart_server ;;
  dpi=*) wine_run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${item#*=}" /f ;;
  recorded=*)
    # Both registry views, so that a 32-bit installer finds the entry as well.
    for view in 64 32; do
      wine_run reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\KWB.exe' \
        /v Path /d "${item#*=}" /f /reg:$view
    done ;;
  drive=?)
    mkdir -p "$WINEPREFIX/drive_${item#*=}"
    ln -s "../drive_${item#*=}" "$WINEPREFIX/dosdevices/${item#*=}:" ;;
  full=?)
    # Sixteen kilobytes: one product file and its compressed copy cannot both fit.
    small_drive 16k "${item#*=}" ;;
  cramped=?)
    # A 96 KB drive holding version 3.1.1 in Vistrel as an installation leaves it, filled
    # up until there is room for the first three files of 4.2 beside the old ones, not for
    # the fourth: a run that replaced each file as it came would have replaced the first.
    small_drive 96k "${item#*=}"
    mkdir "$small_drive/Vistrel"
    for record in "$records"/130-*; do cp "$record" "$small_drive/Vistrel/${record##*/130-?-}"; done
    python3 -c 'import os, sys; s = os.statvfs(sys.argv[1]); page = s.f_frsize
room = sum(-(-os.path.getsize(f) // page) * page for f in sys.argv[2:5])
open(sys.argv[1] + "/filler", "wb").write(b"f" * (s.f_bavail * page - room))' "$small_drive" "$records"/131-[123]-*
    snapshot "$small_drive/Vistrel" ;;
  earlier=*)
    # EDITION installed into FOLDER by a silent run of the intact installer, its files and
    # the library to be found untouched afterwards.
    value=${item#*=}
    wine_run 'C:\tests\kwbsetup.exe' /S "/EDITION=${value%% *}" "/D=${value#* }"
    snapshot "$(host_path "${value#* }")" "$WINEPREFIX/drive_c/windows/$system/ijl15.dll" ;;
  linked=*)
    # kwb.tmp and kwb.new symbolic links to a file outside the folder, which Wine takes
    # for that file (deleting the link deletes the file), and KWB.exe a hard link to
    # another: the installer neither removes nor writes through any of them.
    folder=$(host_path "${item#*=}")
    mkdir -p "$folder"
    echo outside >"$WINEPREFIX/drive_c/outside.txt"
    echo other >"$WINEPREFIX/drive_c/other.exe"
    for name in kwb.tmp kwb.new; do ln -s "$WINEPREFIX/drive_c/outside.txt" "$folder/$name"; done
    ln "$WINEPREFIX/drive_c/other.exe" "$folder/KWB.exe"
    checks+=("linked=$WINEPREFIX/drive_c") ;;
  readonly=*)
    file=$(host_path "${item#*=}")
    mkdir -p "$(dirname "$file")"
    echo "the user's own copy" >"$file"
    chmod a-w "$file" ;;
  planted)
    # A DLL under the name of each library the installer loads at run time and of each
    # that the system loads by name for it, beside it, and Wine told to prefer such a
    # native DLL. It marks C:\planted.txt when it runs. (Wine's own libraries load
    # version.dll before any code of the installer runs.)
    libraries=lz32,comctl32,ctl3d32,uxtheme,userenv,setupapi,apphelp,propsys,dwmapi,cryptbase,oleacc,clbcatq
    for library in ${libraries//,/ }; do cp "$KWB_PLANTED_DLL" "$tests/$library.dll"; done
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$libraries=n,b" ;;
  stalled)
    # The system's LZ library, which the installer loads once the first archive is
    # written, replaced by one that marks C:\planted.txt and then holds the installer.
    cp "$KWB_PLANTED_DLL" "$WINEPREFIX/drive_c/windows/$system/lz32.dll"
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;lz32=n,b" KWB_PLANTED_STALLS=1 ;;
  signed)
    # Signed as the build signs it, with a throwaway certificate that osslsigncode then
    # accepts, while it refuses another.
    for name in test other; do
      timeout 120 openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Throwaway $name" \
        -keyout "$tests/$name.key" -out "$tests/$name.pem" 2>/dev/null
    done
    bash "$scripts/sign.sh" "$tests/kwbsetup.exe" "$tests/test.pem" "$tests/test.key"
    verify() { timeout 120 osslsigncode verify -CAfile "$tests/$1.pem" -in "$tests/kwbsetup.exe" >/dev/null 2>&1; }
    verify test && ! verify other || { echo "scenario: the signature is not that of the test certificate" >&2; exit 1; } ;;
  damaged=*)
    # One byte in the middle of a payload resource changed in the copy, as a bad download
    # would have it; the resource is found by its packed bytes.
    python3 -c 'import sys; exe, packed = (open(p, "rb").read() for p in sys.argv[1:])
at = exe.index(packed) + len(packed) // 2
open(sys.argv[1], "wb").write(exe[:at] + bytes([exe[at] ^ 0x20]) + exe[at + 1:])' \
      "$tests/kwbsetup.exe" "$(dirname "$installer")/payload/payload_${item#*=}.bin" ;;
  tz=*) export TZ=${item#*=} ;;
  japanese) locale=(LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8) codepage=932 ;;
  user=nobody)
    user=65534
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$WINEPREFIX/home" USER=root) ;;
  files=* | entries=* | log=*) checks+=("$item") ;;
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
      wine_run reg add 'HKLM\Software\Wine\Drives' /v "${type%=*}" /d "${type#*=}" /f
    done
    for folder in 'D:\OnlySystem\Sys' 'D:\Recycled'; do wine_run attrib +s "$folder"; done
    # A server that is already back (started by a program meanwhile) has read them too.
    restart_server
    # The types reach programs through the mount manager, which starts with the first
    # program after the server; the installer lists the drives as it finds them then.
    # (Wine's wmic leaves network drives out.)
    for try in $(seq 30); do
      wine_run wmic logicaldisk get drivetype,name
      types=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/wine_run.log" | tr -d ' \r\n')
      [ "$types" != DriveTypeName2A:3C:3D:5M: ] || break
      [ "$try" != 30 ] || { echo "scenario: the drive types are not in effect: $types" >&2; exit 1; }
      sleep 1
    done ;;
  "") ;;
  *) echo "scenario: unknown preparation \"$item\" in row $row" >&2; exit 2 ;;
  esac
done

# Done after the run, or when the script stops early; a small drive stays mounted for the
# checks, until the script ends.
cleanup() {
  trap unmount EXIT
  # The registry reaches system.reg, which the checks read, when the server stops.
  stop_server
  [ -z "$user" ] || chown -R 0:0 "$WINEPREFIX"
}
unmount() {
  [ -z "$small_drive" ] || { umount "$small_drive" || umount -l "$small_drive"; rmdir "$small_drive"; }
}
trap 'cleanup; unmount' EXIT
# Under Wine root may overwrite a read-only file, as no Windows user can: such rows run
# as nobody (as_user), with the prefix theirs and a server of their own for the time of the
# run. The user name stays that of the prefix's profile: under a new name Wine would move
# the shell folders to a new profile while the installer runs.
if [ -n "$user" ]; then
  stop_server
  # The file names root's socket folder; without it the user's server makes its own,
  # which the rig removes with the prefix copy.
  rm -f "$WINEPREFIX/wineserver"
  mkdir -p "$WINEPREFIX/home"
  chown -R $user:$user "$WINEPREFIX"
fi

# The row's steps alone, in the ANSI code page of the installer's texts (where a byte of a
# character may be a bar).
iconv -f UTF-8 -t "CP$codepage" <<<"$row | | ${line#*|*|}" >"$tests/scenarios.txt"
cd "$tests"
# A driver that ends in failure having printed nothing never reached its first step, so
# nothing of the row has run: it is started once more, after the prefix's processes are
# stopped, and its exit code shown; scripts/test.sh lists such second tries. (A 32-bit row
# once ended so on CI, in 4 s, most likely an emulated start that died without a word
# under WINEDEBUG=-all.)
for try in 1 2; do
  rc=0
  "${as_user[@]}" env "${locale[@]}" timeout -k 10 $((timeout * 3 + 60)) "$WINE64" 'C:\tests\kwbdrive.exe' \
    'C:\tests\scenarios.txt' "$row" 'C:\tests\kwbsetup.exe' "$timeout" >"$tests/drive$try.log" 2>&1 || rc=$?
  cat "$tests/drive$try.log"
  [ $rc != 0 ] && [ ! -s "$tests/drive$try.log" ] || break
  echo "scenario: the driver ended with exit code $rc before its first step (try $try of 2)" >&2
  stop_server
done
cleanup

# Checks: files=EDITION FOLDER  the edition's four files in the folder, byte for byte as
#   packed and last written 2005-01-10 08:00:00 local time, ijl15.dll so in the system
#   folder, last written 2000-09-15 15:51:56 (Wine keeps no creation time), no kwb.tmp;
# entries=FOLDER  both KWB.lnk files point at FOLDER\KWB.exe, described "Vistrel", as
#   lnkinfo reads them, and both registry keys hold exactly the values for FOLDER and the
#   edition of the last files= check;
# log=FILE;REGEX;...  every line of the log FILE starts with its local time to the
#   millisecond and ends in CR LF; each REGEX matches a line (without its time), the last
#   one the last line.
check() {
  if [ "$2" = "$3" ]; then echo "ok: $1 is \"$2\""; else
    echo "FAILED: $1 is \"$2\" but was \"$3\""
    rc=1
  fi
}
installed() {
  check "$1" "the bytes of $(basename "$2"), last written $3" \
    "the bytes of $(cmp -s "$1" "$2" && basename "$2" || echo another file), last written $(
      date -r "$1" '+%F %T' 2>/dev/null || echo never)"
}
no_temporary_files() {
  check "the temporary files in $1" none \
    "$(cd "$1" && ls kwb[0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F].tmp* 2>/dev/null || echo none)"
}
# The values of a key below HKLM\Software, one a line as Wine saved them: in quotes only a
# value of type REG_SZ whose byte count ends at its one terminating NUL.
reg_key() {
  KEY="Software\\$1" awk 'BEGIN { key = ENVIRON["KEY"]; gsub(/\\+/, "/", key); key = tolower(key) }
    /^\[/ { name = $0; sub(/^\[/, "", name); sub(/\] [0-9]+$/, "", name); gsub(/\\+/, "/", name)
      inside = tolower(name) == key; next }
    inside && /^[@"]/' "$WINEPREFIX/system.reg" | sorted
}
sorted() { LC_ALL=C sort | paste -sd'|'; }
# Wine saves a character beyond ASCII as \x and its UTF-16 code in hexadecimal.
reg_text() { perl -CS -pe 's/\\/\\\\/g; s/"/\\"/g; s/[^\x00-\x7f]/sprintf("\\x%x", ord $&)/ge; s/.*/"$&"/' <<<"$1"; }
for item in "${checks[@]}"; do
  value=${item#*=}
  case "$item" in
  files=*)
    installed_edition=${value%% *} folder=$(host_path "${value#* }")
    resource=$([ "$installed_edition" = 4.2 ] && echo 131 || echo 130)
    for record in "$records/$resource"-*; do
      installed "$folder/${record##*/$resource-?-}" "$record" "2005-01-10 08:00:00"
    done
    installed "$WINEPREFIX/drive_c/windows/$system/ijl15.dll" "$records/129-1-ijl15.dll" "2000-09-15 15:51:56"
    no_temporary_files "$folder" ;;
  untouched=*)
    check "the earlier installation" "$(paste -sd'|' "$WINEPREFIX/snapshot.txt")" \
      "$(stat -c '%n %i %s %Y %Z' "$value"/* "${snapshot_files[@]}" | paste -sd'|')"
    no_temporary_files "$WINEPREFIX/drive_c/windows/$system" ;;
  linked=*)
    check "the files links named" "outside|other" "$(cat "$value/outside.txt" "$value/other.exe" | paste -sd'|')" ;;
  entries=*)
    profile=$WINEPREFIX/drive_c/users/$(id -un)
    for link in "$profile/Desktop/KWB.lnk" \
      "$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/KWB.lnk"; do
      check "$link" "$value\KWB.exe|Vistrel" "$(timeout 30 lnkinfo -c windows-$codepage "$link" 2>/dev/null |
        sed -n 's/^	\(Local path\|Description\|Working directory\|Command line arguments\|Icon location\|Hot key.*\|Show window.*\)	*: //p' | paste -sd'|')"
    done
    keys='Microsoft\Windows\CurrentVersion'
    check "the App Paths entry" "$(printf '@=%s\n"Path"=%s\n' "$(reg_text "$value\\KWB.exe")" \
      "$(reg_text "$value")" | sorted)" "$(reg_key "$keys\\App Paths\\KWB.exe")"
    bytes=$(cat "$records/129-1-ijl15.dll" "$records/$resource"-* | wc -c)
    check "the Uninstall entry" "$(printf '"%s"=%s\n' DisplayName '"Vistrel Image Browser"' \
        Publisher '"Corvane Software"' UninstallString "$(reg_text "\"$value\\uninstall.exe\"")" \
        DisplayVersion "\"$installed_edition\"" DisplayIcon "$(reg_text "$value\\KWB.exe")" \
        InstallLocation "$(reg_text "$value")" InstallDate "\"$(date +%Y%m%d)\"" \
        VersionMajor "dword:0000000${installed_edition%%.*}" \
        VersionMinor "dword:0000000$(cut -d. -f2 <<<"$installed_edition")" NoModify dword:00000001 \
        NoRepair dword:00000001 EstimatedSize "$(printf 'dword:%08x' $(((bytes + 1023) / 1024)))" |
      sorted)" "$(reg_key "$wow$keys\\Uninstall\\Vistrel Image Browser")" ;;
  log=*)
    file=$(host_path "${value%%;*}")
    check "the lines of $file" "stamped and ended in CR LF" "$([ -s "$file" ] && ! grep -Evq \
      '^[0-9]{4}-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\.[0-9]{3} .*'$'\r''$' "$file" &&
      echo stamped and ended in CR LF || echo otherwise)"
    # The lines without their times.
    lines=$(cut -c25- "$file" | tr -d '\r')
    IFS=';' read -ra patterns <<<"${value#*;}"
    for pattern in "${patterns[@]}"; do
      check "a line of the log matching $pattern" yes \
        "$(grep -Eq -- "$pattern" <<<"$lines" && echo yes || echo no)"
    done
    check "the log's last line" "$pattern" \
      "$(tail -n1 <<<"$lines" | grep -Eq -- "$pattern" && echo "$pattern" || tail -n1 <<<"$lines")" ;;
  esac
done
exit $rc
