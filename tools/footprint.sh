#!/usr/bin/env bash
# Measures what Plimbo costs while it sits idle: resident memory and CPU time of the real
# application, started in a sandboxed home with a private D-Bus session, an unlocked keyring and
# (without a display) Xvfb, with its modules on as on a first start.
#
#   tools/footprint.sh [idle-seconds]      (default 60)
#
# PLIMBO_FOOTPRINT_SETTLE (default 5) is how many seconds of start-up come before the idle
# window. Prints PASS or MISS per target; exits nonzero only when the application does not start
# or dies during the measurement.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLIMBO_BUILD_DIR:-$root/build}
idle=${1:-60}
settle=${PLIMBO_FOOTPRINT_SETTLE:-5}
for value in "$idle" "$settle"; do
    if ! [[ $value =~ ^[0-9]+$ ]] || [ "$value" -lt 1 ]; then
        echo "not a positive whole number of seconds: $value" >&2
        exit 2
    fi
done

# The private session bus ends with this script.
if [ -z "${PLIMBO_FOOTPRINT_SESSION:-}" ]; then
    "$root/tools/build.sh" --target plimbo || exit 1
    PLIMBO_FOOTPRINT_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
app=$build/PlimboApp/plimbo

sandbox=$(mktemp -d /tmp/plimbo-footprint.XXXXXX)
chmod 700 "$sandbox"
source "$root/tools/session-services.sh"
use_sandbox_home "$sandbox"

app_pid=
pids=()
cleanup() { end_session "$sandbox"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

display_note="display ${DISPLAY:-}"
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb "$sandbox" || exit 1
    display_note="Xvfb $DISPLAY, no system tray"
fi
unset WAYLAND_DISPLAY

start_unlocked_keyring "$sandbox" plimbo-footprint

ticks_per_second=$(getconf CLK_TCK)
# utime + stime of every thread, in clock ticks; the command name may hold spaces and brackets.
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    read -r -a fields <<<"$stat"
    echo $((fields[11] + fields[12])) "${fields[11]}"
}
# A field of /proc/<pid>/status in KiB.
status_kib() {
    awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status" 2>/dev/null
}
# Wake-ups: voluntary context switches (a thread went to sleep and was woken), per thread as
# "tid name count" lines. A thread that ends inside the window takes its count with it.
thread_wakeups() {
    local status name count
    for status in /proc/"$1"/task/*/status; do
        name=$(awk -F'\t' '$1 == "Name:" { print $2 }' "$status" 2>/dev/null) || continue
        count=$(awk '$1 == "voluntary_ctxt_switches:" { print $2 }' "$status" 2>/dev/null) || continue
        [ -n "$count" ] || continue
        status=${status%/status}
        echo "${status##*/} ${name// /_} $count"
    done
}
seconds() { awk -v t="$1" -v hz="$ticks_per_second" 'BEGIN { printf "%.2f", t / hz }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
alive_for() {
    local end=$((SECONDS + $1))
    while [ "$SECONDS" -lt "$end" ]; do
        kill -0 "$app_pid" 2>/dev/null || return 1
        sleep 1
    done
}
died() {
    wait "$app_pid" 2>/dev/null
    echo "plimbo exited during the $1 (status $?); its output:" >&2
    cat "$sandbox/app.log" >&2
    app_pid=
    exit 1
}

"$app" >"$sandbox/app.log" 2>&1 &
app_pid=$!
echo "Plimbo footprint: $app (pid $app_pid), $display_note, private D-Bus, sandboxed HOME"
echo "Running while idle (modules on by default): clipboard poll every 650 ms, system monitor"
echo "sampling /proc every 2 s and health checks every 4 s, sharing the poll's wake-ups."

alive_for "$settle" || died "start-up"
read -r startup_ticks startup_user < <(cpu_ticks "$app_pid") || died "start-up"
thread_wakeups "$app_pid" >"$sandbox/wakeups.start"
rss_settled=$(status_kib "$app_pid" VmRSS)
alive_for "$idle" || died "idle window"
read -r end_ticks end_user < <(cpu_ticks "$app_pid") || died "idle window"
thread_wakeups "$app_pid" >"$sandbox/wakeups.end"
rss_end=$(status_kib "$app_pid" VmRSS)
hwm=$(status_kib "$app_pid" VmHWM)

idle_ticks=$((end_ticks - startup_ticks))
per_minute=$(awk -v t="$idle_ticks" -v hz="$ticks_per_second" -v s="$idle" \
    'BEGIN { printf "%.3f", t / hz * 60 / s }')
verdict() { if awk -v v="$1" -v limit="$2" 'BEGIN { exit !(v < limit) }'; then echo PASS; else echo MISS; fi; }
# Per thread name: wake-ups per minute over the window (threads started inside it count from 0).
wakeups_by_thread=$(awk -v s="$idle" '
    FNR == NR { before[$1] = $3; next }
    { woken[$2] += $3 - before[$1]; total += $3 - before[$1] }
    END {
        for (name in woken) printf "%s %.1f\n", name, woken[name] * 60 / s
        printf "ALL %.1f\n", total * 60 / s
    }' "$sandbox/wakeups.start" "$sandbox/wakeups.end" | sort)
wakeups_per_minute=$(awk '$1 == "ALL" { print $2 }' <<<"$wakeups_by_thread")

echo
echo "start-up CPU (first ${settle} s):   $(seconds "$startup_ticks") s"
echo "idle CPU (${idle} s window):       $(seconds "$idle_ticks") s = ${per_minute} s per minute" \
    "  target <= 0.02 s/min: $(verdict "$per_minute" 0.0201)"
echo "    of which user $(seconds $((end_user - startup_user))) s, kernel" \
    "$(seconds $((idle_ticks - end_user + startup_user))) s (mostly the wake-ups themselves)"
# The period that must wake it: 60/0.65 clipboard polls; monitor samples and health checks join them.
echo "wake-ups per idle minute:       ${wakeups_per_minute}   target <= 93: $(verdict "$wakeups_per_minute" 93.1)"
awk '$1 != "ALL" && $2 > 0 { printf "    thread %-16s %s per minute\n", $1, $2 }' <<<"$wakeups_by_thread"
echo "VmRSS after start-up:           $(mib "$rss_settled") MiB"
echo "VmRSS at the end:               $(mib "$rss_end") MiB   target < 50 MiB: $(verdict "$(mib "$rss_end")" 50)"
echo "VmHWM (peak resident):          $(mib "$hwm") MiB   target < 50 MiB: $(verdict "$(mib "$hwm")" 50)"
if [ -s "$sandbox/app.log" ]; then
    echo
    echo "plimbo's own output (last 20 lines):"
    tail -n 20 "$sandbox/app.log"
fi
