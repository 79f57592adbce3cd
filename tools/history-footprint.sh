#!/usr/bin/env bash
# What a full chat history costs the running application: starts Plimbo twice in a sandboxed
# home (private D-Bus session, unlocked keyring, Xvfb without a display), once with no history
# and once with the full one from make_history_fixture (100 chats of 100 turns, ~13.5 MB), and
# prints the resident memory (VmRSS) of each after start-up and the difference.
#
#   tools/history-footprint.sh [settle-seconds]      (default 5)
#
# Target: the full history costs at most 40 MiB more than the empty one. PLIMBO_APP names
# another build of plimbo to measure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLIMBO_BUILD_DIR:-$root/build}
settle=${1:-5}
if ! [[ $settle =~ ^[0-9]+$ ]] || [ "$settle" -lt 1 ]; then
    echo "not a positive whole number of seconds: $settle" >&2
    exit 2
fi

# The private session bus ends with this script.
if [ -z "${PLIMBO_FOOTPRINT_SESSION:-}" ]; then
    "$root/tools/build.sh" --target plimbo make_history_fixture || exit 1
    PLIMBO_FOOTPRINT_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
app=${PLIMBO_APP:-$build/PlimboApp/plimbo}

work=$(mktemp -d /tmp/plimbo-history-footprint.XXXXXX)
chmod 700 "$work"
source "$root/tools/session-services.sh"
app_pid=
pids=()
cleanup() { end_session "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

"$build/tools/make_history_fixture" "$work/AIChats.json" || exit 1
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb "$work" || exit 1
fi
unset WAYLAND_DISPLAY

status_kib() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status" 2>/dev/null; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

# Starts Plimbo in a fresh sandboxed home, with the history file given (or none), and prints
# its VmRSS in KiB after the settle time.
measure() {
    local history=$1 sandbox
    sandbox=$(mktemp -d "$work/run.XXXXXX")
    (
        use_sandbox_home "$sandbox"
        if [ -n "$history" ]; then
            mkdir -p "$XDG_DATA_HOME/Plimbo"
            cp "$history" "$XDG_DATA_HOME/Plimbo/AIChats.json"
        fi
        exec "$app" >"$sandbox/app.log" 2>&1
    ) &
    app_pid=$!
    sleep "$settle"
    if ! kill -0 "$app_pid" 2>/dev/null; then
        echo "plimbo exited during start-up; its output:" >&2
        cat "$sandbox/app.log" >&2
        exit 1
    fi
    status_kib "$app_pid" VmRSS
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=
}

start_unlocked_keyring "$work" plimbo-footprint
empty=$(measure "")
full=$(measure "$work/AIChats.json")
bytes=$(stat -c %s "$work/AIChats.json")
difference=$((full - empty))
verdict=MISS
[ "$difference" -le $((40 * 1024)) ] && verdict=PASS
echo "history file:                 $(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }') MB"
echo "VmRSS, empty history:         $(mib "$empty") MiB (after ${settle} s)"
echo "VmRSS, full history:          $(mib "$full") MiB (after ${settle} s)"
echo "cost of the full history:     $(mib "$difference") MiB   target <= 40 MiB: $verdict"
