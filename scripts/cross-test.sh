#!/usr/bin/env bash
# Builds the game, its tools and the tests for the handheld (32-bit
# little-endian MIPS) and runs every test under qemu's user-mode emulator.
# The first run also prepares the cross compiler, SDL and GoogleTest for the
# target (scripts/cross-setup.sh); everything lands under build-mipsel/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
headless

echo "== handheld build: set-up =="
start=$SECONDS
bash scripts/cross-setup.sh
echo "set-up took $((SECONDS - start)) s"

echo "== handheld build: game, tools and tests for mipsel =="
start=$SECONDS
configure_build build-mipsel/game -DCMAKE_TOOLCHAIN_FILE=cmake/mipsel-linux-gnu.cmake
build_targets build-mipsel/game
echo "cross build took $((SECONDS - start)) s"

echo "== handheld build: tests under qemu-mipsel =="
start=$SECONDS
# A test that hangs under emulation fails after five minutes instead of
# holding up the run.
ctest --test-dir build-mipsel/game --output-on-failure -j "$JOBS" --timeout 300
echo "tests under emulation took $((SECONDS - start)) s"
