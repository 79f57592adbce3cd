#!/usr/bin/env bash
# Installs the dependencies, builds, and runs the whole test suite inside a private D-Bus
# session with its own Xvfb and an unlocked gnome-keyring. Extra arguments go to ctest; without
# any, the program is first checked in a real KDE Plasma Wayland session (tools/kde-wayland-check.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
if [[ $# -eq 0 ]]; then
    timeout 300 "$root/tools/kde-wayland-check.sh"
fi
exec dbus-run-session -- "$root/tools/test-session.sh" "$@"
