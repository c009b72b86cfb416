#!/usr/bin/env bash
# Cross-builds the Windows programs (Release, static, mingw-w64) and makes
# here, with CPack, the installer kxc2-map-kit-<version>-setup.exe (NSIS,
# 64-bit) and the portable kit kxc2-map-kit-<version>-win64.zip.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/install-packages.sh "${WINDOWS_PACKAGE_PACKAGES[@]}"

build=build-windows
# The cross build searches only mingw's own folders; the PNG writer's header
# is the system's (header-only, so any target may use it).
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DKXC2_PORTABLE_ONLY=ON -DKXC2_BUILD_TESTS=OFF -DKXC2_STB_DIR=/usr/include/stb
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/kxc2-map-kit-*-setup.exe "$build"/kxc2-map-kit-*-win64.zip
(cd "$build" && cpack)
made=("$build"/kxc2-map-kit-*-setup.exe "$build"/kxc2-map-kit-*-win64.zip)
mv -f "${made[@]}" .
for file in "${made[@]##*/}"; do
  echo "Made $file ($(stat -c %s "$file") bytes)"
done
