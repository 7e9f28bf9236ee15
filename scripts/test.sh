#!/usr/bin/env bash
# The whole test suite: the normal build and the sanitizer build, each with every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for preset in default asan; do
  echo "== $preset build =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
  ctest --preset "$preset" -j2
done
echo "== fuzz targets, short run =="
scripts/fuzz.sh short
echo "== Windows build under Wine =="
scripts/wine-suite.sh
