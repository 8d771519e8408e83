#!/usr/bin/env bash
# Builds and runs every test headless: on a private X display with a window manager
# and a null audio sink, first in a normal build, then under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O1 -g1" \
    -DPAUSEWELL_SANITIZE=ON
cmake --build build-asan -j"$jobs"

source scripts/headless-session.sh
start_headless_session

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export PAUSEWELL_SANITIZED=1 # read by the end-to-end tests (only for the ASan run below)

status=0
echo "== Tests (normal build)"
PAUSEWELL_SANITIZED= ctest --test-dir build --output-on-failure --timeout 900 || status=1
echo "== Tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
# The long real-time run is left to the normal build.
ctest --test-dir build-asan --output-on-failure --timeout 900 -LE slow || status=1
exit $status
