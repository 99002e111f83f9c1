#!/usr/bin/env bash
# Sets up, builds and runs every test headless: once in a normal build and
# once with AddressSanitizer and UndefinedBehaviorSanitizer. The unit tests
# also run once all in one process in a random order, which shows a test that
# leans on globals another test left behind; KETTLEMOOR_SHUFFLE=0 leaves that
# run out.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
export SDL_VIDEODRIVER=dummy

echo "== normal build =="
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
if [ "${KETTLEMOOR_SHUFFLE:-1}" != 0 ]; then
  echo "== unit tests in one process, shuffled =="
  build/tests/kettlemoor_tests --gtest_shuffle --gtest_brief=1
fi

echo "== sanitizer build =="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKETTLEMOOR_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
