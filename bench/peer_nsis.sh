#!/usr/bin/env bash
# Our installer side by side with NSIS (Debian's makensis, solid LZMA, x86_64 stub), under
# 64-bit Wine in one prefix of the Wine rig with a warm server: silent installations of
# edition 4.2 by each, and a bare start and exit (a program that only calls ExitProcess),
# run in turn, RUNS rounds (default 11), for the stand-in payload and for the real product
# that bench/product.sh makes. Each installer also runs built without its checks (the
# start-up check of the payload and the check of each expanded file left out), the floor
# of what the checks may cost. Every run starts from an empty folder with no library in
# the system folder and no links; the registry entries stay (both write the same ones).
# Afterwards each payload is installed once more by each installer and the two results
# compared: the files in the folder and the library (bytes and last-write times), both
# links, the registry values.
#
# Prints, per payload and installer, the median and best time from the start of the
# Wine process to its end, the median above the bare start, and the ratios.
#
# Usage: bench/peer_nsis.sh [RUNS]   (after building the native preset)
#   KWB_PEER_EXTRA="label=STANDIN_EXE,PRODUCT_EXE ..." times further installers beside them.
#   KWB_PEER_KEEP=DIR keeps the programs run (and the NSIS scripts) in DIR, for profiling.
# NSIS is a tool of this benchmark only: the script installs Debian's nsis when it is
# missing, and nothing else needs it.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
rig=$repo/build/wine-rig
folder='C:\Vistrel'

