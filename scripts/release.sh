#!/usr/bin/env bash
# Makes a release: builds the shipped i686 kwbsetup.exe in a fresh folder (build/release),
# signs it when a certificate is given, and writes into dist/ the installer, its package
# manager's manifest (winget/, packaging/winget.py) and SHA256SUMS over both.
#
#   release.sh --url URL [--files DIR] [--certificate FILE --key FILE
#              [--password-file FILE] [--timestamp-url URL]] [--out DIR]
#
# URL is where the installer will be downloaded from; DIR holds the product's files, laid
# out as KWB_PRODUCT_FILES wants them (else the stand-ins); the signing options are the
# build's KWB_SIGN_* variables. Without a certificate the installer is the same, byte for
# byte, as any build of the same tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: release.sh --url URL [--files DIR] [--certificate FILE --key FILE [--password-file FILE] [--timestamp-url URL]] [--out DIR]"

url="" files="" certificate="" key="" password_file="" timestamp_url="" out=$root/dist
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || { echo "release: $1 needs a value" >&2; echo "$usage" >&2; exit 2; }
  case "$1" in
  --url) url=$2 ;;
  --files) files=$(realpath "$2") ;;
  --certificate) certificate=$(realpath "$2") ;;
  --key) key=$(realpath "$2") ;;
  --password-file) password_file=$(realpath "$2") ;;
  --timestamp-url) timestamp_url=$2 ;;
  --out) out=$(realpath -m "$2") ;;
  *) echo "release: unknown option $1" >&2; echo "$usage" >&2; exit 2 ;;
  esac
  shift 2
done
missing=()
[ -n "$url" ] || missing+=("--url URL (where the installer will be downloaded from)")
[ -z "$certificate" ] || [ -n "$key" ] || missing+=("--key FILE (the certificate's private key)")
[ -z "$key" ] || [ -n "$certificate" ] || missing+=("--certificate FILE (the key's certificate chain)")
for file in "$files" "$certificate" "$key" "$password_file"; do
  [ -z "$file" ] || [ -e "$file" ] || missing+=("$file (no such file or folder)")
done
if [ ${#missing[@]} -gt 0 ]; then
  printf 'release: missing: %s\n' "${missing[@]}" >&2
  echo "$usage" >&2
  exit 2
fi

cd "$root"
bash scripts/setup.sh
# The packer runs on the build machine; the installer is built from nothing each time, so
# that no setting of an earlier build is left in its cache.
timeout 900 cmake --preset native >/dev/null
timeout 900 cmake --build --preset native --target kwbpack >/dev/null
build=$root/build/release
rm -rf "$build"
timeout 900 cmake --preset win32 -B "$build" -DKWB_WINE_TESTS=OFF \
  -DKWB_PRODUCT_FILES="$files" -DKWB_SIGN_CERTIFICATE="$certificate" -DKWB_SIGN_KEY="$key" \
  -DKWB_SIGN_PASSWORD_FILE="$password_file" -DKWB_SIGN_TIMESTAMP_URL="$timestamp_url" >/dev/null
timeout 1800 cmake --build "$build" --target kwbsetup >/dev/null

# Only a previous release's own files are replaced; anything else in the folder stays.
mkdir -p "$out"
rm -rf "$out/kwbsetup.exe" "$out/SHA256SUMS" "$out/winget"
cp "$build/kwbsetup.exe" "$out/"
python3 packaging/winget.py --installer "$out/kwbsetup.exe" --url "$url" \
  --out "$out/winget" --date "$(date -u +%F)" >/dev/null
(cd "$out" && sha256sum kwbsetup.exe winget/*.yaml >SHA256SUMS)
echo "release: $out"
(cd "$out" && find . -type f | sort | sed 's|^\./|  |')
