#!/usr/bin/env bash
# Prints the line coverage each fuzzing harness reaches over its seeds (the
# committed corpus and the shipped files): every harness is built with clang's
# source coverage in build-fuzz-coverage/, replays its seeds once, and the
# files it exists for are reported, followed by every line of them that no
# seed ran. Then the readers' files over every harness named together: the
# shared line reader, say, runs under each harness of a format. Run it after
# a long run (scripts/fuzz.sh --grow) to see what the corpus still misses.
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
    map) echo src/fileio_map.cpp src/fileio_map_header.cpp src/enemy_list.cpp ;;
    progress) echo src/fileio_progress.cpp ;;
    play) echo src/player.cpp src/enemy.cpp src/collision.cpp ;;
  esac
}

bash scripts/setup.sh clang-14 libclang-rt-14-dev llvm-14
build=build-fuzz-coverage
configure_build "$build" \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DKETTLEMOOR_FUZZ=ON -DKETTLEMOOR_FUZZ_COVERAGE=ON -DKETTLEMOOR_TESTS=OFF
build_targets "$build" fuzzers

# Prints the line coverage of the SOURCES in the profile PROFDATA of the
# harness binaries OBJECTS (the first plain, the others after -object), then
# every line of them that no seed ran.
#   print_coverage PROFDATA BINARY [-object BINARY...] SOURCE...
print_coverage() {
  local profile=$1 binaries=("$2")
  shift 2
  while [ "${1:-}" = -object ]; do
    binaries+=(-object "$2")
    shift 2
  done
  printf '%-28s %6s %7s %7s\n' file lines missed covered
  # Harnesses that share a function's name (each has its own removeScratch)
  # make llvm-cov warn that their data do not match; the game's lines do.
  llvm-cov-14 report "${binaries[@]}" -instr-profile="$profile" "$@" 2>/dev/null \
    | awk '$1 ~ /\.cpp$/ || $1 == "TOTAL" { name = $1; sub(/^.*\/src\//, "", name); sub(/^src\//, "", name);
                                               if (name != "TOTAL") name = "src/" name
                                               printf "%-28s %6s %7s %7s\n", name, $8, $9, $10 }'
  echo "-- lines no seed ran:"
  local source
  for source in "$@"; do
    llvm-cov-14 show "${binaries[@]}" -instr-profile="$profile" "$source" -show-line-counts -use-color=false 2>/dev/null \
      | awk -F'|' -v file="$source" 'NF >= 3 && $2 ~ /^ *0$/ { printf "%s:%d:%s\n", file, $1, $3 }'
  done
}

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
  print_coverage "$build/$name.profdata" "$build/fuzz/fuzz_$name" "${sources[@]}"
done

if [ ${#harnesses[@]} -gt 1 ]; then
  objects=()
  profiles=()
  for name in "${harnesses[@]}"; do
    objects+=(-object "$build/fuzz/fuzz_$name")
    profiles+=("$build/$name.profdata")
  done
  llvm-profdata-14 merge -o "$build/all.profdata" "${profiles[@]}"
  echo "== the readers, over every harness named: ${harnesses[*]}"
  print_coverage "$build/all.profdata" "${objects[@]:1}" src/fileio_*.cpp src/regular_file.cpp
fi
