#!/usr/bin/env bash
# Signs a built installer with Authenticode (Debian's osslsigncode), in place.
#   sign.sh EXE CERTIFICATE KEY [PASSWORD_FILE] [TIMESTAMP_URL]
# CERTIFICATE is the PEM certificate chain, KEY the PEM (or DER) private key; a key with a
# password has it read from PASSWORD_FILE. With a TIMESTAMP_URL the signature is
# timestamped there, so that it stays valid after the certificate expires.
set -euo pipefail
exe=$1 certificate=$2 key=$3 password_file=${4:-} timestamp_url=${5:-}
options=(-certs "$certificate" -key "$key" -h sha256 -n "Setup of Vistrel Image Browser")
[ -z "$password_file" ] || options+=(-readpass "$password_file")
[ -z "$timestamp_url" ] || options+=(-ts "$timestamp_url")
signed=$(mktemp "$exe.XXXXXX")
trap 'rm -f "$signed"' EXIT
rm -f "$signed"
timeout 300 osslsigncode sign "${options[@]}" -in "$exe" -out "$signed" >/dev/null
mv "$signed" "$exe"
