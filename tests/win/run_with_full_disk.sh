#!/usr/bin/env bash
# Runs a test program of this folder with drive T: on a 1 MB tmpfs, which fills up as a
# real disk does (writes stop with ERROR_DISK_FULL). Called by the Wine rig's "script"
# command (WINEPREFIX, DISPLAY, WINE64,
# WINESERVER64 set); needs root to mount. The file system is
# unmounted and its mount point removed whatever happens.
#
#   run_with_full_disk.sh EXE GTEST_FILTER [FILE...]
set -euo pipefail

exe=$1
filter=$2
shift 2
: "${WINEPREFIX:?}" "${WINE64:?}" "${WINESERVER64:?}"
timeout_s="${KWB_WINE_TEST_TIMEOUT:-300}"

mkdir -p "$WINEPREFIX/drive_c/tests"
cp "$exe" "$@" "$WINEPREFIX/drive_c/tests/"

mount_point=$(mktemp -d "${TMPDIR:-/tmp}/kwb-full-disk.XXXXXX")
finish() {
  local rc=$?
  rm -f "$WINEPREFIX/dosdevices/t:"
  # The server may still hold the drive; the rig starts no other test in this prefix.
  timeout 60 "$WINESERVER64" -k >/dev/null 2>&1 || true
  timeout 60 "$WINESERVER64" -w >/dev/null 2>&1 || true
  for _ in 1 2 3 4 5; do
    umount "$mount_point" 2>/dev/null && break
    sleep 1
  done
  mountpoint -q "$mount_point" && umount -l "$mount_point"
  rmdir "$mount_point"
  exit $rc
}
trap finish EXIT
mount -t tmpfs -o size=1m,mode=0755 tmpfs "$mount_point"
ln -s "$mount_point" "$WINEPREFIX/dosdevices/t:"

set +e
timeout -k 10 "$timeout_s" "$WINE64" "C:\\tests\\$(basename "$exe")" "--gtest_filter=$filter"
rc=$?
set -e
[ $rc -ne 124 ] || echo "run_with_full_disk: the test timed out after $timeout_s s" >&2
exit $rc
