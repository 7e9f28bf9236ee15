#!/usr/bin/env bash
# The whole test suite: the normal build and the sanitizer build, each with every test; the fuzz
# targets' short run; the Wine suite on the real controls (scripts/wine-suite.sh). Every suite runs
# even when an earlier one failed; the last lines say which suites ran, with their counts, and the
# exit status is non-zero when any failed.
#
# The Wine suite is part of the test: when it cannot run at all (no Wine and no way to install it),
# the command fails. QOR_SKIP_WINE=1 runs the rest and says that the Wine suite was left out.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

export QOR_SUMMARY_FILE
QOR_SUMMARY_FILE=$(mktemp)
trap 'rm -f "$QOR_SUMMARY_FILE"' EXIT
failed=0

summarise() { echo "$*" >>"$QOR_SUMMARY_FILE"; }

# ctest_counts LOG: "N passed, M failed" from ctest's closing line.
ctest_counts() {
  sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\2 \1/p' "$1" | tail -1 |
    awk '{ printf "%d passed, %d failed", $1 - $2, $2 }'
}

for preset in default asan; do
  echo "== $preset build =="
  log=$(mktemp)
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j2; then
    ctest --preset "$preset" -j2 2>&1 | tee "$log"
    status=${PIPESTATUS[0]}
    summarise "$preset: $(ctest_counts "$log")"
  else
    status=1
    summarise "$preset: the build failed"
  fi
  rm -f "$log"
  [ "$status" = 0 ] || failed=1
done

echo "== fuzz targets, short run =="
if scripts/fuzz.sh short; then
  summarise "fuzz: short run, every target, no finding"
else
  summarise "fuzz: short run FAILED (findings in build-fuzz/findings/)"
  failed=1
fi

echo "== Windows build under Wine =="
scripts/wine-suite.sh
status=$?
if [ "$status" = 3 ]; then
  if [ "${QOR_SKIP_WINE:-}" = 1 ]; then
    summarise "wine: left out (QOR_SKIP_WINE=1)"
  else
    summarise "wine: NOT RUN: the suite could not run (set QOR_SKIP_WINE=1 to leave it out knowingly)"
    failed=1
  fi
elif [ "$status" != 0 ]; then
  failed=1
fi

echo "== summary =="
cat "$QOR_SUMMARY_FILE"
exit $failed
