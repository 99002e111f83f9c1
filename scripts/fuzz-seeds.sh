# What the fuzzing scripts share about each harness's seeds: the shipped files
# it starts from besides its committed corpus, and the longest input it makes.
# Sourced, not run, from the repository root after scripts/lib.sh.

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

# Copies harness NAME's committed seeds and shipped files into the folder DIR.
copy_seeds() {
  local name=$1 dir=$2 seed
  mkdir -p "$dir"
  cp fuzz/corpus/"$name"/* "$dir"/
  for seed in $(shipped_seeds "$name"); do
    cp "$seed" "$dir/shipped-$(basename "$seed")"
  done
}
