#!/usr/bin/env bash
# The main job on the bundled sample: build, then list the sample log's mail in all five views.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target mailzolka QORMAIL >/dev/null
for view in 1 2 3 4 5; do
  echo "== view $view =="
  build/bin/mailzolka list --view "$view" --all samples/session.log
done
