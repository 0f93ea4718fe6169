#!/usr/bin/env bash
# The build's signing step with a throwaway self-signed certificate: osslsigncode accepts
# the signature against that certificate and no other (rows: CA file, expected result),
# and the signed installer still installs unattended under Wine.
#   signed_install.sh INSTALLER SIGN_SCRIPT   (under the Wine rig)
set -euo pipefail
installer=$1 sign=$2
work=$WINEPREFIX/drive_c/signing
mkdir -p "$work"
for name in test other; do
  timeout 120 openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Throwaway $name" \
    -keyout "$work/$name.key" -out "$work/$name.pem" 2>/dev/null
done
cp "$installer" "$work/kwbsetup.exe"
bash "$sign" "$work/kwbsetup.exe" "$work/test.pem" "$work/test.key"

failed=0
rows=("test.pem 0" "other.pem 1")
for row in "${rows[@]}"; do
  read -r ca expected <<<"$row"
  rc=0
  timeout 120 osslsigncode verify -CAfile "$work/$ca" -in "$work/kwbsetup.exe" >/dev/null 2>&1 || rc=$?
  [ $((rc != 0)) -eq "$expected" ] || { echo "FAILED: verify against $ca ended with $rc" >&2; failed=1; }
done

rc=0
timeout 300 "$WINE64" 'C:\signing\kwbsetup.exe' /S /EDITION=4.2 '/D=C:\Tools\KWB' || rc=$?
if [ "$rc" -ne 0 ] || [ ! -s "$WINEPREFIX/drive_c/Tools/KWB/KWB.exe" ]; then
  echo "FAILED: the signed installer ended with $rc, KWB.exe is not in place" >&2
  failed=1
fi
exit $failed
