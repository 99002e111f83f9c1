#!/usr/bin/env bash
# Fuzzes the readers of the game's hand-edited files, and play on what they
# read: builds every libFuzzer harness (fuzz/NAME_fuzz.cpp) with AddressSanitizer
# and UndefinedBehaviorSanitizer in build-fuzz/ and runs each for SECONDS
# (default 30) on a copy of its seeds (fuzz/corpus/NAME/ plus the shipped
# files), from the repository root where ./data is.
# Fails when any harness finds a crash, a leak, a timeout or runs out of
# memory; the input that did it is kept in build-fuzz/artifacts/.
#
#   bash scripts/fuzz.sh [SECONDS]
#   bash scripts/fuzz.sh --grow [SECONDS] [NAME...]
#
# With --grow, each harness named (every one when none is) runs for SECONDS
# (default 600), and what it found that reaches code or states its seeds do
# not is merged into fuzz/corpus/NAME/: libFuzzer's merge takes, feature by
# feature, the smallest input that shows it, so the corpus grows by few and
# small files. Commit them to keep what the long run learnt.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
source scripts/fuzz-seeds.sh
grow=0
if [ "${1:-}" = --grow ]; then
  grow=1
  shift
fi
seconds=${1:-$((grow ? 600 : 30))}
case $seconds in
  '' | *[!0-9]*) echo "usage: $0 [--grow] [SECONDS] [NAME...]" >&2; exit 2 ;;
esac
shift $(($# > 0 ? 1 : 0))
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for harness in fuzz/*_fuzz.cpp; do
    harnesses+=("$(basename "$harness" _fuzz.cpp)")
  done
fi

bash scripts/setup.sh clang-14 libclang-rt-14-dev
configure_build build-fuzz \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DKETTLEMOOR_FUZZ=ON -DKETTLEMOOR_TESTS=OFF
build_targets build-fuzz fuzzers

# Runs harness NAME for SECONDS on a copy of its seeds in build-fuzz/work/NAME,
# so the committed seeds never grow there; its output goes to LOG.
run_harness() {
  local name=$1 seconds=$2 log=$3
  local work=build-fuzz/work/$name
  copy_seeds "$name" "$work"
  build-fuzz/fuzz/fuzz_$name -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$(max_len $name)" \
    -close_fd_mask=3 -print_final_stats=1 -dict=fuzz/dict/$name.dict \
    -artifact_prefix="$PWD/build-fuzz/artifacts/$name-" "$work" >"$log" 2>&1
}

# Merges into fuzz/corpus/NAME what the run in build-fuzz/work/NAME found that
# the seeds, shipped files included, do not show; prints how many files and
# features that was.
merge_finds() {
  local name=$1 log=$2
  local merged=build-fuzz/merge/$name
  rm -rf "$merged"
  copy_seeds "$name" "$merged"
  ls "$merged" | sort >"$merged.before"
  build-fuzz/fuzz/fuzz_$name -merge=1 -max_len="$(max_len $name)" -close_fd_mask=3 \
    "$merged" build-fuzz/work/"$name" >"$log" 2>&1
  local added=0 file
  for file in $(ls "$merged" | sort | comm -13 "$merged.before" -); do
    cp "$merged/$file" fuzz/corpus/"$name"/
    added=$((added + 1))
  done
  local features
  features=$(sed -n 's/.*MERGE-OUTER: [0-9]* new files with \([0-9]*\) new features.*/\1/p' "$log")
  echo "$added files, ${features:-0} features"
}

headless
export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p build-fuzz/artifacts build-fuzz/logs
# Only the named harnesses' folders are cleared, so runs of different harnesses
# may go side by side, one a core.
for name in "${harnesses[@]}"; do
  rm -rf build-fuzz/work/"$name" build-fuzz/merge/"$name"* build-fuzz/logs/"$name".* build-fuzz/artifacts/"$name"-*
done
passed=0
failed=0
for name in "${harnesses[@]}"; do
  log=build-fuzz/logs/$name.log
  if run_harness "$name" "$seconds" "$log"; then
    result=clean
    passed=$((passed + 1))
  else
    result=FOUND
    failed=$((failed + 1))
    tail -n 60 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
  line=$(printf '%-12s %10s runs  %-22s %s' "$name" "${runs:-?}" "${coverage:-}" "$result")
  if [ "$grow" -eq 1 ] && [ "$result" = clean ]; then
    line="$line, merged $(merge_finds "$name" build-fuzz/logs/$name.merge.log)"
  fi
  echo "$line"
done
[ "$failed" -eq 0 ] || ls -l build-fuzz/artifacts
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
