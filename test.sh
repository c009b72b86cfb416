#!/usr/bin/env bash
# Builds the kit with AddressSanitizer and UBSan and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/install-packages.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKXC2_SANITIZE=ON -DKXC2_BUILD_TESTS=ON
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The Windows programs' tests need Wine; the packages above bring it, and a
# machine without it (another system) skips them.
if command -v wine >/dev/null 2>&1; then exclude=(); else exclude=(-LE wine); fi
cd "$build"
ctest --output-on-failure -j "$(nproc)" "${exclude[@]}"
