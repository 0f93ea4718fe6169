#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Safe to run again: it only
# calls apt-get when something is missing, and registers the i386 emulation once per boot.
set -euo pipefail

packages=(
  cmake ninja-build g++ python3
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  libgtest-dev libmspack-dev zlib1g-dev mscompress
  wine64 wine32:i386 qemu-user-static
  xvfb xauth xdotool imagemagick
  osslsigncode openssl python3-yaml python3-jsonschema
  liblnk-utils locales
  clang libclang-rt-14-dev
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The shipped build is 32-bit; this kernel runs no 32-bit code, so qemu-i386 runs it.
binfmt=/proc/sys/fs/binfmt_misc
if ! mountpoint -q "$binfmt"; then
  as_root mount -t binfmt_misc binfmt_misc "$binfmt" || true
fi
if [ -w "$binfmt/register" ] && [ ! -e "$binfmt/qemu-i386" ]; then
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    > "$binfmt/register"
fi
# Wine names files by the host locale's character set: the double-byte scenarios run it in
# a Japanese locale, which must exist on the host.
if ! locale -a | grep -qx ja_JP.utf8; then
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
echo "setup: all packages present"
