#!/usr/bin/env bash
# Sets up, builds and starts the game. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
bash scripts/setup.sh
configure_build build
build_targets build kettlemoor
exec build/kettlemoor "$@"
