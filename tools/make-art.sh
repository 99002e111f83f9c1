#!/usr/bin/env bash
# Rebuilds every BMP and every sound effect of the game from its text source
# under assets/. The tools are rebuilt first every time, so a stale tool never
# writes old pictures or sounds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
configure_build build
build_targets build pixelart sfxmaker >/dev/null
for kind in gfx maps; do
  for picture in assets/$kind/*.txt; do
    [ -e "$picture" ] || continue
    name=$(basename "$picture" .txt)
    build/pixelart "$picture" "data/$kind/$name.bmp"
    echo "data/$kind/$name.bmp"
  done
done
mkdir -p data/sfx
for effect in assets/sfx/*.txt; do
  [ -e "$effect" ] || continue
  name=$(basename "$effect" .txt)
  build/sfxmaker "$effect" "data/sfx/$name.wav"
  echo "data/sfx/$name.wav"
done
