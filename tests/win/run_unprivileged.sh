#!/usr/bin/env bash
# Runs a test program of this folder as an unprivileged user (nobody, 65534) in the
# rig's prefix copy: under Wine, root may overwrite read-only files, as no Windows user
# can. Called by the Wine rig's "script" command, which sets WINEPREFIX, DISPLAY, WINE64
# and WINESERVER64 and starts a server for root.
#
#   run_unprivileged.sh EXE GTEST_FILTER [FILE...]
#
# The prefix is handed to the user for the run and back to root afterwards; the user's
# own wineserver is stopped whatever happens.
set -euo pipefail

exe=$1
filter=$2
shift 2
: "${WINEPREFIX:?}" "${WINE64:?}" "${WINESERVER64:?}" "${DISPLAY:?}"
user=65534
timeout_s="${KWB_WINE_TEST_TIMEOUT:-300}"

mkdir -p "$WINEPREFIX/drive_c/tests" "$WINEPREFIX/home"
cp "$exe" "$@" "$WINEPREFIX/drive_c/tests/"

as_user() {
  setpriv --reuid=$user --regid=$user --clear-groups \
    env HOME="$WINEPREFIX/home" USER=nobody WINEPREFIX="$WINEPREFIX" DISPLAY="$DISPLAY" \
    WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-}" TZ="${TZ:-}" "$@"
}

finish() {
  local rc=$?
  as_user timeout 60 "$WINESERVER64" -k >/dev/null 2>&1 || true
  as_user timeout 60 "$WINESERVER64" -w >/dev/null 2>&1 || true
  # The user's server folder, named in the prefix's "wineserver" file, goes too.
  # The file holds the folder's name below TMPDIR (or /tmp).
  local server_dir
  server_dir=$(cat "$WINEPREFIX/wineserver" 2>/dev/null || true)
  case "$server_dir" in
  wine-*)
    server_dir="${TMPDIR:-/tmp}/$server_dir"
    if [ "$(stat -c %u "$server_dir" 2>/dev/null)" = $user ]; then rm -rf "$server_dir"; fi
    ;;
  esac
  rm -f "$WINEPREFIX/wineserver"
  chown -R 0:0 "$WINEPREFIX"
  exit $rc
}
trap finish EXIT

# Root's server keeps the prefix's registry open; the user's server must not share it.
timeout 60 "$WINESERVER64" -k >/dev/null 2>&1 || true
timeout 60 "$WINESERVER64" -w >/dev/null 2>&1 || true
# Debian's Wine keeps the path of its server folder (root's, mode 0700) in the prefix's
# "wineserver" file; without it the user's Wine makes a folder of its own.
rm -f "$WINEPREFIX/wineserver"
chown -R $user:$user "$WINEPREFIX"

set +e
as_user timeout -k 10 "$timeout_s" "$WINE64" "C:\\tests\\$(basename "$exe")" \
  "--gtest_filter=$filter"
rc=$?
set -e
[ $rc -ne 124 ] || echo "run_unprivileged: the test timed out after $timeout_s s" >&2
exit $rc
