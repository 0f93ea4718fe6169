#!/usr/bin/env bash
# Ends every Wine process of the prefix in WINEPREFIX, then its server, which saves the
# registry into the prefix's files as it exits. "wineserver -k" does the same but waits
# 2 s after killing the processes before it saves; with the processes already gone, a
# SIGTERM makes the server save and exit at once. Every wait is bounded, and
# "wineserver -k" remains the fallback.
set -euo pipefail
: "${WINEPREFIX:?}"

# A process's state letter into "state", empty once it is gone. The name before it, in
# parentheses, may hold blanks. (Builtins only: this runs for every test, while others run.)
state_of() {
  state=""
  local stat
  { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 0
  stat=${stat##*) }
  state=${stat%% *}
}

# The prefix's processes: Wine's loaders and server, and the emulator that runs 32-bit
# ones, started with this WINEPREFIX. One find and one grep, whatever else runs.
scan() {
  servers=() others=()
  local found=() exe pid
  mapfile -t found < <(find /proc -mindepth 2 -maxdepth 2 -name exe \
    \( -lname '/usr/lib/wine/*' -o -lname /usr/bin/qemu-i386-static \) -printf '%h/environ\n' 2>/dev/null)
  [ "${#found[@]}" -gt 0 ] || return 0
  mapfile -t found < <(grep -lzxF "WINEPREFIX=$WINEPREFIX" "${found[@]}" 2>/dev/null)
  for pid in "${found[@]}"; do
    pid=${pid#/proc/} pid=${pid%/environ}
    exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || continue
    # A zombie has ended; only its parent's wait removes it.
    state_of "$pid"
    [ -n "$state" ] && [ "$state" != Z ] || continue
    case $exe in
    /usr/lib/wine/wineserver*) servers+=("$pid") ;;
    *) others+=("$pid") ;;
    esac
  done
}

# Waits up to 10 s for the processes to end (a zombie has ended).
ended() {
  local pid left
  for _ in $(seq 100); do
    left=""
    for pid in "$@"; do
      state_of "$pid"
      case $state in "" | Z) ;; *) left=1 ;; esac
    done
    [ -z "$left" ] && return 0
    sleep 0.1
  done
  return 1
}

# A process that one of them was starting as it was killed shows up on the next scan; a
# client that finds no server starts one. So the scan is repeated until it finds nothing.
status=1
for _ in 1 2 3 4 5; do
  scan
  if [ "${#others[@]}" -eq 0 ] && [ "${#servers[@]}" -eq 0 ]; then
    status=0
    break
  fi
  [ "${#others[@]}" -eq 0 ] || { kill -KILL "${others[@]}" 2>/dev/null || true; ended "${others[@]}" || break; }
  [ "${#servers[@]}" -eq 0 ] || { kill -TERM "${servers[@]}" 2>/dev/null || true; ended "${servers[@]}" || break; }
done
server=${WINESERVER64:-/usr/lib/wine/wineserver64}
if [ $status -ne 0 ]; then
  echo "wine-stop: the processes of $WINEPREFIX did not end; ending them with wineserver -k" >&2
  timeout 60 "$server" -k >/dev/null 2>&1 || true
  timeout 60 "$server" -w >/dev/null 2>&1 || true
fi
