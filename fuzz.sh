#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# SECONDS (default 60). New inputs go to build-fuzz/corpus/<fuzzer>; the
# seeds in fuzz/seeds/<fuzzer> are only read. A finding stops that fuzzer,
# leaves its crash-* file in build-fuzz/findings/<fuzzer>, and makes the
# script exit 1 after the others have run.
#
# The seeds of the map, settings and tile-set fuzzers are written by
# build-fuzz/fuzz/fuzz_make_seeds fuzz/seeds (target fuzz_make_seeds).
#
# usage: ./fuzz.sh [SECONDS] [FUZZER...]
set -eu

root=$(cd "$(dirname "$0")" && pwd)
source "$root/scripts/packages.sh"
"$root/scripts/install-packages.sh" "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"

seconds=${1:-60}
[ $# -gt 0 ] && shift
build="$root/build-fuzz"
fuzzers=${*:-"fuzz_shp_decoder fuzz_shp_bitmap fuzz_map_reader fuzz_settings_reader fuzz_tileset_paint"}

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer" \
  -DKXC2_FUZZ=ON -DKXC2_BUILD_TESTS=OFF -DKXC2_BUILD_BENCH=OFF -DKXC2_SANITIZE=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" --target $fuzzers -j2

failed=""
for fuzzer in $fuzzers; do
  corpus="$build/corpus/$fuzzer"
  findings="$build/findings/$fuzzer"
  mkdir -p "$corpus" "$findings"
  seeds=""
  [ -d "$root/fuzz/seeds/$fuzzer" ] && seeds="$root/fuzz/seeds/$fuzzer"
  echo "== $fuzzer for $seconds s"
  # shellcheck disable=SC2086
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      "$build/fuzz/$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" $seeds; then
    failed="$failed $fuzzer"
  fi
done

if [ -n "$failed" ]; then
  echo "findings in:$failed (see $build/findings)" >&2
  exit 1
fi
echo "no findings"
