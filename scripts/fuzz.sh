#!/usr/bin/env bash
# Fuzzes the readers of the game's hand-edited files, and play on what they
# read: builds every libFuzzer harness (fuzz/NAME_fuzz.cpp) with AddressSanitizer
# and UndefinedBehaviorSanitizer in build-fuzz/ and runs each for SECONDS
# (default 30) on a copy of its seeds (fuzz/corpus/NAME/ plus the shipped
# files), from the repository root where ./data is.
# Fails when any harness finds a crash, a leak, a timeout or runs out of
# memory; the input that did it is kept in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
seconds=${1:-30}
case $seconds in
  '' | *[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac

bash scripts/setup.sh clang-14 libclang-rt-14-dev
configure_build build-fuzz \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DKETTLEMOOR_FUZZ=ON -DKETTLEMOOR_TESTS=OFF
build_targets build-fuzz fuzzers

# The shipped files each harness starts from, beside its committed seeds.
shipped_seeds() {
  shopt -s nullglob
  case $1 in
    line_reader) echo data/config.cfg data/mobs/*.dat; find tests/data -type f ;;
    config) echo data/config.cfg tests/data/config_cases/* ;;
    map) echo data/maps/*.map tests/data/*.map tests/data/map_cases/* ;;
    collision) echo data/maps/*.col ;;
    mob_config) echo data/mobs/*.dat tests/data/mob_cases/* ;;
  esac
}

# The longest input a harness makes, where libFuzzer's own choice (0: the
# longest seed) would cost too much: a whole shipped collision file is 65 536
# numbers, and inputs of that size run about a hundred a second, while every
# framing the reader knows, tiles past the last one included, fits in 8 KiB.
# The shipped file still seeds the run, cut to that length.
max_len() {
  case $1 in
    collision) echo 8192 ;;
    *) echo 0 ;;
  esac
}

headless
export UBSAN_OPTIONS=print_stacktrace=1
rm -rf build-fuzz/work build-fuzz/artifacts build-fuzz/logs
mkdir -p build-fuzz/artifacts build-fuzz/logs
passed=0
failed=0
for harness in fuzz/*_fuzz.cpp; do
  name=$(basename "$harness" _fuzz.cpp)
  # Runs work on a copy, so the committed seeds never grow.
  work=build-fuzz/work/$name
  mkdir -p "$work"
  cp fuzz/corpus/"$name"/* "$work"/
  for seed in $(shipped_seeds $name); do
    cp "$seed" "$work/shipped-$(basename "$seed")"
  done
  log=build-fuzz/logs/$name.log
  if build-fuzz/fuzz/fuzz_$name -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$(max_len $name)" \
    -close_fd_mask=3 -print_final_stats=1 -dict=fuzz/dict/$name.dict \
    -artifact_prefix="$PWD/build-fuzz/artifacts/$name-" "$work" >"$log" 2>&1; then
    result=clean
    passed=$((passed + 1))
  else
    result=FOUND
    failed=$((failed + 1))
    tail -n 60 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  printf '%-12s %10s runs  %s\n' "$name" "${runs:-?}" "$result"
done
[ "$failed" -eq 0 ] || ls -l build-fuzz/artifacts
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
