#!/usr/bin/env bash
# Builds the kit in Release and starts the editor.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/install-packages.sh "${BUILD_PACKAGES[@]}"

build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKXC2_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)"

editor="$build/editor/KxC2Map"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found, so the editor cannot open its window."
  echo "Built: $editor, $build/cli/kxc2tool and $build/launcher/KxC2Run."
  echo "To run the editor without a screen, try: xvfb-run ./run.sh"
  exit 1
fi
exec "$editor" "$@"
