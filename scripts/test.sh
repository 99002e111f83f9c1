#!/usr/bin/env bash
# Sets up, builds and runs every test headless: once in a normal build and
# once with AddressSanitizer and UndefinedBehaviorSanitizer. The unit tests
# also run once all in one process in a random order, which shows a test that
# leans on globals another test left behind; KETTLEMOOR_SHUFFLE=0 leaves that
# run out.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
bash scripts/setup.sh
headless
# setup.sh has just installed every tool a test needs (Xvfb and xdotool for
# the quit test), so a test that would leave cases out for want of one fails
# instead: whatever runs this script runs every test whole.
export KETTLEMOOR_NO_SKIP=1

echo "== normal build =="
configure_build build
build_targets build
ctest --test-dir build --output-on-failure -j "$JOBS"
if [ "${KETTLEMOOR_SHUFFLE:-1}" != 0 ]; then
  echo "== unit tests in one process, shuffled =="
  build/tests/kettlemoor_tests --gtest_shuffle --gtest_brief=1
fi

echo "== sanitizer build =="
configure_build build-asan -DCMAKE_BUILD_TYPE=Debug -DKETTLEMOOR_SANITIZE=ON
build_targets build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$JOBS"
