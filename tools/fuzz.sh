#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and the address and undefined-behaviour sanitizers
# into build-fuzz/, then runs each one for a bounded time:
#     tools/fuzz.sh [seconds per target] [target...]     (or FUZZ_SECONDS=30 tools/fuzz.sh)
# Targets: event_stream chat_history markdown desktop_entry redactor (all by default). Each keeps a
# working corpus in build-fuzz/corpus/<target> and also reads tests/Fuzz/regressions/<target>.
# Inputs that crash, hang or run out of memory are copied into tests/Fuzz/regressions/<target>/,
# where the regression suite (test_Fuzz) replays them; the exit status is nonzero if any turned up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLIMBO_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
if [[ ${1:-} =~ ^[0-9]+$ ]]; then
    seconds=$1
    shift
fi
all_targets=(event_stream chat_history markdown desktop_entry redactor)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

# Longest input per target: enough for the parsers' own limits (the desktop parser refuses lines
# over 64 KiB) without slowing every run down.
declare -A max_len=([event_stream]=16384 [chat_history]=65536 [markdown]=32768
    [desktop_entry]=70000 [redactor]=16384)
for t in "${targets[@]}"; do
    [ -n "${max_len[$t]:-}" ] || { echo "unknown target: $t (one of: ${all_targets[*]})" >&2; exit 2; }
done

# The project's own dependencies, then clang with libFuzzer and the sanitizer runtimes, which
# only fuzzing needs.
"$root/tools/install-deps.sh"
fuzz_packages=(clang libclang-rt-14-dev)
missing=()
for p in "${fuzz_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Everything the fuzzers link is instrumented for coverage and checked by the sanitizers; the
# fuzz programs themselves add -fsanitize=fuzzer (fuzz/CMakeLists.txt).
sanitize="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS="$sanitize" \
    -DPLIMBO_BUILD_FUZZERS=ON -DPLIMBO_BUILD_TESTS=OFF -DPLIMBO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target $(printf 'fuzz_%s ' "${targets[@]}")

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
failed=0
summary=()
for t in "${targets[@]}"; do
    corpus=$build/corpus/$t
    artifacts=$build/artifacts/$t
    regressions=$root/tests/Fuzz/regressions/$t
    log=$build/logs/$t.log
    mkdir -p "$corpus" "$artifacts" "$regressions" "$(dirname "$log")"
    rm -f "$artifacts"/*
    echo "== $t: ${seconds}s (log: $log)"
    status=0
    # The committed inputs are a second, read-only corpus: new finds go to the working one.
    "$build/fuzz/fuzz_$t" "$corpus" "$regressions" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${max_len[$t]}" \
        -dict="$root/fuzz/dicts/$t.dict" -artifact_prefix="$artifacts/" -print_final_stats=1 \
        >"$log" 2>&1 || status=$?

    found=()
    for f in "$artifacts"/crash-* "$artifacts"/timeout-* "$artifacts"/oom-* "$artifacts"/leak-*; do
        [ -e "$f" ] || continue
        cp "$f" "$regressions/"
        found+=("$(basename "$f")")
    done
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n1 || true)
    units=$(find "$corpus" -type f | wc -l)
    line="$t: ${execs:-?} execs, ${coverage:-no coverage line}, corpus $units"
    if [ ${#found[@]} -gt 0 ]; then
        failed=1
        line+=", FOUND ${found[*]} (copied to tests/Fuzz/regressions/$t/)"
        grep -m1 -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|fuzz check failed)' "$log" || true
    elif [ "$status" -ne 0 ]; then
        failed=1
        line+=", fuzzer exited with $status (see the log)"
    else
        line+=", no findings"
    fi
    summary+=("$line")
done

echo
printf '%s\n' "${summary[@]}"
exit $failed
