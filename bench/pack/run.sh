#!/usr/bin/env bash
# Compressed sizes and speed of kwbpack against mscompress (a greedy matcher
# from Debian's mscompress package) and kwbpack's own greedy parse, on files
# found on this machine. Prints a markdown table.
#
# Usage: bench/pack/run.sh [KWBPACK]
#   (default: the native preset's build/native/tools/kwbpack/kwbpack)
# Inputs over the installer's 2,000,000-byte limit are cut to that size.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
kwbpack=${1:-$repo/build/native/tools/kwbpack/kwbpack}
[ -x "$kwbpack" ] || { echo "run.sh: kwbpack binary '$kwbpack' not found (pass its path)" >&2; exit 2; }
command -v python3 >/dev/null || { echo "run.sh: python3 is needed" >&2; exit 2; }
mscompress=$(command -v mscompress || true)

work=$(mktemp -d "${TMPDIR:-/tmp}/kwbpack-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

limit=2000000
wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
candidates=(
  "GPL-3 text|/usr/share/common-licenses/GPL-3"
  "ls (ELF executable)|/usr/bin/ls"
  "notepad.exe (Wine, PE)|$wine_dlls/notepad.exe"
  "regedit.exe (Wine, PE)|$wine_dlls/regedit.exe"
  "comctl32.dll (Wine, first 2,000,000 bytes)|$wine_dlls/comctl32.dll"
)

size() { stat -c %s "$1"; }

# Best of five wall-clock runs in seconds, process start and file I/O
# included: that is what a build waits for.
time_best_of_5() {
  python3 - "$@" <<'PY'
import subprocess, sys, time
best = None
for _ in range(5):
    start = time.perf_counter()
    subprocess.run(sys.argv[1:], check=True, stdout=subprocess.DEVNULL)
    took = time.perf_counter() - start
    best = took if best is None else min(best, took)
print(f"{best:.4f}")
PY
}

percent_smaller() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f%%", (b - a) * 100 / b }'; }
mb_per_s() { awk -v n="$1" -v t="$2" 'BEGIN { printf "%.1f", n / t / 1e6 }'; }

echo "| File | Original | mscompress | greedy | kwbpack | vs mscompress | kwbpack s | MB/s |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|"
index=0
for entry in "${candidates[@]}"; do
  label=${entry%%|*}
  path=${entry#*|}
  [ -r "$path" ] || continue
  index=$((index + 1))
  input="$work/in$index"
  head -c "$limit" "$path" > "$input"

  "$kwbpack" compress "$input" "$work/opt"
  "$kwbpack" --greedy compress "$input" "$work/greedy"
  ms="n/a"; versus="n/a"
  if [ -n "$mscompress" ]; then
    # mscompress writes NAME_ beside its input.
    cp "$input" "$work/ms$index"
    "$mscompress" "$work/ms$index"
    ms=$(size "$work/ms${index}_")
    versus=$(percent_smaller "$(size "$work/opt")" "$ms")
  fi
  seconds=$(time_best_of_5 "$kwbpack" compress "$input" "$work/opt")
  printf '| %s | %s | %s | %s | %s | %s | %s | %s |\n' "$label" \
    "$(size "$input")" "$ms" "$(size "$work/greedy")" "$(size "$work/opt")" \
    "$versus" "$seconds" "$(mb_per_s "$(size "$input")" "$seconds")"
done

# Worst case for match finders: 1 MB of random 'a' and 'b' has matches of
# every length at almost every position.
python3 -c '
import random, sys
rng = random.Random(1)
sys.stdout.buffer.write(bytes(rng.choice(b"ab") for _ in range(1000000)))
' > "$work/ab"
seconds=$(time_best_of_5 "$kwbpack" compress "$work/ab" "$work/ab.z")
echo
echo "Worst case, 1,000,000 random 'a'/'b' bytes: ${seconds} s" \
  "($(size "$work/ab.z") bytes compressed)."
