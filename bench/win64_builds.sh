# The x86_64 installers the installation benchmarks compare, built on demand (sourced by
# install_time.sh and peer_nsis.sh; needs the native kwbpack, as every Windows build does):
#
#   bench_installer PAYLOAD CHECKS   builds and prints the path of kwbsetup.exe with
#       PAYLOAD  standin: the stand-ins (the win64 preset's own build, build/win64)
#                product:  the real product that bench/product.sh makes
#       CHECKS   checks: as shipped
#                none:   the start-up check of the payload and the check of each expanded
#                        file left out (a copy of the tree, patched, in build/bench-src-none)
#
# The other trees are build/win64-product, build/win64-none and build/win64-product-none.
# Every build goes to the log file $bench_log.

bench_repo=${bench_repo:?}
bench_log=${bench_log:-/dev/null}
bench_product=$bench_repo/build/bench-product

bench_product_folder() {
  [ -f "$bench_product/.complete" ] && return 0
  bash "$bench_repo/bench/product.sh" "$bench_product" && touch "$bench_product/.complete"
}

# A copy of the tree whose installer checks nothing: the start-up check says intact at
# once and an expanded file's CRC is not computed. The copy is refreshed on every call,
# so that it follows the tree; the patch must still apply, or the bench stops.
bench_unchecked_tree() {
  local copy=$bench_repo/build/bench-src-none
  mkdir -p "$copy"
  (cd "$bench_repo" && tar --exclude=./build --exclude=./.git -cf - .) | tar -C "$copy" -xf -
  # tar keeps the times: files the patch does not touch are not rebuilt.
  local sums=$copy/src/install/payload_sums.cpp extraction=$copy/src/install/payload_extraction.cpp
  sed -i 's/^bool IsPayloadIntact(PayloadResources &resources) {$/&\n  return true;/' "$sums"
  perl -0pi -e 's/ReadNumber\(sum\) != Crc32\(.*?\)\)/false/s' "$extraction"
  if ! grep -q '^  return true;$' "$sums" || grep -q 'Crc32(' "$extraction"; then
    echo "bench: the checks are no longer where bench/win64_builds.sh removes them" >&2
    return 1
  fi
  echo "$copy"
}

bench_installer() {
  local payload=$1 checks=$2 source=$bench_repo name=win64 files="" options=()
  [ "$payload" = standin ] || { name=$name-$payload; bench_product_folder; files=$bench_product; }
  if [ "$checks" = none ]; then
    name=$name-none
    source=$(bench_unchecked_tree)
    options=(-DKWB_WARNINGS_AS_ERRORS=OFF)
  fi
  local tree=$bench_repo/build/$name
  if [ ! -f "$tree/CMakeCache.txt" ]; then
    timeout 600 cmake -S "$source" --preset win64 -B "$tree" -DKWB_PRODUCT_FILES="$files" \
      -DKWB_PACKER="$bench_repo/build/native/tools/kwbpack/kwbpack" "${options[@]}" \
      >>"$bench_log" 2>&1 || { echo "bench: configuring $tree failed (see $bench_log)" >&2; return 1; }
  fi
  timeout 1200 cmake --build "$tree" --target kwbsetup >>"$bench_log" 2>&1 ||
    { echo "bench: building $tree failed (see $bench_log)" >&2; return 1; }
  echo "$tree/kwbsetup.exe"
}
