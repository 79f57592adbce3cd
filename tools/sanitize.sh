#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (Debug, so Qt's and
# our own assertions are on too) into build-asan/ and runs the whole test suite with it,
# the end-to-end test included. Not part of CI's default run: the build takes several minutes.
#
#   tools/sanitize.sh [ctest arguments, e.g. -R Launcher]   (PLIMBO_JOBS=N builds with N jobs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLIMBO_ASAN_BUILD_DIR:-$root/build-asan}
"$root/tools/install-deps.sh"
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLIMBO_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j"${PLIMBO_JOBS:-$(nproc)}"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tools/lsan-suppressions.txt
PLIMBO_BUILD_DIR=$build exec dbus-run-session -- "$root/tools/test-session.sh" "$@"
