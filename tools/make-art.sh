#!/usr/bin/env bash
# Rebuilds every BMP of the game from its text source under assets/. The art
# tool is rebuilt first every time, so a stale tool never writes old pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
configure_build build
build_targets build pixelart >/dev/null
for kind in gfx maps; do
  for picture in assets/$kind/*.txt; do
    [ -e "$picture" ] || continue
    name=$(basename "$picture" .txt)
    build/pixelart "$picture" "data/$kind/$name.bmp"
    echo "data/$kind/$name.bmp"
  done
done
