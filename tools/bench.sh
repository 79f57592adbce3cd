#!/usr/bin/env bash
# Builds (Release) and runs every benchmark, printing the results.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export PLIMBO_BUILD_DIR=${PLIMBO_BUILD_DIR:-$root/build-release} PLIMBO_BUILD_TYPE=Release
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in "$PLIMBO_BUILD_DIR"/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_counters_tabular=true "$@"
done
