#!/usr/bin/env bash
# Installs what is missing, builds Quorvel and starts it with the default address book.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_BUILD_TESTS=OFF >/dev/null
cmake --build build --target quorvel
exec build/quorvel
