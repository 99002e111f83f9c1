#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and test, if any is
# missing; packages named as arguments (e.g. the fuzzing compiler) are added.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
# xvfb and xdotool run the game in a real window for the quit test.
install_packages g++ cmake make libsdl1.2-dev libgtest-dev libbenchmark-dev xvfb xdotool "$@"
