#!/usr/bin/env bash
# Installs the build in $1 into a temporary prefix and checks what a Linux desktop needs from
# it: the program, a valid desktop entry, the theme icons and the runtime resources. Then starts
# the installed program once on $DISPLAY: it must come up with its icon and quit on SIGTERM.
set -uo pipefail
build=$1
prefix=$(mktemp -d /tmp/plimbo-install.XXXXXX)
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi
    rm -rf "$prefix"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log" >&2; rm -f "$prefix.log"; fail "cmake --install failed"; }
rm -f "$prefix.log"

program=$prefix/bin/plimbo
entry=$prefix/share/applications/com.plimbo.utility.desktop
[ -x "$program" ] || fail "bin/plimbo was not installed"
[ -f "$entry" ] || fail "share/applications/com.plimbo.utility.desktop was not installed"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
for line in Type=Application Name=Plimbo Exec=plimbo Icon=com.plimbo.utility Categories=Utility\; \
    StartupNotify=false; do
    grep -qxF "$line" "$entry" || fail "the desktop entry lacks $line"
done
grep -q '^Comment=.' "$entry" || fail "the desktop entry has no Comment"

icons=$prefix/share/icons/hicolor
for size in 16 22 24 32 48 64 128 256 512; do
    png=$icons/${size}x${size}/apps/com.plimbo.utility.png
    [ -f "$png" ] || fail "no ${size}x${size} theme icon"
    file -b "$png" | grep -q "PNG image data, $size x $size," || fail "$png is not a $size px PNG"
done
svg=$icons/scalable/apps/com.plimbo.utility.svg
grep -q '<svg' "$svg" 2>/dev/null || fail "no scalable theme icon"
[ -f "$prefix/share/plimbo/PlimboIcon.png" ] || fail "share/plimbo/PlimboIcon.png was not installed"

# A private home and runtime folder: no settings, history or running instance of anyone else.
export HOME=$prefix/home XDG_CONFIG_HOME=$prefix/config XDG_DATA_HOME=$prefix/data
export XDG_CACHE_HOME=$prefix/cache XDG_RUNTIME_DIR=$prefix/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY to start the program on"
unset QT_QPA_PLATFORM

# The about window (any "--show-" switch also skips the keyring) carries the window icon the
# program sets from its resources, as _NET_WM_ICON.
"$program" --show-about >"$prefix/plimbo.log" 2>&1 &
pid=$!
window=""
for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || { cat "$prefix/plimbo.log" >&2; fail "the installed program exited at start"; }
    window=$(xdotool search --pid "$pid" --name '^About Plimbo$' 2>/dev/null | head -n1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { cat "$prefix/plimbo.log" >&2; fail "the installed program showed no about window"; }
xprop -id "$window" -len 8 _NET_WM_ICON | grep -q 'Icon ([1-9][0-9]* x [1-9]' ||
    fail "the installed program did not find its icon"

kill -TERM "$pid"
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then fail "the installed program did not quit on SIGTERM"; fi
wait "$pid" 2>/dev/null
pid=""
echo "installed, validated and started from $prefix"
