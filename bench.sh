#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/install-packages.sh "${BUILD_PACKAGES[@]}"

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKXC2_BUILD_TESTS=OFF -DKXC2_BUILD_BENCH=ON
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
for bench in $(find "$build/bench" -type f -executable -name 'bench_*' | sort); do
  echo "== $(basename "$bench")"
  "$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
done
