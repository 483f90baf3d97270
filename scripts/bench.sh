#!/usr/bin/env bash
# Builds an optimised tree and runs the benchmarks, printing their figures.
# Usage: scripts/bench.sh [archive|recordstore|sqlite|lifecycle|navigation|printing|legacy|search|vcard|exchange|all]   (default: all)
# QV_BENCH_BUILD names another build directory, so that several trees can be benchmarked side by side.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
build="${QV_BENCH_BUILD:-build-bench}"
which="${1:-all}"
targets=()
case "$which" in
    all) ;;
    sqlite) targets=(--target bench_recordstore) ;;
    *) targets=(--target "bench_$which") ;;
esac
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" "${targets[@]}"
if [ "$which" = all ] || [ "$which" = recordstore ]; then
    echo "== record store: 100,000 persons, 10,000 organisations"
    "$build"/bench/bench_recordstore
fi
if [ "$which" = all ] || [ "$which" = sqlite ]; then
    echo "== filter shapes: ours against SQLite in memory"
    bench/sqlite_compare.sh "$build"/bench/bench_recordstore
fi
if [ "$which" = all ] || [ "$which" = archive ]; then
    echo "== archive: ours against Info-ZIP"
    "$build"/bench/bench_archive
fi
if [ "$which" = all ] || [ "$which" = lifecycle ]; then
    echo "== open and save of a 100,000-entry book against unzip -p and zip -q"
    "$build"/bench/bench_lifecycle
fi
if [ "$which" = all ] || [ "$which" = navigation ]; then
    echo "== navigation in a 100,000-entry book"
    "$build"/bench/bench_navigation
fi
if [ "$which" = all ] || [ "$which" = printing ]; then
    echo "== the four reports of a 10,000-entry book"
    "$build"/bench/bench_printing
fi
if [ "$which" = all ] || [ "$which" = legacy ]; then
    echo "== readers of earlier programs' files: data packets and .wab"
    "$build"/bench/bench_legacy
fi
if [ "$which" = all ] || [ "$which" = search ]; then
    echo "== search in a 100,000-entry book"
    "$build"/bench/bench_search
fi
if [ "$which" = all ] || [ "$which" = vcard ]; then
    echo "== vCard: 100,000 entries exported and read back in each version, then imported into an empty book"
    "$build"/bench/bench_vcard
fi
if [ "$which" = all ] || [ "$which" = exchange ]; then
    echo "== CSV export and import of 100,000 entries against sqlite3"
    "$build"/bench/bench_exchange
fi
