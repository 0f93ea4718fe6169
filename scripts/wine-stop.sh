#!/usr/bin/env bash
# Ends every Wine process of the prefix in WINEPREFIX, then its server, which saves the
# registry into the prefix's files as it exits. "wineserver -k" does the same but waits
# 2 s after killing the processes before it saves; with the processes already gone, a
# SIGTERM makes the server save and exit at once. Every wait is bounded, and
# "wineserver -k" remains the fallback.
set -euo pipefail
: "${WINEPREFIX:?}"

# The prefix's processes: Wine's loaders and server, and the emulator that runs 32-bit
# ones, started with this WINEPREFIX.
servers=() others=()
for dir in /proc/[0-9]*; do
  exe=$(readlink "$dir/exe" 2>/dev/null) || continue
  case $exe in
  /usr/lib/wine/* | /usr/bin/qemu-i386-static) ;;
  *) continue ;;
  esac
  grep -qzxF "WINEPREFIX=$WINEPREFIX" "$dir/environ" 2>/dev/null || continue
  case $exe in
  /usr/lib/wine/wineserver*) servers+=("${dir#/proc/}") ;;
  *) others+=("${dir#/proc/}") ;;
  esac
done

# Waits up to 10 s for the processes to end (a zombie has ended).
ended() {
  local pid state
  for _ in $(seq 100); do
    state=""
    for pid in "$@"; do
      state+=$(awk '{print ($3 == "Z") ? "" : "x"}' "/proc/$pid/stat" 2>/dev/null || true)
    done
    [ -z "$state" ] && return 0
    sleep 0.1
  done
  return 1
}

status=0
[ "${#others[@]}" -eq 0 ] || { kill -KILL "${others[@]}" 2>/dev/null || true; ended "${others[@]}" || status=1; }
[ "${#servers[@]}" -eq 0 ] || { kill -TERM "${servers[@]}" 2>/dev/null || true; ended "${servers[@]}" || status=1; }
server=${WINESERVER64:-/usr/lib/wine/wineserver64}
if [ $status -ne 0 ]; then
  timeout 60 "$server" -k >/dev/null 2>&1 || true
  timeout 60 "$server" -w >/dev/null 2>&1 || true
fi
