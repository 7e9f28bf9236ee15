#!/usr/bin/env bash
# Every view's listing of a 100,000-line log full of line noise, mailzolka against korvik.exe on the
# real controls under Wine (tests/wine/noisy_listings.py). Uses the builds scripts/wine-suite.sh made.
#
#     tests/wine/noisy_listings.sh [--lines N] [--seed S]
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env.sh
qor_wine_pick
qor_wine_start 90 130
python3 tests/wine/noisy_listings.py --mailzolka build/bin/mailzolka --wine "$WINE" \
  --windows-build "$QOR_WINDOWS_BUILD" "$@"
