#!/usr/bin/env bash
# Ends every Wine process of the prefix in WINEPREFIX, then its server, which saves the
# registry into the prefix's files as it exits. "wineserver -k" does the same but waits
# 2 s after killing the processes before it saves; with the processes already gone, a
# SIGTERM makes the server save and exit at once. Every wait is bounded, and
# "wineserver -k" remains the fallback.
set -euo pipefail
: "${WINEPREFIX:?}"

# A process's state letter, empty once it is gone. The name before it, in parentheses,
# may hold blanks.
state_of() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  stat=${stat##*) }
  echo "${stat%% *}"
}

# The prefix's processes: Wine's loaders and server, and the emulator that runs 32-bit
# ones, started with this WINEPREFIX.
scan() {
  servers=() others=()
  local dir exe
  for dir in /proc/[0-9]*; do
    exe=$(readlink "$dir/exe" 2>/dev/null) || continue
    case $exe in
    /usr/lib/wine/* | /usr/bin/qemu-i386-static) ;;
    *) continue ;;
    esac
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "$dir/environ" 2>/dev/null || continue
    # A zombie has ended; only its parent's wait removes it.
    [ "$(state_of "${dir#/proc/}")" != Z ] || continue
    case $exe in
    /usr/lib/wine/wineserver*) servers+=("${dir#/proc/}") ;;
    *) others+=("${dir#/proc/}") ;;
    esac
  done
}

# Waits up to 10 s for the processes to end (a zombie has ended).
ended() {
  local pid left
  for _ in $(seq 100); do
    left=""
    for pid in "$@"; do
      case $(state_of "$pid") in "" | Z) ;; *) left=1 ;; esac
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
