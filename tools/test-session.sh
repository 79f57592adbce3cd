#!/usr/bin/env bash
# Runs ctest with the services the tests need; meant to run inside dbus-run-session.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLIMBO_BUILD_DIR:-$root/build}

# Tests never touch the user's real settings, data or keyring.
sandbox=$(mktemp -d /tmp/plimbo-tests.XXXXXX)
chmod 700 "$sandbox"
source "$root/tools/session-services.sh"
use_sandbox_home "$sandbox"

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$sandbox"
}
trap cleanup EXIT

start_xvfb "$sandbox" || exit 1
start_unlocked_keyring "$sandbox" plimbo-test

ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 120 "$@"
status=$?
exit $status
