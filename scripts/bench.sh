#!/usr/bin/env bash
# Builds an optimised tree and runs the benchmarks, printing their figures.
# Usage: scripts/bench.sh [archive|recordstore|sqlite|lifecycle|navigation|all]   (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench
which="${1:-all}"
if [ "$which" = all ] || [ "$which" = recordstore ]; then
    echo "== record store: 100,000 persons, 10,000 organisations"
    build-bench/bench/bench_recordstore
fi
if [ "$which" = all ] || [ "$which" = sqlite ]; then
    echo "== filter shapes: ours against SQLite in memory"
    bench/sqlite_compare.sh build-bench/bench/bench_recordstore
fi
if [ "$which" = all ] || [ "$which" = archive ]; then
    echo "== archive: ours against Info-ZIP"
    build-bench/bench/bench_archive
fi
if [ "$which" = all ] || [ "$which" = lifecycle ]; then
    echo "== open and save of a 100,000-entry book against unzip -p and zip -q"
    build-bench/bench/bench_lifecycle
fi
if [ "$which" = all ] || [ "$which" = navigation ]; then
    echo "== navigation in a 100,000-entry book"
    build-bench/bench/bench_navigation
fi
