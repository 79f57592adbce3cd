#!/usr/bin/env bash
# Checks Plimbo against a real headless KDE Plasma 5.27 Wayland session: kwin_wayland with
# XWayland, xdg-desktop-portal and xdg-desktop-portal-kde, kglobalaccel inside kwin.
#
#   PLIMBO_KDE_ROOT    unpacked KDE packages (default: downloaded and unpacked into
#                      $PLIMBO_KDE_CACHE/root, never installed system-wide)
#   PLIMBO_KDE_CACHE   where the script keeps its download (default ~/.cache/plimbo-kde)
#   PLIMBO_KDE_SOCKET  the Wayland socket name (default wayland-plimbo-check)
#   PLIMBO_KDE_WORK    a private folder for this session's home, runtime dir and logs
#                      (default: a new one under /tmp); two sessions at once need two
#   PLIMBO_PROGRAM     the program to check (default build/PlimboApp/plimbo)
#
# Prints PASS, FAIL or SKIP per check and exits non-zero when one failed.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
here=$root/tools/kde-wayland
packages=(kwin-wayland xdg-desktop-portal xdg-desktop-portal-kde qtwayland5 qdbus-qt5
    plasma-wayland-protocols libwayland-dev libwayland-bin wl-clipboard)

if [[ ${1:-} != --inside ]]; then
    started=$(date +%s)
    socket=${PLIMBO_KDE_SOCKET:-wayland-plimbo-check}
    work=${PLIMBO_KDE_WORK:-$(mktemp -d /tmp/plimbo-kde.XXXXXX)}
    program=${PLIMBO_PROGRAM:-$root/build/PlimboApp/plimbo}
    kde=${PLIMBO_KDE_ROOT:-}
    if [[ ! -x $program ]]; then
        echo "no program at $program (build first, or set PLIMBO_PROGRAM)" >&2
        exit 2
    fi
    if [[ -z $kde ]]; then
        cache=${PLIMBO_KDE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/plimbo-kde}
        kde=$cache/root
        if [[ ! -x $kde/usr/bin/kwin_wayland ]]; then
            echo "downloading the KDE packages into $cache (once)"
            mkdir -p "$cache/archives/partial" "$kde"
            download() {
                apt-get install -y -qq --download-only --no-install-recommends \
                    -o Dir::Cache::archives="$cache/archives" "${packages[@]}" >/dev/null
            }
            # A machine whose package lists are old or missing needs them read first.
            download || { apt-get update -qq && download; } ||
                { echo "download failed" >&2; exit 2; }
            for deb in "$cache"/archives/*.deb; do dpkg-deb -x "$deb" "$kde"; done
        fi
    fi
    if [[ ! -x $kde/usr/bin/kwin_wayland ]]; then
        echo "no kwin_wayland under $kde" >&2
        exit 2
    fi
    mkdir -p "$work"/{home,config,data,cache,state,bin,services,logs}
    install -d -m 0700 "$work/runtime"

    # The fake-input client: real key presses through kwin's input path.
    generated=$work/bin/generated
    mkdir -p "$generated"
    protocol=$kde/usr/share/plasma-wayland-protocols/fake-input.xml
    # apt downloads only what the machine lacks: the scanner may be the system's own.
    scanner=$kde/usr/bin/wayland-scanner
    [[ -x $scanner ]] || scanner=$(command -v wayland-scanner)
    LD_LIBRARY_PATH=$kde/usr/lib/x86_64-linux-gnu "$scanner" client-header \
        "$protocol" "$generated/fake-input-client-protocol.h" &&
        LD_LIBRARY_PATH=$kde/usr/lib/x86_64-linux-gnu "$scanner" \
            private-code "$protocol" "$generated/fake-input-protocol.c" &&
        cc -O1 -I"$generated" -I"$kde/usr/include" -o "$work/bin/fake-input" \
            "$here/fake-input.c" "$generated/fake-input-protocol.c" \
            -L"$kde/usr/lib/x86_64-linux-gnu" -l:libwayland-client.so.0 ||
        { echo "could not build the fake-input client" >&2; exit 2; }

    # A session bus of our own that activates only the unpacked services.
    for service in "$kde"/usr/share/dbus-1/services/*.service; do
        sed "s|^Exec=/|Exec=$kde/|" "$service" >"$work/services/$(basename "$service")"
    done
    # The accessibility bus, for pressing Plimbo's buttons by name.
    [[ -f /usr/share/dbus-1/services/org.a11y.Bus.service ]] &&
        cp /usr/share/dbus-1/services/org.a11y.Bus.service "$work/services/"
    cat >"$work/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    export PLIMBO_KDE_ROOT=$kde PLIMBO_KDE_SOCKET=$socket PLIMBO_KDE_WORK=$work \
        PLIMBO_PROGRAM=$program PLIMBO_CHECK_STARTED=$started
    # The bus and the services it starts write to a log; the results come through fd 3.
    exec dbus-run-session --config-file="$work/bus.conf" -- "$0" --inside \
        3>&1 >"$work/logs/bus.log" 2>&1
fi

# ---------------------------------------------------------------- inside the session bus
kde=$PLIMBO_KDE_ROOT
socket=$PLIMBO_KDE_SOCKET
work=$PLIMBO_KDE_WORK
program=$PLIMBO_PROGRAM
logs=$work/logs
exec 1>&3 3>&-
failures=0
pids=()

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
    XDG_CACHE_HOME=$work/cache XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime
export XDG_DATA_DIRS=$kde/usr/share:/usr/local/share:/usr/share XDG_CURRENT_DESKTOP=KDE \
    XDG_SESSION_TYPE=wayland XDG_DESKTOP_PORTAL_DIR=$kde/usr/share/xdg-desktop-portal/portals
unset DISPLAY WAYLAND_DISPLAY
kdeenv=(LD_LIBRARY_PATH="$kde/usr/lib/x86_64-linux-gnu:$kde/lib/x86_64-linux-gnu"
    QT_PLUGIN_PATH="$kde/usr/lib/x86_64-linux-gnu/qt5/plugins"
    QML2_IMPORT_PATH="$kde/usr/lib/x86_64-linux-gnu/qt5/qml" PATH="$kde/usr/bin:$PATH")

result() { # result PASS|FAIL|SKIP name detail
    printf '%-4s %-34s %s\n' "$1" "$2" "$3"
    [[ $1 == FAIL ]] && failures=$((failures + 1))
    return 0
}

wait_for() { # wait_for SECONDS command...: true once the command succeeds
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS >= deadline)) && return 1
        sleep 0.2
    done
}

cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    wait 2>/dev/null
}
trap cleanup EXIT

probe() { /usr/bin/python3 "$here/probe.py" "$@"; }
kde_run() { env "${kdeenv[@]}" "$@"; }
visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
hidden() { ! visible "$1"; }

# --- the compositor; it starts the program below once XWayland is up, with DISPLAY set
cat >"$work/bin/report-display" <<EOF
#!/bin/sh
echo "\$DISPLAY" >"$work/display"
EOF
chmod +x "$work/bin/report-display"
env KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 "${kdeenv[@]}" kwin_wayland --no-lockscreen --virtual --xwayland \
    --socket "$socket" --width 1280 --height 800 "$work/bin/report-display" \
    >"$logs/kwin.log" 2>&1 &
pids+=($!)
if ! wait_for 60 test -s "$work/display"; then
    result FAIL session "kwin_wayland or XWayland did not come up (see $logs/kwin.log)"
    exit 1
fi
export WAYLAND_DISPLAY=$socket DISPLAY=$(cat "$work/display")
dbus-update-activation-environment "${kdeenv[@]}" WAYLAND_DISPLAY DISPLAY XDG_CURRENT_DESKTOP \
    XDG_SESSION_TYPE XDG_DATA_DIRS XDG_DESKTOP_PORTAL_DIR XDG_RUNTIME_DIR HOME XDG_CONFIG_HOME \
    XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME >/dev/null 2>&1

# Every BindShortcuts the desktop's portal gets: on Plasma 5.27 each opens System Settings.
stdbuf -oL dbus-monitor --session \
    "type='method_call',interface='org.freedesktop.impl.portal.GlobalShortcuts'" \
    >"$logs/portal-calls.log" 2>&1 &
pids+=($!)

owned() { # owned NAME: without activating it
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
}
env QT_LOGGING_RULES='xdp-kde-*=true' "${kdeenv[@]}" \
    "$kde/usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde" >"$logs/portal-kde.log" 2>&1 &
pids+=($!)
wait_for 30 owned org.freedesktop.impl.portal.desktop.kde
env "${kdeenv[@]}" "$kde/usr/libexec/xdg-desktop-portal" --verbose >"$logs/portal.log" 2>&1 &
pids+=($!)
wait_for 30 owned org.freedesktop.portal.Desktop
portal_version() {
    gdbus call --session --dest org.freedesktop.portal.Desktop \
        --object-path /org/freedesktop/portal/desktop --method org.freedesktop.DBus.Properties.Get \
        org.freedesktop.portal.GlobalShortcuts version 2>/dev/null | grep -q 'uint32 1'
}
if wait_for 30 portal_version; then
    result PASS "portal offers GlobalShortcuts" "xdg-desktop-portal 1.16 with the KDE backend"
else
    result FAIL "portal offers GlobalShortcuts" "no answer (see $logs/portal.log)"
    exit 1
fi

# The accessibility bus up before the program starts, so that it registers its windows there.
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.a11y.Bus.GetAddress >/dev/null 2>&1

# --- the program, as a user starts it in this session (no KDE library paths)
plimbo_pid=
start_plimbo() { # start_plimbo LOGNAME [ARGS...]
    local log=$1
    shift
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" "$@" >"$logs/$log" 2>&1 &
    plimbo_pid=$!
    pids+=($plimbo_pid)
}
stop_plimbo() {
    kill "$plimbo_pid" 2>/dev/null
    wait "$plimbo_pid" 2>/dev/null
}

ids=(command-palette launcher clipboard)
# Components holding our shortcuts, and how many of ours have keys.
components() { probe shortcuts "${ids[@]}" 2>/dev/null; }
all_bound() {
    local line
    line=$(components | head -1)
    [[ $(components | wc -l) -eq 1 ]] || return 1
    for id in "${ids[@]}"; do
        [[ $line == *" $id="* && $line != *" $id=-"* ]] || return 1
    done
}
settings_opened() { grep -c 'member=BindShortcuts' "$logs/portal-calls.log" 2>/dev/null; }

start_plimbo plimbo-1.log
if wait_for 20 all_bound; then
    result PASS "kglobalaccel holds the three" "$(components)"
else
    result FAIL "kglobalaccel holds the three" "components: $(components | tr '\n' ';')"
fi

# --- real key presses through kwin
press_opens() { # press_opens NAME TITLE CODE...
    local name=$1 title=$2
    shift 2
    "$work/bin/fake-input" key "$@" >>"$logs/fake-input.log" 2>&1
    if wait_for 5 visible "$title"; then
        result PASS "$name" "\"$title\" is shown"
    else
        result FAIL "$name" "\"$title\" did not open"
    fi
    "$work/bin/fake-input" key 1 >>"$logs/fake-input.log" 2>&1 # Escape
    wait_for 3 hidden "$title"
}
keys() {
    press_opens "Super+Alt+Space opens the palette" "Plimbo Command Palette" 125 56 57
    press_opens "Alt+Space opens the launcher" "Plimbo Launcher" 56 57
    press_opens "Ctrl+Alt+V opens the clipboard" "Plimbo Clipboard" 29 56 47
}
keys

# --- a second start and a Retry keep one component and open no System Settings
stop_plimbo
start_plimbo plimbo-2.log --show-settings-preview
if wait_for 20 all_bound && wait_for 20 visible "Plimbo Settings"; then
    result PASS "a second start keeps one component" "$(components)"
else
    result FAIL "a second start keeps one component" "components: $(components | tr '\n' ';')"
fi
# The user gives the launcher other keys in the desktop's settings: Super+Shift+L.
user_keys=$((0x10000000 | 0x02000000 | 0x4c))
gdbus call --session --dest org.kde.kglobalaccel --object-path /kglobalaccel \
    --method org.kde.KGlobalAccel.setForeignShortcut \
    "['plimbo', 'launcher', 'plimbo', 'Open the launcher']" "[$user_keys]" >/dev/null 2>&1
sessions_before=$(grep -c 'member=CreateSession' "$logs/portal-calls.log")
new_session() { (($(grep -c 'member=CreateSession' "$logs/portal-calls.log") > sessions_before)); }
if wait_for 15 probe press "Retry Shortcuts" 2>>"$logs/probe.log" && wait_for 10 new_session; then
    sleep 1
    if all_bound; then
        result PASS "Retry keeps one component" "$(components)"
    else
        result FAIL "Retry keeps one component" "components: $(components | tr '\n' ';')"
    fi
    if [[ $(components) == *" launcher=$user_keys "* ]]; then
        result PASS "Retry keeps the user's keys" "launcher on Super+Shift+L"
    else
        result FAIL "Retry keeps the user's keys" "$(components)"
    fi
    press_opens "Super+Shift+L after the Retry" "Plimbo Launcher" 125 42 38
else
    probe dump >>"$logs/probe.log" 2>&1
    result FAIL "Retry keeps one component" "could not press Retry Shortcuts (see $logs/probe.log)"
fi
settings_window=$(xdotool search --onlyvisible --name '^Plimbo Settings$' 2>/dev/null | head -1)
[[ -n $settings_window ]] && import -window "$settings_window" "$logs/settings.png" >>"$logs/import.log" 2>&1
opened=$(settings_opened)
if [[ $opened -eq 0 ]]; then
    result PASS "no System Settings opened" "no BindShortcuts reached the desktop"
else
    result FAIL "no System Settings opened" "$opened BindShortcuts calls (each opens its page)"
fi
groups=$(grep -c '^\[' "$XDG_CONFIG_HOME/kglobalshortcutsrc" 2>/dev/null)
result INFO "kglobalshortcutsrc groups" "$groups: $(grep '^\[' "$XDG_CONFIG_HOME/kglobalshortcutsrc" 2>/dev/null | tr '\n' ' ')"

# --- copies made in a native Wayland window reach the history
# The KDE portal's file dialog is a native Wayland window to give the focus to.
gdbus call --session --dest org.freedesktop.portal.Desktop \
    --object-path /org/freedesktop/portal/desktop --method org.freedesktop.portal.FileChooser.OpenFile \
    '' 'Plimbo check' '{}' >/dev/null 2>&1 &
pids+=($!)
sleep 3
marks=()
for n in 1 2 3; do
    mark="plimbo-wayland-copy-$n-$$"
    marks+=("$mark")
    kde_run wl-copy "$mark"
    sleep 1
done
"$work/bin/fake-input" key 29 56 47 >>"$logs/fake-input.log" 2>&1 # open the clipboard panel
wait_for 5 visible "Plimbo Clipboard"
reached() { [[ $(probe names "${marks[@]}" 2>/dev/null | wc -l) -eq 3 ]]; }
if wait_for 5 reached; then
    result PASS "wl-copy copies reach the history" "3 of 3 from a Wayland window"
else
    got=$(probe names "${marks[@]}" 2>/dev/null | wc -l)
    if grep -qa zwlr_data_control_manager_v1 "$program"; then
        result FAIL "wl-copy copies reach the history" "$got of 3"
    else
        # Reading through X only sees copies made while an X window has the focus.
        result SKIP "wl-copy copies reach the history" \
            "$got of 3; this build has no Wayland data-control clipboard reader"
    fi
fi

clipboard_window=$(xdotool search --onlyvisible --name '^Plimbo Clipboard$' 2>/dev/null | head -1)
[[ -n $clipboard_window ]] && import -window "$clipboard_window" "$logs/clipboard.png" >>"$logs/import.log" 2>&1
"$work/bin/fake-input" key 1 >>"$logs/fake-input.log" 2>&1

# --- the user removes the clipboard's keys on the desktop: the settings say it has none
gdbus call --session --dest org.kde.kglobalaccel --object-path /kglobalaccel \
    --method org.kde.KGlobalAccel.setForeignShortcut \
    "['plimbo', 'clipboard', 'plimbo', 'Open the clipboard history']" "@ai []" >/dev/null 2>&1
no_keys() { [[ $(probe names "No keys" 2>/dev/null) == "No keys" ]]; }
if wait_for 10 no_keys; then
    result PASS "removed keys read \"No keys\"" "$(components)"
else
    result FAIL "removed keys read \"No keys\"" "$(components)"
fi
[[ -n $settings_window ]] && import -window "$settings_window" "$logs/settings-no-keys.png" >>"$logs/import.log" 2>&1

elapsed=$(($(date +%s) - PLIMBO_CHECK_STARTED))
echo "logs in $logs; ${elapsed}s"
exit $((failures > 0))