if [ "${1:-}" = --inside ]; then
  # In the rig's prefix copy (WINEPREFIX, WINE64 and the server set by wine-rig.sh).
  work=$2 runs=$3
  trap 'echo "peer_nsis: line $LINENO: $BASH_COMMAND failed" >&2' ERR
  export TZ=UTC
  c=$WINEPREFIX/drive_c
  mkdir -p "$c/bench"
  cp "$work"/exe/*.exe "$c/bench/"
  clean() {
    rm -rf "$c/Vistrel" "$c/windows/system32/ijl15.dll" "$c"/users/*/Desktop/KWB.lnk \
      "$c"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/KWB.lnk
  }
  # Runs one installer (or the bare program) and adds its time in microseconds to its list.
  run() {
    local label=$1 exe=$2 start end rc=0
    shift 2
    clean
    start=$(date +%s%N)
    (cd "$c/bench" && timeout 120 "$WINE64" "C:\\bench\\$exe" "$@" </dev/null >"$work/out.log" 2>&1) || rc=$?
    end=$(date +%s%N)
    [ $rc = 0 ] || { echo "peer_nsis: $label ended with $rc: $(cat "$work/out.log")" >&2; exit 1; }
    echo $(((end - start) / 1000)) >>"$work/times/$label"
  }
  mkdir -p "$work/times"
  # One round unmeasured, to warm the server, the page cache and the prefix. Each round
  # starts one program further down the list, so that none always follows the same one.
  mapfile -t installers <"$work/installers.txt"
  count=${#installers[@]}
  for round in $(seq 0 "$runs"); do
    for ((i = 0; i < count; ++i)); do
      IFS='|' read -r label exe <<<"${installers[(i + round) % count]}"
      if [ "$label" = bare ]; then
        run bare "$exe"
      else
        run "$label" "$exe" /S /EDITION=4.2 "/D=$folder"
      fi
      [ "$round" != 0 ] || rm -f "$work/times/$label"
    done
  done
  # What each installation leaves, in a form to compare.
  snapshot() {
    local file
    for file in "$c"/Vistrel/* "$c/windows/system32/ijl15.dll"; do
      [ -f "$file" ] || { echo "peer_nsis: no $file"; return 1; }
      echo "${file#"$c"/} $(sha256sum <"$file" | cut -c1-16) $(stat -c %Y "$file")"
    done
    for file in "$c"/users/*/Desktop/KWB.lnk "$c"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/KWB.lnk; do
      [ -s "$file" ] || { echo "peer_nsis: no $file"; return 1; }
      echo "${file#"$c"/}"
    done
    local key
    for key in 'App Paths\KWB.exe' 'Uninstall\Vistrel Image Browser'; do
      (cd "$c/bench" && timeout 60 "$WINE64" reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\$key" 2>/dev/null) | tr -d '\r' | grep REG_
      (cd "$c/bench" && timeout 60 "$WINE64" reg delete "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\$key" /f >/dev/null 2>&1)
    done
  }
  for payload in standin product; do
    for who in kwbsetup nsis; do
      clean
      (cd "$c/bench" && timeout 120 "$WINE64" "C:\\bench\\$who-$payload.exe" /S /EDITION=4.2 "/D=$folder" </dev/null >/dev/null 2>&1)
      snapshot >"$work/left-$who-$payload" 2>&1 ||
        { echo "peer_nsis: $who ($payload) left:" >&2; cat "$work/left-$who-$payload" >&2; exit 1; }
    done
    if ! diff -u "$work/left-kwbsetup-$payload" "$work/left-nsis-$payload" >&2; then
      echo "peer_nsis: the two installations of the $payload payload differ" >&2
      exit 1
    fi
  done
  exit 0
fi

runs=${1:-11}
export TZ=UTC
work=$(mktemp -d "${TMPDIR:-/tmp}/kwb-peer-nsis.XXXXXX")
trap 'timeout 300 bash "$repo/scripts/wine-rig.sh" teardown "$rig" >/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/exe"

if ! command -v makensis >/dev/null; then
  echo "peer_nsis: installing Debian's nsis (for this benchmark only)"
  as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends nsis >/dev/null
fi

bench_repo=$repo bench_log=$work/build.log
source "$repo/bench/win64_builds.sh"
fail() { echo "peer_nsis: $*" >&2; [ ! -s "$work/build.log" ] || tail -20 "$work/build.log" >&2; exit 1; }

# The files each installer carries: the product's folder, or the stand-ins the build packed.
product_files() {
  local payload=$1 out=$work/files-$1
  mkdir -p "$out/3.1.1" "$out/4.2"
  if [ "$payload" = product ]; then
    bench_product_folder
    cp -r "$bench_product/." "$out/"
  else
    local records=$repo/build/win64/payload/records name
    cp "$records/129-1-ijl15.dll" "$out/ijl15.dll"
    for name in KWB.exe KWB.hlp KWB.cnt uninstall.exe; do
      cp "$records"/130-?-"$name" "$out/3.1.1/$name"
      cp "$records"/131-?-"$name" "$out/4.2/$name"
    done
  fi
  # The times our installer gives them (local time; the bench runs Wine in UTC), which
  # NSIS keeps from the files it packs.
  touch -d '2005-01-10 08:00:00' "$out"/3.1.1/* "$out"/4.2/*
  touch -d '2000-09-15 15:51:56' "$out/ijl15.dll"
  echo "$out"
}

# The size in kilobytes (rounded up) of an edition's files and the library, as the
# uninstall entry gives it.
kilobytes() { cat "$@" | wc -c | awk '{ print int(($1 + 1023) / 1024) }'; }

nsis_installer() {
  local payload=$1 files name edition
  files=$(product_files "$payload")
  {
    echo 'Unicode true'
    echo 'Target amd64-unicode'
    echo 'SetCompressor /SOLID lzma'
    echo '!include FileFunc.nsh'
    echo 'Name "Vistrel Image Browser"'
    echo "OutFile \"$work/exe/nsis-$payload.exe\""
    echo 'InstallDir "$PROGRAMFILES64\Corvane Software\Vistrel"'
    echo 'RequestExecutionLevel admin'
    echo 'Section'
    echo '  ${GetParameters} $R0'
    echo '  ${GetOptions} $R0 "/EDITION=" $R1'
    echo '  SetOutPath "$INSTDIR"'
    # 4.2 first: a solid stream is expanded from its start up to the files asked for.
    echo '  StrCmp $R1 "3.1.1" edition_3'
    for edition in 4.2 3.1.1; do
      [ "$edition" = 4.2 ] || echo 'edition_3:'
      for name in KWB.exe KWB.hlp KWB.cnt uninstall.exe; do echo "  File \"$files/$edition/$name\""; done
      echo "  StrCpy \$R2 \"$edition\""
      echo "  StrCpy \$R3 $(kilobytes "$files/$edition"/* "$files/ijl15.dll")"
      [ "$edition" = 3.1.1 ] || echo '  Goto edition_done'
    done
    echo 'edition_done:'
    echo '  SetOutPath "$SYSDIR"'
    echo '  SetOverwrite ifnewer'
    echo "  File \"$files/ijl15.dll\""
    echo '  SetOverwrite on'
    echo '  SetOutPath "$INSTDIR"'
    echo '  CreateShortCut "$DESKTOP\KWB.lnk" "$INSTDIR\KWB.exe" "" "" "" "" "" "Vistrel"'
    echo '  CreateShortCut "$SMPROGRAMS\KWB.lnk" "$INSTDIR\KWB.exe" "" "" "" "" "" "Vistrel"'
    echo '  !define APP "Software\Microsoft\Windows\CurrentVersion\App Paths\KWB.exe"'
    echo '  !define UNINST "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vistrel Image Browser"'
    echo '  WriteRegStr HKLM "${APP}" "" "$INSTDIR\KWB.exe"'
    echo '  WriteRegStr HKLM "${APP}" "Path" "$INSTDIR"'
    echo '  ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6'
    echo '  StrCpy $R4 $R2 1'
    echo '  StrCpy $R5 $R2 1 2'
    echo '  WriteRegStr HKLM "${UNINST}" "DisplayName" "Vistrel Image Browser"'
    echo '  WriteRegStr HKLM "${UNINST}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""'
    echo '  WriteRegStr HKLM "${UNINST}" "DisplayVersion" "$R2"'
    echo '  WriteRegDWORD HKLM "${UNINST}" "VersionMajor" $R4'
    echo '  WriteRegDWORD HKLM "${UNINST}" "VersionMinor" $R5'
    echo '  WriteRegStr HKLM "${UNINST}" "Publisher" "Corvane Software"'
    echo '  WriteRegStr HKLM "${UNINST}" "DisplayIcon" "$INSTDIR\KWB.exe"'
    echo '  WriteRegStr HKLM "${UNINST}" "InstallLocation" "$INSTDIR"'
    echo '  WriteRegStr HKLM "${UNINST}" "InstallDate" "$2$1$0"'
    echo '  WriteRegDWORD HKLM "${UNINST}" "EstimatedSize" $R3'
    echo '  WriteRegDWORD HKLM "${UNINST}" "NoModify" 1'
    echo '  WriteRegDWORD HKLM "${UNINST}" "NoRepair" 1'
    echo 'SectionEnd'
  } >"$work/$payload.nsi"
  timeout 600 makensis -V2 "$work/$payload.nsi" >>"$work/build.log" 2>&1 || fail "makensis failed"
}

echo "peer_nsis: building the installers"
[ -f "$repo/build/native/tools/kwbpack/kwbpack" ] || fail "build the native preset first"
printf 'bare|bare.exe\n' >"$work/installers.txt"
cat >"$work/bare.c" <<'BARE'
#include <windows.h>
void start(void) { ExitProcess(0); }
BARE
x86_64-w64-mingw32-gcc -Os -nostdlib -mwindows -Wl,-e,start -o "$work/exe/bare.exe" \
  "$work/bare.c" -lkernel32 || fail "the bare program did not build"
for payload in standin product; do
  exe=$(bench_installer "$payload" checks) || fail "our installer ($payload) did not build"
  cp "$exe" "$work/exe/kwbsetup-$payload.exe"
  exe=$(bench_installer "$payload" none) || fail "our installer without checks ($payload) did not build"
  cp "$exe" "$work/exe/none-$payload.exe"
  nsis_installer "$payload"
  printf '%s\n' "kwbsetup-$payload|kwbsetup-$payload.exe" "none-$payload|none-$payload.exe" \
    "nsis-$payload|nsis-$payload.exe" >>"$work/installers.txt"
done
for extra in ${KWB_PEER_EXTRA:-}; do
  label=${extra%%=*} exes=${extra#*=}
  cp "${exes%%,*}" "$work/exe/$label-standin.exe"
  cp "${exes#*,}" "$work/exe/$label-product.exe"
  printf '%s\n' "$label-standin|$label-standin.exe" "$label-product|$label-product.exe" >>"$work/installers.txt"
done

if [ -n "${KWB_PEER_KEEP:-}" ]; then
  mkdir -p "$KWB_PEER_KEEP" && cp "$work"/exe/*.exe "$work"/*.nsi "$KWB_PEER_KEEP/"
fi
echo "peer_nsis: $runs rounds of $(($(wc -l <"$work/installers.txt"))) runs"
timeout 1000 bash "$repo/scripts/wine-rig.sh" setup "$rig" >/dev/null
timeout 3000 bash "$repo/scripts/wine-rig.sh" script "$rig" peer-nsis \
  bash "$repo/bench/peer_nsis.sh" --inside "$work" "$runs" || fail "the runs failed"

# median and best, in ms
stats() { sort -n "$work/times/$1" | awk '{ v[NR] = $1 } END { printf "%.1f %.1f", v[int((NR + 1) / 2)] / 1000, v[1] / 1000 }'; }
read -r bare_median bare_best <<<"$(stats bare)"
echo
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$(/usr/lib/wine/wine64 --version), $(makensis -VERSION), $runs rounds"
printf '%-10s %-22s %9s %9s %12s %14s %16s\n' payload installer median best "above bare" "ratio to NSIS" "above-bare ratio"
printf '%-10s %-22s %6s ms %6s ms\n' "" "bare start and exit" "$bare_median" "$bare_best"
for payload in standin product; do
  read -r nsis_median _ <<<"$(stats "nsis-$payload")"
  for label in nsis kwbsetup none $(for extra in ${KWB_PEER_EXTRA:-}; do echo "${extra%%=*}"; done); do
    read -r median best <<<"$(stats "$label-$payload")"
    case $label in
    nsis) name="NSIS" ;;
    kwbsetup) name="kwbsetup" ;;
    none) name="kwbsetup, no checks" ;;
    *) name=$label ;;
    esac
    awk -v p="$payload" -v n="$name" -v m="$median" -v b="$best" -v bare="$bare_median" -v nm="$nsis_median" \
      'BEGIN { printf "%-10s %-22s %6.1f ms %6.1f ms %9.1f ms %14.2f %16.2f\n", p, n, m, b, m - bare, m / nm, (m - bare) / (nm - bare) }'
  done
  read -r with_checks _ <<<"$(stats "kwbsetup-$payload")"
  read -r without _ <<<"$(stats "none-$payload")"
  awk -v p="$payload" -v w="$with_checks" -v n="$without" \
    'BEGIN { printf "%-10s the checks cost %.1f ms, %+.1f%% of the installation without them\n", p, w - n, (w / n - 1) * 100 }'
done
echo "both installers left the same files, links and registry values"
