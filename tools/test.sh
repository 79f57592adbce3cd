#!/usr/bin/env bash
# Installs the dependencies, builds, and runs the whole test suite inside a private D-Bus
# session with its own Xvfb and an unlocked gnome-keyring. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
exec dbus-run-session -- "$root/tools/test-session.sh" "$@"
