#!/usr/bin/env bash
# The fuzz targets: builds them with the fuzz preset (clang, libFuzzer, address and
# undefined-behaviour sanitizers), installing clang and its fuzzer runtime when missing
# (scripts/setup.sh clang), then runs them one after another.
#
#   scripts/fuzz.sh short              every target a few seconds (FUZZ_SECONDS, default 6), after
#                                      its seed corpus and regression inputs: the test suite's run
#   scripts/fuzz.sh long SECONDS       every target SECONDS or FUZZ_RUNS executions (default
#                                      10000000), whichever comes first, keeping what it finds in
#                                      build-fuzz/corpus/; prints executions and seconds per target.
#                                      FUZZ_JOBS=N runs N processes on the one corpus, each its
#                                      share of FUZZ_RUNS (libFuzzer's -jobs; one per core)
#   scripts/fuzz.sh build              only build
#   scripts/fuzz.sh run TARGET ARGS... one target with libFuzzer's own arguments (a crash file
#                                      reproduces it), e.g. scripts/fuzz.sh run listings crash-1234
#
# Targets: listings qor_dat registry profile label_match script (fuzz/*_fuzz.cpp), or those named in
# FUZZ_TARGETS. A finding stops that target, leaves the input in build-fuzz/findings/ and makes the
# script exit 1.
set -euo pipefail
cd "$(dirname "$0")/.."

read -r -a TARGETS <<<"${FUZZ_TARGETS:-listings qor_dat registry profile label_match script}"
# A single allocation over this is a finding: the readers must never trust a length in a file.
FUZZ_OPTIONS=(-malloc_limit_mb=128 -rss_limit_mb=2048 -timeout=20 -print_final_stats=1)
# Freed memory is held back 16 MiB long (not 256): a run frees far less than that, and reusing the
# memory sooner saves the page faults that cost the stateful targets a third of their time. While
# fuzzing, an allocation records no stack and is not filled: both cost the stateful targets a sixth
# of their time and change only a report's detail (`run` reproduces a finding with both).
FUZZING_ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:malloc_context_size=0:max_malloc_fill_size=0}
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}

usage() {
  awk 'NR > 1 && !/^#/ { exit } NR > 1' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

build() {
  scripts/setup.sh clang
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j2 >/dev/null
}

# run_target TARGET SECONDS RUNS WORK_CORPUS: prints "TARGET EXECUTIONS SECONDS STATUS".
run_target() {
  local target=$1 seconds=$2 runs=$3 work=$4
  # The logs of a short run and of a long one apart: the test suite's short run may come while a
  # long run goes on.
  local log=build-fuzz/logs/$mode/$target.log status=0 started=$SECONDS jobs=${FUZZ_JOBS:-1} top=$PWD
  mkdir -p "$work" build-fuzz/findings "$(dirname "$log")"
  if [ "$jobs" -gt 1 ]; then
    # Each process writes its own fuzz-N.log into the directory it starts in.
    rm -rf "$log.d" && mkdir -p "$log.d"
    (cd "$log.d" && ASAN_OPTIONS=$FUZZING_ASAN_OPTIONS "$top"/build-fuzz/bin/fuzz_"$target" "${FUZZ_OPTIONS[@]}" \
      -jobs="$jobs" -workers="$jobs" -max_total_time="$seconds" -runs=$((runs / jobs)) \
      -artifact_prefix="$top"/build-fuzz/findings/"$target"- "$top/$work" "$top"/fuzz/corpus/"$target") >"$log" 2>&1 ||
      status=$?  # the log holds each process's log as it ended
  else
    ASAN_OPTIONS=$FUZZING_ASAN_OPTIONS build-fuzz/bin/fuzz_"$target" "${FUZZ_OPTIONS[@]}" -max_total_time="$seconds" \
      -runs="$runs" -artifact_prefix=build-fuzz/findings/"$target"- "$work" fuzz/corpus/"$target" >"$log" 2>&1 ||
      status=$?
  fi
  local took=$((SECONDS - started))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | awk '{ total += $1 } END { if (NR) print total }')
  # A process of several may have failed while the others ran on.
  if [ "$status" = 0 ] && grep -q -E '^==[0-9]+==ERROR|deadly signal|Test unit written' "$log"; then status=1; fi
  if [ "$status" != 0 ]; then
    echo "fuzz: $target found something (status $status); the input is in build-fuzz/findings/, the log in $log:" >&2
    grep -E 'ERROR|invariant broken|SUMMARY|Test unit written' "$log" | head -8 >&2 || true
  fi
  printf '%-12s %12s executions %6s s  %s\n' "$target" "${runs:-?}" "$took" \
    "$([ "$status" = 0 ] && echo 'no finding' || echo FINDING)"
  return "$status"
}

mode=${1:-}
case "$mode" in
  build)
    build
    ;;
  short | long)
    if [ "$mode" = short ]; then
      seconds=${FUZZ_SECONDS:-6}
    else
      [ $# -eq 2 ] || usage
      seconds=$2
    fi
    build
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    failed=0
    for target in "${TARGETS[@]}"; do
      work=$scratch/$target
      [ "$mode" = long ] && work=build-fuzz/corpus/$target
      run_target "$target" "$seconds" "${FUZZ_RUNS:-10000000}" "$work" || failed=$((failed + 1))
    done
    echo "fuzz: $((${#TARGETS[@]} - failed)) passed, $failed failed"
    [ "$failed" = 0 ]
    ;;
  run)
    [ $# -ge 2 ] || usage
    target=$2
    shift 2
    build
    exec build-fuzz/bin/fuzz_"$target" "${FUZZ_OPTIONS[@]}" "$@"
    ;;
  *)
    usage
    ;;
esac
