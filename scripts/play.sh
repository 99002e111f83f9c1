#!/usr/bin/env bash
# Sets up, builds and starts the game. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target kettlemoor -j "$(nproc)"
exec build/kettlemoor "$@"
