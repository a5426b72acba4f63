#!/usr/bin/env bash
# make e2e-repeat: the end-to-end tests RUNS times in a row while the native
# tests run over and over beside them on every core, the load of a full
# `make test`. Prints the passes of each run and, per test, the slowest wait
# seen over all runs against its ceiling (from the tests' wait logs).
#
# Usage: repeat.sh BUILD_DIR RUNS
set -u
build=$1
runs=$2
logs=$build/e2e-repeat
waits=$build/e2e/waits.tsv
rm -rf "$logs"
mkdir -p "$logs" "$build/e2e"
rm -f "$waits"

# The load, in a process group of its own so that it ends with this script.
setsid bash -c "while :; do ctest --test-dir '$build' -LE e2e -j $(nproc) >>'$logs/load.log' 2>&1; done" &
load=$!
trap 'kill -TERM -- -$load 2>/dev/null; wait $load 2>/dev/null' EXIT
trap 'exit 130' INT TERM

passed_runs=0
for ((run = 1; run <= runs; run++)); do
    started=$(date +%s)
    ctest --test-dir "$build" -L e2e --output-on-failure >"$logs/run$run.log" 2>&1
    summary=$(grep -E '^[0-9]+% tests passed' "$logs/run$run.log")
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    failed=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    failures=$(sed -n '/The following tests FAILED/,$p' "$logs/run$run.log" | grep -oE 'e2e_[a-z_]+' | tr '\n' ' ')
    [ "${failed:-1}" = "0" ] && passed_runs=$((passed_runs + 1))
    # The next run reuses the test directories: keep those of the failures.
    for test in $failures; do
        cp -r "$build/e2e/${test#e2e_}" "$logs/run$run-${test#e2e_}" 2>/dev/null
    done
    printf 'run %d of %d: %s of %s e2e tests passed in %d s%s\n' "$run" "$runs" "$((${total:-0} - ${failed:-0}))" \
        "${total:-?}" "$(($(date +%s) - started))" "${failures:+ (failed: $failures; see $logs/run$run.log and run$run-*/)}"
done
echo "e2e-repeat: $passed_runs of $runs runs passed in full (the load: $(grep -c 'tests passed' "$logs/load.log") native runs)"
echo "slowest wait per test over all runs (ms taken of its ceiling):"
sort -t $'\t' -k1,1 -k2,2nr "$waits" 2>/dev/null | awk -F'\t' '$1 != last { printf "  %-22s %6d of %6d ms  %s\n", $1, $2, $3, $4; last = $1 }'
[ "$passed_runs" -eq "$runs" ]
