# Sourced by the scripts that run Plimbo or its tests in a private session. Each function adds
# the PIDs it starts to the caller's `pids` array, which the caller kills on exit.

# Sandboxed HOME and XDG folders under $1, so nothing touches the user's own settings, history,
# keyring or running instance.
use_sandbox_home() {
    local sandbox=$1
    export HOME="$sandbox/home" XDG_CONFIG_HOME="$sandbox/config" XDG_DATA_HOME="$sandbox/data"
    export XDG_CACHE_HOME="$sandbox/cache" XDG_RUNTIME_DIR="$sandbox/runtime"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
}

# Ends the caller's application (`app_pid`: asked first, killed after 5 s) and services
# (`pids`), then removes the folder $1; for the caller's exit trap.
end_session() {
    if [ -n "${app_pid:-}" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$1"
}

# Makes the caller's private folder, /tmp/plimbo-$1.XXXXXX, in `sandbox`, and ends the session
# (end_session) when the caller exits or is interrupted.
open_session_folder() {
    sandbox=$(mktemp -d "/tmp/plimbo-$1.XXXXXX")
    chmod 700 "$sandbox"
    app_pid=
    pids=()
    trap 'end_session "$sandbox"' EXIT
    trap 'exit 130' INT TERM
}

# Starts Xvfb on a free display and exports DISPLAY; returns 1 when it does not come up.
start_xvfb() {
    local sandbox=$1
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$sandbox/display" \
        2>"$sandbox/xvfb.log" &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$sandbox/display" ] && break; sleep 0.1; done
    if [ ! -s "$sandbox/display" ]; then
        echo "Xvfb did not start" >&2
        cat "$sandbox/xvfb.log" >&2
        return 1
    fi
    DISPLAY=":$(head -n1 "$sandbox/display")"
    export DISPLAY
}

# An unlocked keyring on the session bus: without it D-Bus would start a locked one that
# prompts and hangs.
start_unlocked_keyring() {
    local sandbox=$1 password=$2
    printf %s "$password" | gnome-keyring-daemon --foreground --unlock --components=secrets \
        >"$sandbox/keyring.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
            --method org.freedesktop.DBus.NameHasOwner org.freedesktop.secrets 2>/dev/null \
            | grep -q true && return 0
        sleep 0.1
    done
}
