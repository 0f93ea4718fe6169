#!/usr/bin/env bash
# Builds kwbsetup.exe of both Windows presets twice, from copies of this tree in two
# different folders at different times, and compares the results byte for byte.
#   bash bench/reproducible.sh [WORK_FOLDER]
# Prints the checksums and exits 1 when a pair differs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d)}
mkdir -p "$work"

build_copy() {
  local source=$1
  mkdir -p "$source"
  # The tree as git sees it, with uncommitted changes, without build output.
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
    tar --null -T - -cf -) | tar -xf - -C "$source"
  (cd "$source" &&
    timeout 900 cmake --preset native >/dev/null &&
    timeout 900 cmake --build --preset native --target kwbpack >/dev/null &&
    for preset in win32 win64; do
      timeout 900 cmake --preset "$preset" -DKWB_WINE_TESTS=OFF >/dev/null &&
        timeout 1800 cmake --build --preset "$preset" --target kwbsetup >/dev/null
    done)
}

started=$(date +%s)
build_copy "$work/first/kwb"
sleep 2
build_copy "$work/second/elsewhere/source"
status=0
for preset in win32 win64; do
  first=$work/first/kwb/build/$preset/kwbsetup.exe
  second=$work/second/elsewhere/source/build/$preset/kwbsetup.exe
  sha256sum "$first" "$second"
  if cmp -s "$first" "$second"; then
    echo "$preset: identical ($(stat -c %s "$first") bytes)"
  else
    echo "$preset: DIFFERENT"
    status=1
  fi
done
echo "two builds of each preset in $(( $(date +%s) - started )) s"
exit $status
