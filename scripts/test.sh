#!/usr/bin/env bash
# Installs what is missing, builds the three presets and runs every test: the native
# unit tests, the Wine suite on the x86_64 build, then the slow stage that runs the
# shipped i686 executable under emulation. Prints the figures at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

bash scripts/setup.sh

stage() {
  local preset=$1
  echo "== $preset: configure, build, test"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" --parallel 2
}

stage native
stage native-asan
stage win64
stage win32

python3 bench/size.py build/win32/kwbsetup.exe
echo "== all tests passed in $(( $(date +%s) - started )) s"
