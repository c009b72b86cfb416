#!/usr/bin/env bash
# Builds the kit in Release with Debian's hardening flags and makes the
# Debian package kxc2-map-kit_<version>_amd64.deb here with CPack, then runs
# lintian on it; exits 1 when lintian finds an error.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/install-packages.sh "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

build=build-package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKXC2_BUILD_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" -j "$(nproc)" --target KxC2Map KxC2Run kxc2tool kxc2_install_files
rm -f "$build"/kxc2-map-kit_*.deb
(cd "$build" && cpack -G DEB)
deb=$(cd "$build" && ls kxc2-map-kit_*_amd64.deb)
mv "$build/$deb" .
dpkg-deb --field "$deb" Package Version Section Depends

echo "== lintian $deb"
report=$(lintian --pedantic "$deb" || true)
[ -n "$report" ] && echo "$report"
count() { grep -c "^$1: " <<<"$report" || true; }
echo "lintian: $(count E) errors, $(count W) warnings, $(count I) info, $(count P) pedantic"
echo "Made $deb"
[ "$(count E)" -eq 0 ]
