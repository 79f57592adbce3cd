#!/usr/bin/env bash
# Installs the dependencies, builds and runs Plimbo; without a display it runs under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh" --target plimbo
app="${PLIMBO_BUILD_DIR:-$root/build}/PlimboApp/plimbo"
"$root/tools/import-env-key.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1440x900x24" "$app" "$@"
fi
exec "$app" "$@"
