#!/usr/bin/env bash
# Makes a real product folder for the benchmarks, laid out as KWB_PRODUCT_FILES wants it,
# from files every build machine has: Wine's own x86_64 programs and libraries (the
# set-up script installs Wine) and Debian's licence texts. 6.7 MB in all, each file
# within the installer's 2,000,000-byte limit; edition 4.2 and the library, what a
# silent installation of 4.2 writes, are 5.2 MB.
#
# Usage: bench/product.sh FOLDER   (made anew; prints nothing but errors)
set -euo pipefail

out=${1:?usage: product.sh FOLDER}
wine_dirs=(/usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows)
licences=/usr/share/common-licenses

# The product's file NAME made from SOURCE, a Wine program by its name or a licence text.
place() {
  local name=$1 source=$2 dir
  if [ -f "$licences/$source" ]; then
    cp "$licences/$source" "$out/$name"
  else
    for dir in "${wine_dirs[@]}"; do
      if [ -f "$dir/$source" ]; then
        cp "$dir/$source" "$out/$name"
        break
      fi
    done
  fi
  [ -s "$out/$name" ] || { echo "product: no $source in ${wine_dirs[*]} or $licences" >&2; exit 2; }
  [ "$(stat -c %s "$out/$name")" -le 2000000 ] || { echo "product: $source is over 2,000,000 bytes" >&2; exit 2; }
}

rm -rf "$out"
mkdir -p "$out/3.1.1" "$out/4.2"
place ijl15.dll shlwapi.dll
place 3.1.1/KWB.exe notepad.exe
place 3.1.1/KWB.hlp winhlp32.exe
place 3.1.1/KWB.cnt GPL-2
place 3.1.1/uninstall.exe expand.exe
place 4.2/KWB.exe winecfg.exe
place 4.2/KWB.hlp cmd.exe
place 4.2/KWB.cnt GPL-3
place 4.2/uninstall.exe uninstaller.exe
