#!/usr/bin/env bash
# Runs one fuzz target in the background-friendly way: niced, until it has
# made RUNS executions or DEADLINE (date -d syntax) has passed, restarting
# after each finding. Findings land in fuzz/crashers/<target>/, new corpus
# entries in a scratch directory (not in the repository).
#   fuzz/run-campaign.sh build-fuzz fuzz_decode_jpeg jpeg 10000000 06:50 /tmp/fuzz-work
set -uo pipefail
build=$1 target=$2 corpus=$3 runs=$4 deadline=$5 work=$6
cd "$(dirname "$0")/.."
crashers=fuzz/crashers/$target
mkdir -p "$crashers" "$work/$target"
log=$work/$target.log
end=$(date -d "$deadline" +%s)
total=0
while (( total < runs )); do
    left=$(( end - $(date +%s) ))
    (( left > 30 )) || break
    nice -n 19 "$build/fuzz/$target" -runs=$(( runs - total )) -max_total_time=$left -timeout=25 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashers/" \
        "$work/$target" "fuzz/corpus/$corpus" >"$log.run" 2>&1
    status=$?
    cat "$log.run" >>"$log"
    # The final statistics tell how far this run came, else the last progress line.
    done_runs=$(grep -aoE '^stat::number_of_executed_units: *[0-9]+' "$log.run" | tail -1 | tr -dc '0-9')
    [ -n "$done_runs" ] || done_runs=$(grep -aoE '^(#[0-9]+|Done [0-9]+)' "$log.run" | tail -1 | tr -dc '0-9')
    total=$(( total + ${done_runs:-0} ))
    echo "$(date +%T) $target: exit $status, runs so far $total" >>"$work/summary.txt"
    (( status == 0 )) && break
    # A finding right at the start would only repeat itself.
    (( ${done_runs:-0} > 1000 )) || break
done
echo "$(date +%T) $target: finished with $total runs" >>"$work/summary.txt"
