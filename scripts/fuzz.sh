#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for RUNS executions
# (default 1,000,000), at most SECONDS each (default 900), two at a time,
# starting from the checked-in seed corpora. A crash, a leak or undefined
# behaviour fails the run. Prints the executions of each target.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
runs=${1:-1000000}
seconds=${2:-900}

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DLUMETRA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j "$(nproc)"

logs=build/fuzz/logs
rm -rf "$logs" build/fuzz/corpus
mkdir -p "$logs"
targets=(friendly_names devnode_properties capture_drivers registry_values driver_answers)
run_target() {
    local target=$1
    mkdir -p "build/fuzz/corpus/$target"
    build/fuzz/fuzz_"$target" -runs="$runs" -max_total_time="$seconds" -print_final_stats=1 \
        "build/fuzz/corpus/$target" "fuzz/corpus/$target" >"$logs/$target.log" 2>&1
}
export -f run_target
export runs seconds logs
status=0
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_target {}' || status=1

for target in "${targets[@]}"; do
    executed=$(awk '/stat::number_of_executed_units/ { print $2 }' "$logs/$target.log")
    if grep -qE "ERROR: |SUMMARY: |does not hold|leaked or misused|runtime error" "$logs/$target.log"; then
        echo "fuzz $target: FAILED after ${executed:-?} executions; see $logs/$target.log"
        grep -E "ERROR: |SUMMARY: |does not hold|leaked or misused|runtime error" "$logs/$target.log" | head -5
        status=1
    else
        echo "fuzz $target: ${executed:-?} executions, no finding"
    fi
done
exit $status
