#!/usr/bin/env bash
# Installs what is missing, builds everything from scratch and runs the whole
# test suite headless. With --sanitize the build uses AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-test
options=(-DCMAKE_BUILD_TYPE=Debug)
if [ "${1:-}" = "--sanitize" ]; then
    build=build-sanitize
    options+=(-DQV_SANITIZE=ON)
fi

scripts/install-deps.sh
rm -rf "$build"
cmake -S . -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
cd "$build"
ctest --output-on-failure --timeout 600
