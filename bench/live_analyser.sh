#!/usr/bin/env bash
# The live program under Wine in its busiest view, the Analyser function,
# against qiv72sim at wire pace (a 108-byte frame every 28.1 ms):
#
#  1. CPU use of the program's process over 30 s, from /proc, with the
#     start-up analyser settings (10 bands, small) and the settings window
#     closed;
#  2. the same with the largest display (30 bands, big, 50 dB in 0.5 dB
#     steps, level meters, Peak Hold) and the analyser settings window open;
#  3. click-to-wire latency: real clicks on "Phase Invert Left" in the
#     settings window, from the press (CLOCK_MONOTONIC, just before it goes
#     to the X server) to the switch frame arriving at the unit (the
#     simulator's host log with --host-log-clock, same clock);
#  4. 2 and 3 again at Panel Size 200 % (the panels drawn on their surfaces
#     and enlarged piece by piece).
#
# Run by `make bench-live`; not part of `make test`. It takes the lock of
# the end-to-end tests (build/native/e2e), so it never runs beside them, and
# a prefix of its own whose Wine desktop (2000 x 1300) holds the largest
# display at 200 % (1784 x 1092). Results: build/native/e2e/live_analyser/results.json and a
# summary on stdout. Wine's own helpers (wineserver, the desktop's
# explorer.exe) and Xvfb are listed beside the program for comparison.
#
# Inputs (environment): as for the end-to-end tests, and CPU_SECONDS
# (default 30), CLICKS (default 40).
E2E_PREFIX_NAME=prefix_bench
E2E_SCREEN=2048x1400x24
E2E_DESKTOP=2000x1300
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
source "$QIV_ROOT/tools/e2e/analyser_lib.sh"
CPU_SECONDS=${CPU_SECONDS:-30}
CLICKS=${CLICKS:-40}
MEASURE=$QIV_ROOT/bench/live_measure.py
FRAME_MS=28.1

e2e_init live_analyser
RESULTS=$E2E_WORK/results.json

processes() {
    local program server desktop
    program=$(prefix_pid 'qiv72rc.exe') || fail "no process of qiv72rc.exe"
    server=$(prefix_pid 'wineserver') || fail "no wineserver"
    desktop=$(prefix_pid 'explorer.exe') || desktop=
    echo "program=$program wineserver=$server ${desktop:+explorer=$desktop} Xvfb=$E2E_XVFB_PID"
}

# run_program NAME INI_LINES...: a fresh unit and program, online.
run_program() {
    local name=$1
    shift
    e2e_sim 2 --function analyser --host-log-clock
    e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=20,840,20,320" "$@"
    e2e_start
    drive_ok wait-title "Audio Analyser - ONLINE" $E2E_START_MS
    sleep 3  # start-up settles (fonts, bitmaps, the first layouts)
    say "$name: online"
}

# The program ends by its menu; then the prefix's wineserver, before the
# unit: it holds the pseudo-terminal as its controlling terminal and would
# get its hang-up.
stop_program() {
    drive_ok exit-time $E2E_WAIT_MS
    "$WINESERVER" -k >/dev/null 2>&1 8>&-
    kill -TERM "$SIM_PID" 2>/dev/null
    wait "$SIM_PID" 2>/dev/null
}

measure_cpu() {
    local name=$1 procs
    procs=$(processes)
    say "$name: measuring CPU for $CPU_SECONDS s ($procs)"
    # shellcheck disable=SC2086
    python3 "$MEASURE" cpu "$CPU_SECONDS" $procs >"$E2E_WORK/cpu_$name.json" || fail "CPU measurement failed"
}

# 1. Start-up settings, settings window closed.
run_program startup
expect_client_size 262x165 $E2E_WAIT_MS
measure_cpu startup
stop_program

# 2. The largest display, settings window open.
run_program largest "Analyser Type Select=6.000000" "Analyser Size=2.000000" "Analyser Range Select=1.000000" \
    "Analyser Resolution=0.000000" "Analyser Mode Select=2.000000" "Level Meter Display=1.000000"
expect_client_size 892x546 $E2E_WAIT_MS
click_caption
xdotool key F2
settings_rects
sleep 1
measure_cpu largest

# 3. Clicks on "Phase Invert Left" (20, 60, 50 x 10 in the settings panel,
# ZOOM times as large on the screen).
clicks() {
    local name=$1 zoom=$2
    say "$name: $CLICKS clicks on Phase Invert Left"
    python3 "$MEASURE" clicks $((SET_X + 45 * zoom)) $((SET_Y + 65 * zoom)) "$CLICKS" "$HOST_LOG" "$STATE_FILE" \
        "Phase Invert Left" 0x40 >"$E2E_WORK/clicks_$name.json" || fail "click measurement failed"
}
clicks largest 1
stop_program

# 4. The same at Panel Size 200 %.
run_program largest_200 "Analyser Type Select=6.000000" "Analyser Size=2.000000" "Analyser Range Select=1.000000" \
    "Analyser Resolution=0.000000" "Analyser Mode Select=2.000000" "Level Meter Display=1.000000" "PanelSize=200"
expect_client_size 1784x1092 $E2E_WAIT_MS
click_caption
xdotool key F2
settings_rects
[ "$SET_W"x"$SET_H" = "1048x282" ] || fail "the settings window at 200 % is ${SET_W}x$SET_H"
sleep 1
measure_cpu largest_200
clicks largest_200 2
stop_program

python3 - "$E2E_WORK" "$FRAME_MS" "$RESULTS" <<'PY'
import json, sys
work, frame, out = sys.argv[1], float(sys.argv[2]), sys.argv[3]
res = {"frame_ms": frame}
runs = ("startup", "largest", "largest_200")
for name in runs:
    res["cpu_" + name] = json.load(open(f"{work}/cpu_{name}.json"))
for name in runs[1:]:
    res["clicks_" + name] = json.load(open(f"{work}/clicks_{name}.json"))
json.dump(res, open(out, "w"), indent=1)
print()
for name in runs:
    print(f"CPU, {name} display ({'settings window closed' if name == 'startup' else 'settings window open'}):")
    for proc, v in res["cpu_" + name].items():
        s = v["per_second"]
        print(f"  {proc:10s} {v['percent_of_one_core']:5.2f} % of one core over {v['seconds']:.0f} s"
              f"  (per second: median {s['median']:.1f}, 10-90 % {s['p10']:.1f}-{s['p90']:.1f}, max {s['max']:.1f})")
medians = []
for name in runs[1:]:
    c = res["clicks_" + name]
    l = c["latency_ms"]
    medians.append(l["median"])
    print(f"Click to wire, {name}, {l['n']} of {c['clicks']} clicks ({c['missing']} not found):")
    print(f"  median {l['median']:.1f} ms = {l['median'] / frame:.2f} frame times;"
          f" 10-90 % {l['p10']:.1f}-{l['p90']:.1f} ms; min {l['min']:.1f}, max {l['max']:.1f} ms")
prog = max(res["cpu_" + name]["program"]["percent_of_one_core"] for name in runs)
worst = max(medians)
print(f"Targets: CPU under 5 % of one core: {'met' if prog < 5 else 'MISSED'} ({prog:.2f} %);"
      f" click-to-wire median under 1.5 frame times ({1.5 * frame:.1f} ms):"
      f" {'met' if worst < 1.5 * frame else 'MISSED'}")
PY
say "results in $RESULTS"
