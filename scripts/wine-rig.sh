#!/usr/bin/env bash
# The Wine test rig. One rig folder per build tree holds the prefix template, the Xvfb
# display and the prefix copies of the tests that are running.
#
#   wine-rig.sh setup RIG               make the template once (if missing) and start Xvfb
#   wine-rig.sh teardown RIG            stop Xvfb and any server a test left behind
#   wine-rig.sh exe RIG NAME [--with FILE]... EXE [ARG]...
#                                       run a Windows program in a fresh prefix copy, from
#                                       C:\tests, with the other files copied beside it
#   wine-rig.sh script RIG NAME CMD...  run a host command against a fresh prefix copy
#                                       (WINEPREFIX, DISPLAY, WINE64, WINESERVER64 set)
#   wine-rig.sh shell RIG NAME          like script, with an interactive shell, for debugging
#   wine-rig.sh preload RIG             only build RIG/noreplace32.so and print the value
#                                       QEMU_SET_ENV takes to preload it ("" without it)
#
# Every wait is bounded; a test that overruns is killed with its server and its prefix
# copy is removed all the same.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WINE64=/usr/lib/wine/wine64
WINESERVER64=/usr/lib/wine/wineserver64
export WINEDEBUG="${WINEDEBUG:--all}"
# Without the menu builder, a shortcut a test makes stays in the prefix instead of
# turning into a menu entry and a .desktop file in the host user's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
TEMPLATE_TIMEOUT=900
TEST_TIMEOUT="${KWB_WINE_TEST_TIMEOUT:-600}"

die() { echo "wine-rig: $*" >&2; exit 1; }

start_xvfb() {
  local rig=$1
  if [ -f "$rig/xvfb.pid" ] && kill -0 "$(cat "$rig/xvfb.pid")" 2>/dev/null; then
    return 0
  fi
  rm -f "$rig/display"
  # -displayfd picks a free display and writes its number once the server listens.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$rig/display" >/dev/null 2>&1 &
  echo $! >"$rig/xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$rig/display" ] && break
    sleep 0.1
  done
  [ -s "$rig/display" ] || die "Xvfb did not start within 10 s"
}

display_of() { echo ":$(tr -d '\n' <"$1/display")"; }

# Emulated 32-bit Wine processes start in seconds rather than minutes with
# noreplace32.so preloaded (the source says why); qemu sets the preload for them alone.
# Without clang the rig goes on without it, only slower.
build_preload() {
  local rig=$1 source
  source="$HERE/noreplace32.c"
  [ "$rig/noreplace32.so" -nt "$source" ] && return 0
  timeout 120 clang --target=i386-linux-gnu -O2 -fPIC -shared -nostdlib -Wall -Werror \
    -o "$rig/noreplace32.so" "$source" ||
    echo "wine-rig: noreplace32.so not built; emulated 32-bit programs start slowly" >&2
}
preload_setting() { [ ! -f "$1/noreplace32.so" ] || echo "LD_PRELOAD=$1/noreplace32.so"; }
use_preload() {
  local setting; setting=$(preload_setting "$1")
  [ -z "$setting" ] || export QEMU_SET_ENV=$setting
}

make_template() {
  local rig=$1 template=$1/template
  [ -f "$template/.complete" ] && return 0
  rm -rf "$template"
  echo "wine-rig: making the prefix template"
  local display; display=$(display_of "$rig")
  use_preload "$rig"
  WINEPREFIX=$template DISPLAY=$display timeout "$TEMPLATE_TIMEOUT" "$WINE64" wineboot -i \
    >"$rig/template.log" 2>&1 || die "wineboot failed or timed out (see $rig/template.log)"
  # Without a window manager every window that closes waits 2 s; unmanaged windows do not.
  WINEPREFIX=$template DISPLAY=$display timeout 120 "$WINE64" reg add \
    'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$rig/template.log" 2>&1 ||
    die "could not set the X11 driver option"
  # The 32-bit half of the prefix is set up by emulated programs that wineboot leaves
  # running; on a loaded machine they take minutes. A server that does not stop in time
  # is ended with them, so that nothing is left behind.
  WINEPREFIX=$template timeout "$TEMPLATE_TIMEOUT" "$WINESERVER64" -w || {
    WINEPREFIX=$template timeout 60 "$WINESERVER64" -k || true
    die "the template's server did not stop"
  }
  # Drive Z: is the host's root: nothing a test does may write there.
  rm -f "$template/dosdevices/z:"
  # Wineboot links the profile's Desktop, Documents and the like to the host user's
  # home; as folders of their own, what a test puts there stays in its prefix copy.
  local link
  for link in "$template"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
  done
  touch "$template/.complete"
}

