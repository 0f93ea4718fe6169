#!/usr/bin/env bash
# Checks kwbpack's output against the Windows LZ expansion library: compresses
# a set of inputs with kwbpack, expands each under Wine with lz32_expand.exe
# (LZInit + LZRead, as the installer does) and compares with the input, bytes
# and length. That library ignores the length in the header and stops where
# the data stops, so only a byte-exact comparison shows a faulty stream.
#
# Environment:
#   WINE64       path of wine64
#   WINEPREFIX   an already prepared Wine prefix; the inputs are made in its drive C:
#   LZ32_EXPAND  path of lz32_expand.exe (tools/kwbpack/lz32_expand.c)
#   KWBPACK      path of the kwbpack binary
# Prints one line per input and a closing "N passed, N failed" line; exits
# non-zero when any input failed or the setup is incomplete.
set -euo pipefail

die() { echo "lz32_roundtrip: $*" >&2; exit 2; }

for var in WINE64 WINEPREFIX LZ32_EXPAND KWBPACK; do
  [ -n "${!var:-}" ] || die "$var is not set"
done
[ -x "$WINE64" ] || die "WINE64 '$WINE64' is not executable"
[ -d "$WINEPREFIX" ] || die "WINEPREFIX '$WINEPREFIX' is not a directory"
[ -f "$LZ32_EXPAND" ] || die "LZ32_EXPAND '$LZ32_EXPAND' does not exist"
[ -x "$KWBPACK" ] || die "KWBPACK '$KWBPACK' is not executable"
command -v python3 >/dev/null || die "python3 is needed to make the inputs"
export WINEPREFIX
export WINEDEBUG=-all

# Each Wine run is bounded; the first one in a prefix starts its server.
wine_timeout=${LZ32_TIMEOUT:-180}

work=$(mktemp -d "$WINEPREFIX/drive_c/lz32-roundtrip.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The inputs, made the same way on every machine. Paths of 128 characters
# or more are out of LZOpenFileA's reach; one input lives under such a path.
long_dir="$work/$(printf 'long-folder-name-%.0s' $(seq 8))"
mkdir -p "$work/in" "$long_dir"
python3 - "$work/in" "$long_dir" <<'PY'
import os, random, sys
out, long_dir = sys.argv[1], sys.argv[2]

def put(name, data, folder=out):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)

def read_or(path, fallback):
    try:
        with open(path, "rb") as f:
            return f.read()[:2000000]
    except OSError:
        return fallback

rng = random.Random(5)
def random_bytes(n):
    return bytes(rng.getrandbits(8) for _ in range(n))

def mixed(n):
    data = bytearray()
    while len(data) < n:
        length, kind = 1 + rng.randrange(40), rng.randrange(4)
        if kind == 0:
            data += bytes([rng.getrandbits(8)]) * length
        elif kind == 1:
            data += random_bytes(length)
        elif data:
            back = 1 + rng.randrange(min(len(data), 5000))
            for _ in range(length):
                data.append(data[-back])
    return bytes(data[:n])

words = b"the installer copies each file into its folder and writes a shortcut".split()
text = b" ".join(rng.choice(words) for _ in range(6000))
block = random_bytes(4096)
runs = b"".join(bytes([rng.getrandbits(8)]) * (1 + rng.randrange(300)) for _ in range(400))

put("empty", b"")
put("one-byte", b"x")
put("fifteen-bytes", b"Fifteen bytes!\n")
put("all-spaces", b" " * 20000)
put("leading-spaces", b"       two words   and spaces")
put("runs", runs)
put("text", read_or("/usr/share/common-licenses/GPL-3", text))
put("executable", read_or("/usr/bin/ls", random_bytes(150000)))
put("random", random_bytes(100000))
put("window-edge", block * 3)
put("trailing-zeros", b"zeros follow" + bytes(100))
put("largest-allowed", mixed(2000000))
put("long-path", text, long_dir)
PY

# The prefix has no drive for the host's root, so every file lives under drive C:.
to_windows() {
  local inside=${1#"$WINEPREFIX/drive_c/"}
  printf 'C:\\%s' "${inside//\//\\}"
}

passed=0
failed=0
check() {
  local input=$1 name
  name=$(basename "$input")
  local packed="$input.z_" expanded="$input.out"
  if ! "$KWBPACK" compress "$input" "$packed"; then
    echo "FAIL $name: kwbpack failed"; failed=$((failed + 1)); return
  fi
  local status=0
  timeout "$wine_timeout" "$WINE64" "$LZ32_EXPAND" \
    "$(to_windows "$packed")" "$(to_windows "$expanded")" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAIL $name: lz32_expand exit $status"; failed=$((failed + 1)); return
  fi
  if cmp -s "$input" "$expanded"; then
    echo "ok   $name ($(stat -c %s "$input") bytes)"; passed=$((passed + 1))
  else
    echo "FAIL $name: expanded $(stat -c %s "$expanded") bytes differ from" \
      "the $(stat -c %s "$input") input bytes"
    failed=$((failed + 1))
  fi
}

for input in "$work"/in/* "$long_dir/long-path"; do
  case $input in *.z_|*.out) continue ;; esac
  check "$input"
done

echo "lz32_roundtrip: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
