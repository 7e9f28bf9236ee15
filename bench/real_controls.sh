#!/usr/bin/env bash
# Times the whole-log listings on the real controls: korvik.exe with QORMAIL.DLL under Wine (a
# virtual display, the Japanese locale), next to mailzolka on the simulated desktop, for every view
# on synthetic logs of 10,000, 100,000 and 1,000,000 lines. Prints one table (bench/real_controls.py).
#
#     bench/real_controls.sh [RUNS]     # RUNS per figure, the fastest kept (default 3)
#
# Needs what scripts/wine-suite.sh needs (it installs it); builds the Linux side (preset default, and make_bench_log
# of preset bench), the Windows side (the preset scripts/wine-env.sh picks) and the logs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

. scripts/wine-env.sh
qor_wine_pick
missing=$(qor_wine_packages)
[ -z "$missing" ] || { echo "real_controls: missing $missing (scripts/wine-suite.sh installs them)" >&2; exit 1; }

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target mailzolka QORMAIL >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target make_bench_log >/dev/null
cmake --preset "$QOR_WINDOWS_PRESET" >/dev/null
cmake --build --preset "$QOR_WINDOWS_PRESET" -j2 --target korvik QORMAIL >/dev/null

# The logs lie on drive B: (the Windows build directory), where korvik.exe reads them too.
logs="$QOR_WINDOWS_BUILD/bench-logs"
mkdir -p "$logs"
for lines in 1 10000 100000 1000000; do
  [ -f "$logs/$lines.log" ] || build-bench/bin/make_bench_log "$lines" "$logs/$lines.log"
done

qor_wine_start 90 130
python3 bench/real_controls.py --runs "${1:-3}" --wine "$WINE" --mailzolka build/bin/mailzolka \
  --logs "$logs" --drive B: --windows-build "$QOR_WINDOWS_BUILD" --arch "$QOR_WINE_ARCH"