# Prepares a prefix copy for one test and exports its environment.
enter_prefix() {
  local rig=$1 name=$2
  [ -f "$rig/template/.complete" ] || die "no template in $rig: run setup first"
  [ -s "$rig/display" ] || die "no display in $rig: run setup first"
  mkdir -p "$rig/prefixes"
  PREFIX=$(mktemp -d "$rig/prefixes/$name.XXXXXX")
  # Teardown leaves the copies of tests that are still running alone, from the moment
  # they are begun.
  echo $$ >"$PREFIX.owner"
  export WINEPREFIX=$PREFIX
  trap leave_prefix EXIT
  rmdir "$PREFIX"
  cp -a "$rig/template" "$PREFIX"
  # Debian's Wine keeps its servers' sockets in one folder per prefix, named in the
  # prefix's "wineserver" file, and within it one per prefix folder's inode number. The
  # copies would share the template's folder, where a new copy that gets the inode number
  # of one just removed would meet that copy's server, if anything still runs there.
  # Without the file, the copy's server makes a folder of its own.
  rm -f "$PREFIX/wineserver"
  DISPLAY=$(display_of "$rig")
  export DISPLAY WINE64 WINESERVER64
  use_preload "$rig"
  timeout 60 "$WINESERVER64" -p || die "could not start the wineserver"
  SERVER_DIR=$(server_dir "$PREFIX")
}

# The socket folder named in a prefix's "wineserver" file, if there is one.
server_dir() {
  local name
  name=$(cat "$1/wineserver" 2>/dev/null) || return 0
  case $name in */*) ;; wine-?*) echo "${TMPDIR:-/tmp}/$name" ;; esac
}

leave_prefix() {
  local rc=$?
  [ ! -f "$PREFIX.output" ] || cat "$PREFIX.output"
  bash "$HERE/wine-stop.sh"
  if [ -z "${KWB_KEEP_PREFIX:-}" ]; then
    # A test may have replaced the file (to run as another user) since the start.
    rm -rf "${SERVER_DIR:-}" "$(server_dir "$PREFIX")" "$PREFIX" "$PREFIX.owner" "$PREFIX.output"
  fi
  exit $rc
}

# Runs a test's command within the test time limit and ends the script with its status.
# Its output goes through a file, shown as the prefix is left: the services and the
# desktop process that the first program starts keep that program's standard handles
# until the server stops, and CTest would wait for a pipe as long.
run_bounded() {
  local name=$1 rc=0
  shift
  timeout -k 10 "$TEST_TIMEOUT" "$@" >"$PREFIX.output" 2>&1 || rc=$?
  [ $rc -ne 124 ] || echo "wine-rig: $name timed out after $TEST_TIMEOUT s" >&2
  exit $rc
}

command=${1:-}
rig=${2:-}
[ -n "$command" ] && [ -n "$rig" ] || die "usage: wine-rig.sh setup|teardown|exe|script|shell|preload RIG ..."
mkdir -p "$rig"
rig=$(cd "$rig" && pwd)

case "$command" in
setup)
  build_preload "$rig"
  start_xvfb "$rig"
  make_template "$rig"
  ;;
teardown)
  # Copies whose test ended without cleaning up (killed from outside) are removed with
  # their servers; those of tests still running, from another ctest, are left alone, and
  # so is the display they use.
  busy=""
  for prefix in "$rig"/prefixes/*/; do
    [ -d "$prefix" ] || continue
    prefix=${prefix%/}
    owner=$(cat "$prefix.owner" 2>/dev/null || true)
    if [ -n "$owner" ] && kill -0 "$owner" 2>/dev/null; then
      busy=1
      continue
    fi
    WINEPREFIX=$prefix bash "$HERE/wine-stop.sh"
    rm -rf "$(server_dir "$prefix")" "$prefix" "$prefix.owner" "$prefix.output"
  done
  if [ -z "$busy" ] && [ -f "$rig/xvfb.pid" ]; then
    kill "$(cat "$rig/xvfb.pid")" 2>/dev/null || true
    rm -f "$rig/xvfb.pid" "$rig/display"
  fi
  ;;
exe)
  name=$3
  shift 3
  files=()
  while [ "${1:-}" = --with ]; do
    files+=("$2")
    shift 2
  done
  exe=$1
  shift
  enter_prefix "$rig" "$name"
  mkdir -p "$PREFIX/drive_c/tests"
  cp "$exe" "${files[@]}" "$PREFIX/drive_c/tests/"
  cd "$PREFIX/drive_c/tests"
  run_bounded "$name" "$WINE64" "C:\\tests\\$(basename "$exe")" "$@"
  ;;
script)
  name=$3
  shift 3
  enter_prefix "$rig" "$name"
  run_bounded "$name" "$@"
  ;;
preload)
  build_preload "$rig"
  preload_setting "$rig"
  ;;
shell)
  enter_prefix "$rig" "$3"
  "${SHELL:-bash}" -i
  ;;
*)
  die "unknown command $command"
  ;;
esac
