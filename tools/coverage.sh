#!/usr/bin/env bash
# Builds everything with gcov instrumentation (Debug) into build-coverage/, runs the whole test
# suite with it (the end-to-end and X11 tests included: the program writes its counters when
# the tests end it with SIGTERM) and prints line and branch coverage per folder. Branches that
# only exist for exceptions are left out. Not part of CI's run.
#
#   tools/coverage.sh [ctest arguments, e.g. -R PlimboAI]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLIMBO_COVERAGE_BUILD_DIR:-$root/build-coverage}
if ! command -v gcovr >/dev/null; then
    apt-get install -y gcovr >/dev/null || { echo "coverage.sh needs gcovr (apt-get install gcovr)" >&2; exit 1; }
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLIMBO_BUILD_BENCH=OFF \
    -DPLIMBO_COVERAGE=ON >/dev/null || exit 1
cmake --build "$build" -j"$(nproc)" || exit 1
# Counters from an earlier run would add up with this one's.
find "$build" -name '*.gcda' -delete
PLIMBO_BUILD_DIR=$build dbus-run-session -- "$root/tools/test-session.sh" "$@"
tests=$?

summary=$build/coverage-summary.json
gcovr --root "$root" --object-directory "$build" --exclude-throw-branches \
    --exclude-unreachable-branches --exclude "$root/tests/" --exclude "$root/bench/" \
    --exclude "$root/fuzz/" --exclude "$root/tools/" --exclude '.*_autogen/.*' \
    --gcov-ignore-parse-errors -j"$(nproc)" --json-summary "$summary" "$build" >/dev/null || exit 1
python3 - "$summary" <<'PY'
import json, sys
files = json.load(open(sys.argv[1]))["files"]
folders = {}
for f in files:
    parts = f["filename"].split("/")
    key = "/".join(parts[:2]) if parts[0] == "PlimboApp" and len(parts) > 2 else parts[0]
    t = folders.setdefault(key, [0, 0, 0, 0])
    t[0] += f["line_covered"]; t[1] += f["line_total"]
    t[2] += f["branch_covered"]; t[3] += f["branch_total"]
def pct(a, b):
    return f"{100.0 * a / b:6.1f} %" if b else "     - "
print(f"{'folder':<22} {'lines':>22} {'branches':>22}")
total = [0, 0, 0, 0]
for key in sorted(folders):
    t = folders[key]
    total = [x + y for x, y in zip(total, t)]
    print(f"{key:<22} {pct(t[0], t[1])} {t[0]:6}/{t[1]:<6} {pct(t[2], t[3])} {t[2]:6}/{t[3]:<6}")
print(f"{'all':<22} {pct(total[0], total[1])} {total[0]:6}/{total[1]:<6} {pct(total[2], total[3])} {total[2]:6}/{total[3]:<6}")
PY
exit $tests
