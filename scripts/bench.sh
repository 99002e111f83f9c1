#!/usr/bin/env bash
# Builds and runs the benchmarks from the repository root (they read ./data),
# then prints the figures they are judged by, every ratio taken between
# results of this same run. Extra arguments go to the benchmark program, e.g.
# --benchmark_filter=upscale.
#
# Times are CPU time, the median of five repetitions: on a machine shared with
# other work the wall-clock time also counts the time spent waiting for a core.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
bash scripts/setup.sh
configure_build build-bench -DKETTLEMOOR_BENCHMARKS=ON
build_targets build-bench kettlemoor_bench
results=build-bench/bench-results.txt
build-bench/bench/kettlemoor_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=console "$@"

echo
echo "== figures (CPU time, medians of this run) =="
awk '
  # Median CPU time of every benchmark, in microseconds: name, wall time and
  # its unit, CPU time and its unit, repetitions, counters.
  $1 ~ /_median$/ {
    name = $1; sub(/_median$/, "", name)
    t = $4; unit = $5
    if (unit == "ns") t /= 1000; else if (unit == "ms") t *= 1000; else if (unit == "s") t *= 1000000
    us[name] = t
  }
  function show(label, name) { if (name in us) printf "%-44s %10.3f us\n", label, us[name] }
  function ratio(label, a, b) { if ((a in us) && (b in us)) printf "%-44s %10.2f\n", label, us[a] / us[b] }
  END {
    show("upscale2, one 320x240 frame", "BM_upscale2")
    ratio("  upscale2 / memcpy of the same output", "BM_upscale2", "BM_memcpy/2")
    ratio("  SDL_SoftStretch / upscale2", "BM_SDL_SoftStretch/2", "BM_upscale2")
    show("upscale4, one 640x480 frame", "BM_upscale4")
    ratio("  upscale4 / memcpy of the same output", "BM_upscale4", "BM_memcpy/4")
    ratio("  SDL_SoftStretch / upscale4", "BM_SDL_SoftStretch/4", "BM_upscale4")
    show("in-game frame on map01 (target <= 170 us)", "BM_inGameFrame")
    if ("BM_inGameFrame" in us) printf "%-44s %10.2f\n", "  frame / 170 us target", us["BM_inGameFrame"] / 170
    show("  logic step", "BM_logicStep")
    show("  draw() with scaling", "BM_drawFrame")
    show("    background", "BM_dBackground")
    show("    dMap", "BM_dMap")
    show("    creatures", "BM_creatures")
    show("    text and life bar", "BM_text")
    show("    scale and present", "BM_scaleAndPresent")
    show("checkCollision, one call", "BM_checkCollision")
    show("one step'"'"'s collision tests, enemies near", "BM_stepCollisions/0")
    show("one step'"'"'s collision tests, every enemy", "BM_stepCollisions/1")
    show("loadMap + freeMap of map01", "BM_loadMap")
    show("loadConfig", "BM_loadConfig")
    show("entering the title, 5 levels reached (target < 5000 us)", "BM_titleEntry")
    show("mixing one second of sound at 44.1 kHz (target < 20000 us, 2 % of a core)", "BM_mixOneSecond")
  }' "$results"
