#!/usr/bin/env bash
# Line coverage of the add-in's own folders (base/, addin/, scan/, search/, idexport/): clang's
# source-based coverage over the test suite (ctest of the coverage preset's build) and the fuzz
# corpora replayed through the fuzz targets (fuzz/corpus/, and build-fuzz/corpus/ when a long run
# left one). Installs clang and LLVM's tools when missing (scripts/setup.sh clang). Prints the line coverage
# per folder and writes an HTML report of every source file to build-coverage/html/index.html.
#
#   scripts/coverage.sh            build, run, report
#   scripts/coverage.sh report     report again from build-coverage/coverage.profdata
set -euo pipefail
cd "$(dirname "$0")/.."

FOLDERS=(base addin scan search idexport)
TARGETS=(listings qor_dat registry profile label_match script)
GOAL=95
build=build-coverage
profiles=$build/profiles

run() {
  scripts/setup.sh clang
  cmake --preset coverage >/dev/null
  cmake --build --preset coverage -j2 >/dev/null
  rm -rf "$profiles"
  mkdir -p "$profiles"
  # One raw profile per process: the tests start mailzolka and the test hosts many times.
  export LLVM_PROFILE_FILE=$PWD/$profiles/%p-%m.profraw
  ctest --test-dir "$build" -j2 --output-on-failure >"$build/ctest.log" 2>&1 ||
    echo "coverage: some tests failed (see $build/ctest.log); the report covers what ran" >&2
  for target in "${TARGETS[@]}"; do
    local corpora=(fuzz/corpus/"$target")
    [ -d build-fuzz/corpus/"$target" ] && corpora+=(build-fuzz/corpus/"$target")
    "$build"/bin/fuzz_"$target" -runs=0 "${corpora[@]}" >"$build/replay-$target.log" 2>&1 ||
      echo "coverage: replaying the $target corpus failed (see $build/replay-$target.log)" >&2
  done
  # (Functions compiled into several programs may differ in their counters: llvm-profdata warns.)
  llvm-profdata merge -sparse "$profiles"/*.profraw -o "$build/coverage.profdata"
}

report() {
  # Every program and library of the build that carries coverage mapping.
  local objects=()
  for file in "$build"/bin/*; do
    [ -f "$file" ] && readelf -S "$file" 2>/dev/null | grep -q __llvm_covmap || continue
    if [ ${#objects[@]} -eq 0 ]; then objects+=("$file"); else objects+=("-object=$file"); fi
  done
  local ignore="^$PWD/(tests|fuzz|bench|build[^/]*)/|^/usr/"
  llvm-cov show "${objects[@]}" -instr-profile="$build/coverage.profdata" -format=html \
    -output-dir="$build/html" -ignore-filename-regex="$ignore" -show-line-counts-or-regions >/dev/null
  llvm-cov export "${objects[@]}" -instr-profile="$build/coverage.profdata" -summary-only \
    -ignore-filename-regex="$ignore" >"$build/summary.json"
  python3 - "$build/summary.json" "$PWD" "$GOAL" "${FOLDERS[@]}" <<'EOF'
import json, os, sys
summary, root, goal, folders = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4:]
totals = {folder: [0, 0] for folder in folders}
for entry in json.load(open(summary))["data"][0]["files"]:
    relative = os.path.relpath(entry["filename"], root)
    folder = relative.split(os.sep)[0]
    if folder in totals:
        lines = entry["summary"]["lines"]
        totals[folder][0] += lines["covered"]
        totals[folder][1] += lines["count"]
all_covered = sum(covered for covered, _ in totals.values())
all_count = sum(count for _, count in totals.values())
for folder, (covered, count) in list(totals.items()) + [("together", (all_covered, all_count))]:
    share = 100.0 * covered / count if count else 0.0
    mark = "" if share >= goal else f"  (below {goal:g} %)"
    print(f"{folder + '/' if folder != 'together' else folder:<10} {share:6.1f} %  {covered:6d} of {count:6d} lines{mark}")
EOF
  echo "coverage: HTML report in $build/html/index.html"
}

case "${1:-}" in
  "") run; report ;;
  report) report ;;
  *) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
esac
