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

source "$root/tools/session-services.sh"
open_session_folder footprint
use_sandbox_home "$sandbox"

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
# Per thread, while the window lasts: CPU time in nanoseconds (schedstat, exact where the
# ticks of /proc/<pid>/stat are 10 ms) and wake-ups (voluntary context switches: the thread went
# to sleep and was woken). Read every second, so a thread that ends inside the window (the
# thread pool's idle threads do) keeps what it had used until its last second.
declare -A thread_name thread_ns_start thread_ns_last thread_wake_start thread_wake_last
read_threads() {
    local first=$1 task tid ns wakes name key value
    for task in /proc/"$app_pid"/task/*; do
        tid=${task##*/}
        read -r ns _ <"$task/schedstat" 2>/dev/null || continue
        name= wakes=
        while IFS=$'\t' read -r key value; do
            case $key in
            Name:) name=$value ;;
            voluntary_ctxt_switches:) wakes=$value ;;
            esac
        done <"$task/status" 2>/dev/null
        [ -n "$wakes" ] || continue
        thread_name[$tid]=${name// /_}
        if [ "$first" = 1 ]; then
            thread_ns_start[$tid]=$ns
            thread_wake_start[$tid]=$wakes
        fi
        thread_ns_last[$tid]=$ns
        thread_wake_last[$tid]=$wakes
    done
}
seconds() { awk -v t="$1" -v hz="$ticks_per_second" 'BEGIN { printf "%.2f", t / hz }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
alive_for() {
    local end=$((SECONDS + $1))
    while [ "$SECONDS" -lt "$end" ]; do
        kill -0 "$app_pid" 2>/dev/null || return 1
        sleep 1
        [ -z "${watch_threads:-}" ] || read_threads 0
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
read_threads 1
window_start=$EPOCHREALTIME
rss_settled=$(status_kib "$app_pid" VmRSS)
watch_threads=1
alive_for "$idle" || died "idle window"
read -r end_ticks end_user < <(cpu_ticks "$app_pid") || died "idle window"
read_threads 0
window_end=$EPOCHREALTIME
rss_end=$(status_kib "$app_pid" VmRSS)
hwm=$(status_kib "$app_pid" VmHWM)

# The window's real length: whole seconds of sleep plus the time the readings took.
window=$(awk -v a="$window_start" -v b="$window_end" 'BEGIN { printf "%.3f", b - a }')
idle_ticks=$((end_ticks - startup_ticks))
ticks_per_minute=$(awk -v t="$idle_ticks" -v hz="$ticks_per_second" -v s="$window" \
    'BEGIN { printf "%.3f", t / hz * 60 / s }')
verdict() { if awk -v v="$1" -v limit="$2" 'BEGIN { exit !(v < limit) }'; then echo PASS; else echo MISS; fi; }
# Per thread name: CPU milliseconds and wake-ups per minute (threads started inside the window
# count from 0), then the totals.
by_thread=$(for tid in "${!thread_name[@]}"; do
    echo "${thread_name[$tid]} $((thread_ns_last[$tid] - ${thread_ns_start[$tid]:-0}))" \
        "$((thread_wake_last[$tid] - ${thread_wake_start[$tid]:-0}))"
done | awk -v s="$window" '
    { ns[$1] += $2; woken[$1] += $3; total_ns += $2; total_woken += $3 }
    END {
        for (name in ns) printf "%s %.1f %.1f\n", name, ns[name] / 1e6 * 60 / s, woken[name] * 60 / s
        printf "ALL %.1f %.1f\n", total_ns / 1e6 * 60 / s, total_woken * 60 / s
    }' | sort)
cpu_ms_per_minute=$(awk '$1 == "ALL" { print $2 }' <<<"$by_thread")
per_minute=$(awk -v ms="$cpu_ms_per_minute" 'BEGIN { printf "%.4f", ms / 1000 }')
wakeups_per_minute=$(awk '$1 == "ALL" { print $3 }' <<<"$by_thread")

echo
echo "start-up CPU (first ${settle} s):   $(seconds "$startup_ticks") s"
echo "idle window:                    ${window} s"
echo "idle CPU per minute:            ${per_minute} s   target <= 0.02 s/min: $(verdict "$per_minute" 0.0200001)"
echo "    in 10 ms ticks (/proc/<pid>/stat): $(seconds "$idle_ticks") s in the window =" \
    "${ticks_per_minute} s per minute; user $(seconds $((end_user - startup_user))) s, kernel" \
    "$(seconds $((idle_ticks - end_user + startup_user))) s"
# The period that must wake it: the 650 ms clipboard poll, which the monitor samples and health
# checks join. A window of W seconds holds at most floor(W / 0.65) + 1 polls.
wakeup_target=$(awk -v s="$window" 'BEGIN { printf "%.1f", (int(s / 0.65) + 1) * 60 / s }')
echo "wake-ups per idle minute:       ${wakeups_per_minute}   target <= ${wakeup_target}" \
    "(the polls in this window): $(verdict "$wakeups_per_minute" "$(awk -v t="$wakeup_target" 'BEGIN { print t + 0.01 }')")"
awk '$1 != "ALL" && ($2 > 0 || $3 > 0) {
    printf "    thread %-16s %6.1f ms CPU, %5.1f wake-ups per minute\n", $1, $2, $3 }' <<<"$by_thread"
echo "VmRSS after start-up:           $(mib "$rss_settled") MiB"
echo "VmRSS at the end:               $(mib "$rss_end") MiB   target < 50 MiB: $(verdict "$(mib "$rss_end")" 50)"
echo "VmHWM (peak resident):          $(mib "$hwm") MiB   target < 50 MiB: $(verdict "$(mib "$hwm")" 50)"
if [ -s "$sandbox/app.log" ]; then
    echo
    echo "plimbo's own output (last 20 lines):"
    tail -n 20 "$sandbox/app.log"
fi
