#!/usr/bin/env bash
# Builds the fuzz targets and runs each for FUZZ_SECONDS (60 by default),
# starting from its seeds in tests/fuzz/corpus/<target>. New inputs are kept in
# <build>/corpus/<target>; a crash, hang, leak or sanitizer report is saved in
# <build>/findings/<target>/ and fails the run. Full logs: <build>/logs/.
# usage: run.sh <fuzz build folder> [C++ compiler] [target...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
compiler=${2:-clang++}
seconds=${FUZZ_SECONDS:-60}
shift $(($# < 2 ? $# : 2))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(list_file riff_midi midi_normaliser handover_message device_open soundfont_subset)

bash "$here/build.sh" "$dir" "$compiler" || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/logs"
failed=()
for target in "${targets[@]}"; do
    mkdir -p "$dir/corpus/$target" "$dir/findings/$target"
    timeout=5
    [ "$target" = device_open ] && timeout=20
    log=$dir/logs/$target.log
    "$dir/fuzz_$target" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/findings/$target/" \
        "$dir/corpus/$target" "$here/corpus/$target" >"$log" 2>&1
    status=$?
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)
    runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
    if [ $status -eq 0 ]; then
        echo "fuzz_$target: ${runs:-?} executions in ${seconds} s, clean (${done_line:-no DONE line})"
    else
        echo "fuzz_$target: FAILED with status $status after ${runs:-?} executions; log: $log"
        grep -E 'ERROR|SUMMARY|broken|Test unit written|FluidSynth:' "$log" | head -20
        failed+=("$target")
    fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzzing found problems in: ${failed[*]}"; exit 1; }
