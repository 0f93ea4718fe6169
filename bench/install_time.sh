#!/usr/bin/env bash
# How fast the x86_64 installer installs under 64-bit Wine, and how much memory it takes,
# measured by the end-to-end driver in fresh prefix copies of the Wine rig:
#   - from the posted click on OK to the success text in the status area,
#   - the installer's peak resident set (VmHWM of its process, read from the host: Wine
#     reports no memory counters for another process),
#   - a silent installation, from the start of the process to its end, without and with
#     a log (/LOG=).
# Each figure is the best and the median of RUNS runs (default 5), for the installer with
# the stand-in payload (the win64 preset's) and for one with the real product that
# bench/product.sh makes (6.7 MB; built here, in build/win64-product).
#
# Usage: bench/install_time.sh [RUNS]   (after building the native and win64 presets)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
build=$repo/build/win64
rig=$repo/build/wine-rig
for file in "$build/kwbsetup.exe" "$build/tests/e2e/kwbdrive.exe"; do
  [ -f "$file" ] || { echo "install_time: $file is missing: build the win64 preset" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kwb-install-bench.XXXXXX")
trap 'timeout 300 bash "$repo/scripts/wine-rig.sh" teardown "$rig" >/dev/null; rm -rf "$work"' EXIT
bench_repo=$repo bench_log=$work/build.log
source "$repo/bench/win64_builds.sh"
product=$(bench_installer product checks) || { tail -20 "$work/build.log" >&2; exit 1; }
installers=("$build/kwbsetup.exe" "$product")
success='"The program has been successfully installed\r\n\r\nA shortcut (named KWB) can be found on Windows Desktop and in \"Programs\" of Windows \"Start\"."'
cat >"$work/rows.txt" <<EOF
interactive | | start; dialog 1001; click 1006; set 1001 "C:\\Program Files\\Bench"; click ok; await text 1002 $success; click cancel; end 0
silent | | start /S /EDITION=4.2 "/D=C:\\Program Files\\Bench"; end 0
logged | | start /S /EDITION=4.2 /LOG=C:\\bench.log "/D=C:\\Program Files\\Bench"; end 0
EOF

timeout 1000 bash "$repo/scripts/wine-rig.sh" setup "$rig"
# The driver prints "<ms since it started> ms ok: <what held>" for every step.
run_row() {
  timeout 600 bash "$repo/scripts/wine-rig.sh" script "$rig" "bench-$1" bash \
    "$repo/tests/e2e/scenario.sh" "$installer" "$build/tests/e2e/kwbdrive.exe" \
    "$work/rows.txt" "$1" 60 >"$work/$1.log" || { cat "$work/$1.log" >&2; exit 1; }
}
# The highest VmHWM of the row's kwbsetup.exe process until the row ends.
watch_memory() {
  local peak=0 pid value
  while [ ! -e "$work/row-done" ]; do
    for pid in $(pgrep -f 'C:.tests.kwbsetup.exe' || true); do
      tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -q "^WINEPREFIX=$rig/prefixes/bench-" || continue
      value=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0)
      [ "${value:-0}" -le "$peak" ] || peak=$value
    done
    sleep 0.01
  done
  echo "$peak" >>"$work/peak"
}
ms_of() { grep -m1 "ok: $2" "$work/$1.log" | awk '{ print $1 }'; }
summary() {
  sort -n "$work/$1" | awk -v what="$2" -v unit="$3" \
    '{ v[NR] = $1 } END { printf "%-48s best %6d %s, median %6d %s (%d runs)\n", what, v[1], unit, v[int((NR + 1) / 2)], unit, NR }'
}
for installer in "${installers[@]}"; do
  rm -f "$work/peak" "$work/click_to_text" "$work/silent" "$work/logged"
  for _ in $(seq "$runs"); do
    rm -f "$work/row-done"
    watch_memory &
    run_row interactive
    touch "$work/row-done"
    wait
    echo $(($(ms_of interactive "the text of control 1002") - $(ms_of interactive "click ok"))) \
      >>"$work/click_to_text"
    for row in silent logged; do
      run_row $row
      echo $(($(ms_of $row "the installer ends") - $(ms_of $row "the installer starts"))) \
        >>"$work/$row"
    done
  done
  case $installer in
  "$build"/*) echo "stand-in payload ($(stat -c %s "$installer") bytes)" ;;
  *) echo "real product ($(stat -c %s "$installer") bytes)" ;;
  esac
  summary click_to_text "  OK clicked to success text (interactive)" ms
  summary peak "  peak resident set of the installer (VmHWM)" KB
  summary silent "  silent installation, process start to end" ms
  summary logged "  the same with /LOG=" ms
done
