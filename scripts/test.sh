#!/usr/bin/env bash
# Installs what is missing, builds the three presets and runs every test: the native
# unit tests, the Wine suite on the x86_64 build, then the end-to-end rows again on the
# shipped i686 executable under emulation. Prints the figures at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

bash scripts/setup.sh
# The folders of src/ include one another in one direction only.
python3 scripts/layers.py

# The Wine prefix template takes half a minute or more (its 32-bit half runs emulated);
# it is made while the native stages build and test. The Wine stages' own set-up then finds it
# ready, or makes it again if this attempt failed.
mkdir -p build
setsid bash scripts/wine-rig.sh setup build/wine-rig >build/wine-rig-setup.log 2>&1 &
rig_setup=$!
# A run that stops early takes the set-up (its own process group) with it.
trap 'kill -- -$rig_setup 2>/dev/null || true' EXIT

stage() {
  local preset=$1 begun; begun=$(date +%s)
  echo "== $preset: configure, build, test"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  local rc=0
  ctest --preset "$preset" --parallel 2 || rc=$?
  # A scenario's preparation or driver start that passed only at its second try passed, but
  # is named here.
  grep -h "(try 1 of 2)" "build/$preset/Testing/Temporary/LastTest.log" 2>/dev/null |
    sed 's/^/== a second try: /' || true
  [ $rc -eq 0 ] || exit $rc
  echo "== $preset: done in $(( $(date +%s) - begun )) s"
}

stage native
stage native-asan
wait $rig_setup || echo "== the Wine template was not made ahead (build/wine-rig-setup.log); the win64 stage makes it"
stage win64
stage win32

python3 bench/size.py build/win32/kwbsetup.exe
echo "== all tests passed in $(( $(date +%s) - started )) s"
