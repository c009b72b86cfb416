#!/usr/bin/env bash
# Builds the benchmarks in Release, runs them, times whole processes and ends
# with one table of figures, each next to the floor measured in the same run
# (also written as Markdown to build-bench/performance.md).
# Arguments go to every benchmark program, e.g. --benchmark_filter=Redraw.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/install-packages.sh "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKXC2_BUILD_TESTS=OFF -DKXC2_BUILD_BENCH=ON
cmake --build "$build" -j "$(nproc)"

results=$build/results
rm -rf "$results"
mkdir -p "$results"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
notes=()
note() { notes+=("$1"); echo "-- $1"; }
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# ---- Benchmarks -----------------------------------------------------------
for bench in $(find "$build/bench" -type f -executable -name 'bench_*' | sort); do
  name=$(basename "$bench")
  echo "== $name"
  QT_QPA_PLATFORM=offscreen "$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@"
done

# ---- Whole processes --------------------------------------------------------
# Every command takes its turn in each round (process_timer), so a change of
# load falls on all alike. kxc2tool shp converts pieces painted once; after
# the warm-up every run finds the SHP files of the one before (deleted on
# --yes), as mogrify and the floors find their outputs of the run before.
tool=$build/cli/kxc2tool
report=$build/bench/report
game=$scratch/game
mkdir -p "$game/UserBMP" "$game/UserMap" "$scratch/paint/UserBMP" "$scratch/paint/UserMap" \
  "$scratch/mogrify" "$scratch/safe" "$scratch/plain"
"$report/busy_map_file" "$scratch/busy.map"
"$tool" paint "$scratch/busy.map" --game-folder "$game" --yes >/dev/null
pieces=$(find "$game/UserBMP" -name '*.bmp' | sort | tr '\n' ' ')
"$tool" shp $pieces --game-folder "$game" --yes >/dev/null
sized=""  # each piece with the size of its SHP file, for the I/O floors
for piece in $pieces; do sized+="$piece $(stat -c %s "$game/UserMap/$(basename "$piece" .bmp).shp") "; done
bmp_bytes=$(cat $pieces | wc -c)
shp_bytes=$(cat "$game"/UserMap/*.shp | wc -c)
echo "== Whole processes, taking turns"
"$report/process_timer" 3 31 "$results/processes.json" \
  "kxc2tool --version" "$tool --version" \
  "one-line C++ program" "$report/one_line" \
  "kxc2tool paint" "$tool paint $scratch/busy.map --game-folder $scratch/paint --yes" \
  "kxc2tool shp" "$tool shp $pieces--game-folder $game --yes" \
  "mogrify -compress RLE" "mogrify -path $scratch/mogrify -compress RLE $pieces" \
  "I/O floor, safe write" "$report/io_floor --safe $scratch/safe $sized" \
  "I/O floor, plain write" "$report/io_floor --plain $scratch/plain $sized"

# ---- Editor start-up --------------------------------------------------------
# The editor reads KXC2MAP.INI beside itself, so a copy of it runs from a
# folder of its own with a settings file naming a scratch game folder.
editor=$scratch/editor
mkdir -p "$editor" "$scratch/editor-game"
cp "$build/editor/KxC2Map" "$editor/"
printf '[Locations]\r\nKC2=%s/\r\n' "$scratch/editor-game" >"$editor/KXC2MAP.INI"
timer=$report/startup_timer
startup=(10 "$results/startup.json" "KxC2Map" "Korvex Command 2 Mapmaker" "$editor/KxC2Map"
         "empty QMainWindow" "Empty window" "$report/empty_window")
echo "== Start-up to the first shown window"
if [ ! -x "$timer" ]; then
  note "Editor start-up not measured: startup_timer was not built (Xlib headers missing)."
elif [ -n "${DISPLAY:-}" ] && "$timer" "${startup[@]}"; then
  note "Start-up measured on the display $DISPLAY."
elif command -v xvfb-run >/dev/null 2>&1 && xvfb-run -a "$timer" "${startup[@]}"; then
  note "Start-up measured under Xvfb (xvfb-run), without a window manager."
else
  note "Editor start-up not measured: no X server could be had."
fi

# ---- The table ----------------------------------------------------------------
cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
note_machine="Machine: $cpu, $(nproc) cores; load average (1, 5, 15 min) $load_before at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end."
echo
echo "== Figures (medians; build-bench/performance.md)"
"$report/figures_table" "$results" "$build/performance.md" \
  "$note_machine" \
  "Clock: wall is elapsed time; CPU is the process's CPU time, steadier on a shared machine for work that never waits." \
  "Benchmarks: medians of 5 repetitions." \
  "Whole processes: medians of 31 rounds after 3 warm-up rounds, the commands taking turns in each round; CPU is the child's user + system time (wait4). Besides their own floors, paint and shp are set against \`kxc2tool --version\` (same program, same libraries loaded, no work). The one-line program is C++ (iostream), built and dynamically linked as kxc2tool is." \
  "shp of the busy map's 15 pieces ($bmp_bytes bytes of BMP in, $shp_bytes bytes of SHP out) replaces the 15 SHP files of the run before. mogrify writes RLE BMPs into a folder of its own (-path), without fsync. The I/O floor reads each BMP whole and writes as many bytes as its SHP file has: 'safe' as kxc2tool writes (a temporary beside the target, fsync, rename, fsync of the folder, per file), 'plain' in place without fsync." \
  "Start-up: from fork to the mapping of the window titled \"Korvex Command 2 Mapmaker\" (watched through X events, the window then closed); floor: a Qt Widgets program showing an empty QMainWindow, timed the same way." \
  "${notes[@]}"
