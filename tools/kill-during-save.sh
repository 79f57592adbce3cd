#!/usr/bin/env bash
# Kills a process with SIGKILL while it saves a large chat history through the real store, round
# after round, and checks after every kill that AIChats.json is exactly the old or the new
# complete document: never empty, cut short, mixed or missing, and still loadable by the store
# with whatever the killed save left beside it.
#
#   tools/kill-during-save.sh [rounds]      (default 200)
#
# Each round starts the save loop, lets it run for a random 20-400 ms (so rounds end on either
# version), then waits for the next write to begin and kills at a random point within the time
# a write takes: encoding the document takes longer than writing it, so unaimed kills would
# mostly miss the write.
#
# Environment: PLIMBO_STRESS_CHATS and PLIMBO_STRESS_TURNS size the history (100 x 100, about
# 25 MB); PLIMBO_STRESS_MIN_MS and PLIMBO_STRESS_MAX_MS bound the free-running time. Exits
# nonzero when any round fails.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLIMBO_BUILD_DIR:-$root/build}
rounds=${1:-200}
chats=${PLIMBO_STRESS_CHATS:-100}
turns=${PLIMBO_STRESS_TURNS:-100}
min_ms=${PLIMBO_STRESS_MIN_MS:-20}
max_ms=${PLIMBO_STRESS_MAX_MS:-400}
for value in "$rounds" "$chats" "$turns" "$min_ms" "$max_ms"; do
    if ! [[ $value =~ ^[0-9]+$ ]]; then echo "not a whole number: $value" >&2; exit 2; fi
done
if [ "$rounds" -lt 1 ] || [ "$max_ms" -lt "$min_ms" ]; then
    echo "need at least one round and PLIMBO_STRESS_MIN_MS <= PLIMBO_STRESS_MAX_MS" >&2
    exit 2
fi

"$root/tools/build.sh" --target history_save_stress || exit 1
tool=$build/tools/history_save_stress
size=(--chats "$chats" --turns "$turns")

