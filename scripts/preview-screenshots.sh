#!/usr/bin/env bash
# The Artwork Preview as a new user meets it, under Xvfb: open the sample
# coast map, open the preview, paint a river from the coast inland in the
# editor and watch it appear; then the pieces' outlines. Writes the
# README's screenshots into docs/.
# Usage: scripts/preview-screenshots.sh [BUILD_FOLDER]   (default build-release)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/install-packages.sh "${BUILD_PACKAGES[@]}" "${SCREENSHOT_PACKAGES[@]}"

build=${1:-build-release}
[ -f "$build/build.ninja" ] ||
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKXC2_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target KxC2Map >/dev/null

scratch=$(mktemp -d)
xvfb_pid=
editor_pid=
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# A program folder of its own whose settings name a game folder holding the
# sample in its scenario folder, so nothing asks for the game.
mkdir -p "$scratch/app" "$scratch/game/scenario"
cp "$build/editor/KxC2Map" "$scratch/app/"
printf '[Locations]\r\nKC2=%s/\r\n' "$scratch/game" >"$scratch/app/KXC2MAP.INI"
cp samples/coast44x39.map "$scratch/game/scenario/"

display=:$((200 + $$ % 100))
Xvfb "$display" -screen 0 1800x740x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

mkdir -p "$scratch/runtime"
chmod 700 "$scratch/runtime"
XDG_RUNTIME_DIR=$scratch/runtime "$scratch/app/KxC2Map" >/dev/null 2>&1 &
editor_pid=$!
editor=$(xdotool search --sync --name "Korvex Command 2 Mapmaker" | head -1)
# No window manager: windows open at the top left and have no frames.
xdotool windowmove "$editor" 0 0
sleep 1

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
shot() { /usr/bin/import -window root "docs/$1"; echo "wrote docs/$1"; }

# File > Open, the sample's name typed into the dialog.
click "$editor" 18 8
xdotool key Down Down Return
xdotool search --sync --name "Open KC2 map description" >/dev/null
sleep 1
xdotool type --delay 30 coast44x39.map
xdotool key Return
sleep 2

# View > Artwork Preview, beside the editor, at 100 %, wheeled to the
# top left where the coast is.
click "$editor" 75 8
xdotool key Down Return
preview=$(xdotool search --sync --name "Artwork Preview" | head -1)
xdotool windowmove "$preview" 805 0
sleep 1
click "$preview" 250 21
xdotool key Down Return
sleep 1
xdotool mousemove --window "$preview" 500 300 click --repeat 30 --delay 10 4 click --repeat 40 --delay 10 6
sleep 1
shot preview-01-opened.png

# Terrain "10 River", then a river from the sea inland, hex by hex; the
# editor's view is zoomed in at origin (0, 0).
click "$editor" 701 188
for hex in 3,5 4,5 5,4 6,4 7,3 8,3 9,2; do
  column=${hex%,*} row=${hex#*,}
  raise=$(( column % 2 == 0 ? 25 : 0 ))
  click "$editor" $((7 + 44 * column + 22)) $((47 + 50 * row - raise + 25))
done
sleep 1
shot preview-02-river-painted.png

# 25 %, with the pieces' outlines and file names.
click "$preview" 250 21
xdotool key Up Up Return
click "$preview" 309 21
sleep 1
shot preview-03-piece-outlines.png
