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
median_of() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# Without hyperfine: warm-up, then RUNS timed runs with date; the same JSON.
time_processes() {  # OUT.json RUNS NAME COMMAND [NAME COMMAND]...
  local out=$1 runs=$2
  shift 2
  local entries=()
  while [ $# -ge 2 ]; do
    local name=$1 command=$2 times=()
    shift 2
    for ((i = 0; i <= runs; i++)); do
      local start end
      start=$(date +%s%N)
      $command >/dev/null 2>&1
      end=$(date +%s%N)
      ((i > 0)) && times+=("$(awk -v d=$((end - start)) 'BEGIN { printf "%.6f", d / 1e9 }')")
    done
    local median
    median=$(printf '%s\n' "${times[@]}" | median_of)
    entries+=("{\"command\": \"$name\", \"median\": $median, \"times\": [$(IFS=,; echo "${times[*]}")]}")
  done
  (IFS=,; printf '{"results": [%s]}\n' "${entries[*]}") >"$out"
}

tool=$build/cli/kxc2tool
game=$scratch/game
mkdir -p "$game/UserBMP" "$game/UserMap"
"$build/bench/report/busy_map_file" "$scratch/busy.map"
"$tool" paint "$scratch/busy.map" --game-folder "$game" --yes >/dev/null
pieces=$(find "$game/UserBMP" -name '*.bmp' | sort | tr '\n' ' ')
paint="$tool paint $scratch/busy.map --game-folder $game --yes"
shp="$tool shp $pieces--game-folder $game --yes"
echo "== kxc2tool as a whole process"
if command -v hyperfine >/dev/null 2>&1; then
  hyperfine -N --warmup 2 --runs 10 --export-json "$results/processes.json" \
    -n "kxc2tool --version" "$tool --version" -n "kxc2tool paint" "$paint" -n "kxc2tool shp" "$shp"
else
  time_processes "$results/processes.json" 10 "kxc2tool --version" "$tool --version" \
    "kxc2tool paint" "$paint" "kxc2tool shp" "$shp"
  note "hyperfine is missing: whole processes timed with date over 10 runs."
fi

# ---- Editor start-up --------------------------------------------------------
# The editor reads KXC2MAP.INI beside itself, so a copy of it runs from a
# folder of its own with a settings file naming a scratch game folder.
editor=$scratch/editor
mkdir -p "$editor" "$scratch/editor-game"
cp "$build/editor/KxC2Map" "$editor/"
printf '[Locations]\r\nKC2=%s/\r\n' "$scratch/editor-game" >"$editor/KXC2MAP.INI"
timer=$build/bench/report/startup_timer
startup=(10 "$results/startup.json" "KxC2Map" "Korvex Command 2 Mapmaker" "$editor/KxC2Map"
         "empty QMainWindow" "Empty window" "$build/bench/report/empty_window")
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
"$build/bench/report/figures_table" "$results" "$build/performance.md" \
  "$note_machine" \
  "Clock: wall is elapsed time; CPU is the process's CPU time, steadier on a shared machine for work that never waits." \
  "Benchmarks: medians of 5 repetitions. Whole processes: medians of 10 runs after warm-up; their floor is the whole process of \`kxc2tool --version\` (same program, same libraries loaded, no work)." \
  "Start-up: from fork to the mapping of the window titled \"Korvex Command 2 Mapmaker\" (watched through X events, the window then closed); floor: a Qt Widgets program showing an empty QMainWindow, timed the same way." \
  "${notes[@]}"
