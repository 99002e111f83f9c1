#!/usr/bin/env bash
# Prints the line coverage each fuzzing harness reaches over its seeds (the
# committed corpus and the shipped files): every harness is built with clang's
# source coverage in build-fuzz-coverage/, replays its seeds once, and the
# files it exists for are reported, followed by every line of them that no
# seed ran. Run it after a long run (scripts/fuzz.sh --grow) to see what the
# corpus still misses.
#   bash scripts/fuzz-coverage.sh [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
source scripts/fuzz-seeds.sh

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for harness in fuzz/*_fuzz.cpp; do
    harnesses+=("$(basename "$harness" _fuzz.cpp)")
  done
fi

# The game's files each harness is there to exercise.
harness_sources() {
  case $1 in
    line_reader) echo src/fileio_lines.cpp ;;
    config) echo src/fileio_config.cpp ;;
    collision) echo src/fileio_collision.cpp ;;
    mob_config) echo src/fileio_creature.cpp ;;
    map) echo src/fileio_map.cpp src/enemy_list.cpp ;;
    play) echo src/logic.cpp src/player.cpp src/enemy.cpp src/collision.cpp ;;
  esac
}

bash scripts/setup.sh clang-14 libclang-rt-14-dev llvm-14
build=build-fuzz-coverage
configure_build "$build" \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DKETTLEMOOR_FUZZ=ON -DKETTLEMOOR_FUZZ_COVERAGE=ON -DKETTLEMOOR_TESTS=OFF
build_targets "$build" fuzzers

headless
for name in "${harnesses[@]}"; do
  seeds=$build/seeds/$name
  rm -rf "$seeds" "$build/$name".prof*
  copy_seeds "$name" "$seeds"
  LLVM_PROFILE_FILE="$build/$name.profraw" "$build/fuzz/fuzz_$name" -runs=0 -close_fd_mask=3 \
    -max_len="$(max_len $name)" "$seeds" >"$build/$name.log" 2>&1
  llvm-profdata-14 merge -o "$build/$name.profdata" "$build/$name.profraw"
  read -r -a sources <<<"$(harness_sources "$name")"
  echo "== $name: $(ls "$seeds" | wc -l) seeds"
  printf '%-28s %6s %7s %7s\n' file lines missed covered
  llvm-cov-14 report "$build/fuzz/fuzz_$name" -instr-profile="$build/$name.profdata" "${sources[@]}" \
    | awk '/\/src\/|^TOTAL/ { name = $1; sub(/^.*\/src\//, "src/", name); printf "%-28s %6s %7s %7s\n", name, $8, $9, $10 }'
  echo "-- lines no seed ran:"
  for source in "${sources[@]}"; do
    llvm-cov-14 show "$build/fuzz/fuzz_$name" -instr-profile="$build/$name.profdata" "$source" \
      -show-line-counts -use-color=false \
      | awk -F'|' -v file="$source" 'NF >= 3 && $2 ~ /^ *0$/ { printf "%s:%d:%s\n", file, $1, $3 }'
  done
done
