#!/usr/bin/env bash
# Times the command palette as a user sees it: starts Plimbo idle on a bare Xvfb (no window
# manager, no tray) in a sandboxed home with a private D-Bus session and an unlocked keyring,
# then runs build/tools/palette_latency, which presses the palette's shortcut through XTest and
# prints, per showing and for the first and the later ones, the time to MapNotify and to the
# settled paint (XDamage).
#
#   tools/palette-latency.sh [shows]      (default 10)
#
# PLIMBO_LATENCY_SETTLE (default 4) is how many seconds the program gets to start.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLIMBO_BUILD_DIR:-$root/build}
shows=${1:-10}
settle=${PLIMBO_LATENCY_SETTLE:-4}

if [ -z "${PLIMBO_LATENCY_SESSION:-}" ]; then
    "$root/tools/build.sh" --target plimbo palette_latency || exit 1
    PLIMBO_LATENCY_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

source "$root/tools/session-services.sh"
open_session_folder latency
use_sandbox_home "$sandbox"

# Always a display of its own: another program's windows or a window manager would change what
# is measured.
start_xvfb "$sandbox" || exit 1
unset WAYLAND_DISPLAY
start_unlocked_keyring "$sandbox" plimbo-latency

"$build/PlimboApp/plimbo" >"$sandbox/plimbo.log" 2>&1 &
app_pid=$!
sleep "$settle"
if ! kill -0 "$app_pid" 2>/dev/null; then
    echo "Plimbo did not start:" >&2
    cat "$sandbox/plimbo.log" >&2
    exit 1
fi
echo "Xvfb $DISPLAY, no window manager; Plimbo started ${settle} s before the first showing"
"$build/tools/palette_latency" "$shows"
