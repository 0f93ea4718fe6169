#!/usr/bin/env bash
# Checks kwbpack's output against the Windows LZ expansion library: packs a set of inputs
# with kwbpack, expands each under Wine with lz32_expand.exe (LZInit + LZRead, as the
# installer does) and compares bytes and length with the input. That library ignores the
# header's length and stops where the data stops, so only an exact comparison shows a
# faulty stream.
#
# Environment: WINE64 (wine64), WINEPREFIX (a prepared prefix; the inputs are made in its
# drive C:), LZ32_EXPAND (lz32_expand.exe), KWBPACK (the packer), and optionally
# LZ32_TIMEOUT (seconds per Wine run, 180). Prints one line per input and a closing
# "N passed, N failed" line; exits non-zero when an input failed or the setup is wrong.
set -euo pipefail
: "${WINE64:?is not set}" "${WINEPREFIX:?is not set}" "${LZ32_EXPAND:?is not set}" "${KWBPACK:?is not set}"
[ -x "$WINE64" ] && [ -d "$WINEPREFIX" ] && [ -f "$LZ32_EXPAND" ] && [ -x "$KWBPACK" ] ||
  { echo "lz32_roundtrip: WINE64, WINEPREFIX, LZ32_EXPAND or KWBPACK is missing" >&2; exit 2; }
export WINEPREFIX WINEDEBUG=-all
work=$(mktemp -d "$WINEPREFIX/drive_c/lz32-roundtrip.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Paths of 128 characters or more are out of LZOpenFileA's reach; one input lives there.
long_dir="$work/$(printf 'long-folder-name-%.0s' $(seq 8))"
mkdir -p "$work/in" "$long_dir"
cd "$work/in"
# The window's initial spaces, its far edge (a pseudo-random block three times), zeros at
# the end, a real executable, and the largest input allowed.
: >empty; printf x >one-byte; printf '%20000s' '' >all-spaces
printf '       two words   and spaces' >leading-spaces
{ printf 'zeros follow'; head -c 100 /dev/zero; } >trailing-zeros
gzip -c /usr/bin/ls >../ls.gz; head -c 4096 ../ls.gz >block; cat block block block >window-edge
head -c 2000000 /usr/bin/ls >executable; cat block block >"$long_dir/long-path"
for _ in $(seq 12); do cat /usr/bin/ls block all-spaces; done >../many
head -c 2000000 ../many >largest-allowed

# The prefix has no drive for the host's root, so every file lives under drive C:.
to_windows() { local inside=${1#"$WINEPREFIX/drive_c/"}; printf 'C:\\%s' "${inside//\//\\}"; }
passed=0 failed=0
for input in "$work"/in/* "$long_dir/long-path"; do
  if "$KWBPACK" compress "$input" "$input.z_" && timeout "${LZ32_TIMEOUT:-180}" "$WINE64" \
      "$LZ32_EXPAND" "$(to_windows "$input.z_")" "$(to_windows "$input.out")" &&
      cmp -s "$input" "$input.out"; then
    echo "ok   ${input##*/} ($(stat -c %s "$input") bytes)"; passed=$((passed + 1))
  else
    echo "FAIL ${input##*/}: $(stat -c %s "$input") bytes in, $(stat -c %s "$input.out" || echo no) out"
    failed=$((failed + 1))
  fi
done
echo "lz32_roundtrip: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
