#!/usr/bin/env bash
# Runs the test suite again in the tree scripts/test.sh built (nothing is
# rebuilt), once per locale, as a desktop session runs programs: with
# XDG_RUNTIME_DIR set, and under German and under mainland Chinese, whose
# legacy code page is the double-byte GBK. The locales are compiled into a
# temporary folder; the system's own are left alone.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-test}
if [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "No test build in $build: run scripts/test.sh first." >&2
    exit 2
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export LOCPATH="$scratch/locales"
export QT_QPA_PLATFORM=offscreen
unset LANGUAGE
mkdir "$LOCPATH"

status=0
for locale in de_DE.UTF-8 zh_CN.UTF-8; do
    localedef -i "${locale%.*}" -f UTF-8 "$LOCPATH/$locale"
    runtime="$scratch/runtime-$locale"
    mkdir -m 700 "$runtime"
    echo "Tests under $locale with XDG_RUNTIME_DIR set:"
    start=$SECONDS
    (cd "$build" && XDG_RUNTIME_DIR="$runtime" LANG="$locale" LC_ALL="$locale" ctest --output-on-failure --timeout 600) || status=1
    echo "Tests under $locale took $((SECONDS - start)) s."
done
exit $status