work=$(mktemp -d /tmp/plimbo-kill-save.XXXXXX)
data=$work/data
history_folder=$data/Plimbo
keep_work=0
loop_pid=
cleanup() {
    if [ -n "$loop_pid" ]; then
        kill -9 "$loop_pid" 2>/dev/null
        wait "$loop_pid" 2>/dev/null
    fi
    if [ "$keep_work" = 1 ]; then
        echo "kept for inspection: $work" >&2
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if ! "$tool" save "$data" A "${size[@]}"; then echo "could not write version A" >&2; exit 1; fi
if [ "$("$tool" check "$data" "${size[@]}")" != A ]; then
    echo "version A does not check as A after a complete save" >&2
    exit 1
fi
bytes=$(stat -c %s "$history_folder/AIChats.json")
echo "history: $chats chats x $turns turns, $bytes bytes; $rounds rounds, free-running ${min_ms}-${max_ms} ms, then a kill inside a write"

sleep_ms() { sleep "$(printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)))"; }

count_a=0 count_b=0 failures=0 saves=0 write_total=0 write_samples=0
declare -A phases=()
declare -A strays=()
for round in $(seq "$rounds"); do
    : >"$work/status"
    "$tool" save-loop "$data" "$work/status" "${size[@]}" 2>"$work/loop.log" &
    loop_pid=$!
    # Start-up and building the two documents are not what the kill should hit: wait for the
    # first save to begin.
    for _ in $(seq 3000); do
        [ -s "$work/status" ] && break
        kill -0 "$loop_pid" 2>/dev/null || break
        sleep 0.01
    done
    if ! kill -0 "$loop_pid" 2>/dev/null || [ ! -s "$work/status" ]; then
        echo "round $round: the save loop did not start" >&2
        cat "$work/loop.log" >&2
        keep_work=1
        exit 1
    fi
    delay=$((min_ms + RANDOM % (max_ms - min_ms + 1)))
    sleep_ms "$delay"
    # Aim: when a write begins, kill at a random point within 90% of the time the last one took
    # (busy-waiting on the status file: starting sleep(1) alone costs milliseconds). A write
    # that ends before that point is missed, and the next one is tried with a new point.
    for _ in 1 2 3 4 5; do
        deadline=$((${EPOCHREALTIME//[!0-9]/} + 10000000))
        while read -r phase _ _ write_ms <"$work/status"; [ "$phase" != writing ]; do
            [ "${EPOCHREALTIME//[!0-9]/}" -gt "$deadline" ] && break
        done
        [ "$phase" = writing ] || break
        window_us=$(((${write_ms:-0} > 0 ? write_ms : 20) * 900))
        target=$((${EPOCHREALTIME//[!0-9]/} + (RANDOM * 32768 + RANDOM) % window_us))
        while read -r phase _ <"$work/status"; [ "$phase" = writing ]; do
            [ "${EPOCHREALTIME//[!0-9]/}" -ge "$target" ] && break
        done
        [ "$phase" = writing ] && break
    done
    if ! kill -0 "$loop_pid" 2>/dev/null; then
        echo "round $round: the save loop died before the kill" >&2
        cat "$work/loop.log" >&2
        keep_work=1
        exit 1
    fi
    kill -9 "$loop_pid"
    wait "$loop_pid" 2>/dev/null
    loop_pid=

    read -r phase generation completed write_ms <"$work/status"
    if [ "$write_ms" -gt 0 ]; then
        write_total=$((write_total + write_ms)) write_samples=$((write_samples + 1))
    fi
    phases[$phase]=$((${phases[$phase]:-0} + 1))
    saves=$((saves + completed))

    result=$("$tool" check "$data" "${size[@]}" 2>"$work/check.log")
    status=$?
    case "$status:$result" in
    0:A) count_a=$((count_a + 1)) ;;
    0:B) count_b=$((count_b + 1)) ;;
    *)
        failures=$((failures + 1))
        keep_work=1
        echo "round $round FAILED (killed while $phase $generation, after $delay ms running free):" \
            "$(cat "$work/check.log")" >&2
        mkdir -p "$work/failures"
        if [ -e "$history_folder/AIChats.json" ]; then
            mv "$history_folder/AIChats.json" "$work/failures/AIChats-round-$round.json"
        fi
        # Start the next round from a good file again.
        "$tool" save "$data" A "${size[@]}" || exit 1
        ;;
    esac

    # Anything but the history file is left over by a killed save. It stays where it is, so
    # the later rounds load beside it.
    for entry in "$history_folder"/* "$history_folder"/.[!.]*; do
        [ -e "$entry" ] || continue
        name=${entry##*/}
        [ "$name" = AIChats.json ] && continue
        strays[$name]=1
    done
done

echo
echo "rounds:            $rounds"
echo "version A on disk: $count_a"
echo "version B on disk: $count_b"
echo "failures:          $failures"
echo "saves completed:   $saves (in all rounds); a write took about $((write_total / (write_samples > 0 ? write_samples : 1))) ms"
printf 'killed while:      '
for phase in "${!phases[@]}"; do printf '%s %d  ' "$phase" "${phases[$phase]}"; done
echo
echo "stray files left:  ${#strays[@]}"
if [ "${#strays[@]}" -gt 0 ]; then printf '  %s\n' "${!strays[@]}"; fi
if [ "$count_a" -eq 0 ] || [ "$count_b" -eq 0 ]; then
    echo "note: only one version was ever seen; the kills may not overlap complete saves"
fi
if [ "$failures" -gt 0 ]; then
    echo "FAIL: $failures of $rounds rounds left a damaged or missing history file"
    exit 1
fi
if [ "${phases[writing]:-0}" -le $((rounds / 2)) ]; then
    echo "note: only ${phases[writing]:-0} of $rounds kills landed inside a write"
fi
echo "PASS: every kill left version A or B complete"
