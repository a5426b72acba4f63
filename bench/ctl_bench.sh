#!/usr/bin/env bash
# qiv72ctl against qiv72sim at wire pace (a Dual Mono unit, a 160-byte frame
# every 41.7 ms): the wall time of `put` of a setup in which all 48 values
# differ from the unit's, and of `status`, each from the start of the
# process, over RUNS runs. The protocol's floor for the put is one value
# per answer frame: 48 frames, 2.0 s; the target is within 1.2 times that.
# `status` should end within 20 frames (the memory names take 16).
# Usage: bench/ctl_bench.sh QIV72CTL QIV72SIM [RUNS]
set -euo pipefail
ctl=$1 sim=$2 runs=${3:-5}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/qiv72ctl_bench.XXXXXX)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

frame_us=41700
floor_ms=$((48 * frame_us / 1000))
"$sim" --quiet --link "$work/port" --state-file "$work/state.txt" &
sim_pid=$!
for _ in $(seq 1 100); do [ -L "$work/port" ] && break; sleep 0.05; done

now_us() { echo $(($(date +%s%N) / 1000)); }
# timed ARGS...: runs qiv72ctl, prints its wall time in ms; fails with it.
timed() {
    local t0 t1
    t0=$(now_us)
    "$ctl" --port "$work/port" "$@" >/dev/null
    t1=$(now_us)
    echo $(((t1 - t0) / 1000))
}

"$ctl" --port "$work/port" get "$work/defaults.c72" >/dev/null
values() { grep = "$1" | grep -v -e '^Comment=' -e '^WinPos=' | sort; }
differ=$(comm -13 <(values "$work/defaults.c72") <(values "$here/ctl_all_differ.c72") | wc -l)
echo "values of the file that differ from the unit's: $differ"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
put_ms=() status_ms=()
for _ in $(seq 1 "$runs"); do
    put_ms+=("$(timed put "$here/ctl_all_differ.c72")")
    timed put "$work/defaults.c72" >/dev/null  # back, for the next run
    status_ms+=("$(timed status)")
done
put=$(printf '%s\n' "${put_ms[@]}" | median)
status=$(printf '%s\n' "${status_ms[@]}" | median)
echo "put, 48 differing values: median $put ms over $runs runs (${put_ms[*]}); floor $floor_ms ms," \
     "ratio $(awk -v a="$put" -v b="$floor_ms" 'BEGIN {printf "%.2f", a / b}') (target 1.20)"
echo "status: median $status ms = $(awk -v a="$status" -v f="$frame_us" 'BEGIN {printf "%.1f", a * 1000 / f}') frames" \
     "(${status_ms[*]}; target 20 frames)"
