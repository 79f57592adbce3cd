#!/usr/bin/env bash
# Runs ctest with the services the tests need; meant to run inside dbus-run-session.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLIMBO_BUILD_DIR:-$root/build}

# Tests never touch the user's real settings, data or keyring.
sandbox=$(mktemp -d /tmp/plimbo-tests.XXXXXX)
chmod 700 "$sandbox"
export HOME="$sandbox/home" XDG_CONFIG_HOME="$sandbox/config" XDG_DATA_HOME="$sandbox/data"
export XDG_CACHE_HOME="$sandbox/cache" XDG_RUNTIME_DIR="$sandbox/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$sandbox"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$sandbox/display" 2>"$sandbox/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$sandbox/display" ] && break; sleep 0.1; done
if [ ! -s "$sandbox/display" ]; then echo "Xvfb did not start" >&2; cat "$sandbox/xvfb.log" >&2; exit 1; fi
export DISPLAY=":$(head -n1 "$sandbox/display")"

# An unlocked keyring: without it D-Bus would start a locked one that prompts and hangs.
printf %s plimbo-test | gnome-keyring-daemon --foreground --unlock --components=secrets \
    >"$sandbox/keyring.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.freedesktop.secrets 2>/dev/null \
        | grep -q true && break
    sleep 0.1
done

ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 120 "$@"
status=$?
exit $status
