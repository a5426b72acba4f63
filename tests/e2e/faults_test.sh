#!/usr/bin/env bash
# Real mouse edits on the Dual Mono panel over a bad line: the unit spoils
# 5 % of its frames, puts noise after 2 % and a sync word inside the data
# of 2 %, the cable spoils 5 % of the program's answers, and the cable is
# pulled for about five seconds in the middle. Drags and clicks are made
# online in quick succession; across the pull and before the program can
# notice it; while the title shows OFFLINE (and the unit's own front panel
# changes a setting meanwhile); across the replug and right after. Once the
# line has been up for a while, the setup the program saves must be the
# unit's in every setting and hold every edit and the unit's own change,
# the panel on the screen must show it, and the program must have answered
# a window message within a second at every check of the whole run.
#
# Edits made while the cable is out stay marked for sending: losing the link
# clears only the count of held answers and waiting store and recall
# requests. When frames come again the first one is taken over as it is for
# everything not marked (so the unit's own change stays), and the marked
# values go out one per answer, each held against the unit's reports for a
# few answers and sent again when the unit does not show it. So every edit
# reaches the unit, also those whose answers died in the cable.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
source "$QIV_ROOT/tests/e2e/setup_common.sh"
e2e_init faults

SEED=${QIV_FAULTS_SEED:-$(( $(date +%s) % 100000 ))}
say "seed $SEED (QIV_FAULTS_SEED=$SEED repeats the line's faults)"
CONTROL=$E2E_WORK/control.txt
# The unit's end of the cable is COM9, which nobody opens but the cable
# below; the program has COM2.
e2e_sim 9 --function dual-mono --seed "$SEED" --corrupt 0.05 --noise 0.02 --sync-in-data 0.02 \
    --control "$CONTROL"

# The cable: passes the unit's bytes on as they are (the unit spoils its own
# frames) and spoils one byte of 5 % of the program's 8-byte answers, past
# their "QEN", so that the unit rejects them (its host log lists them as
# invalid). The program writes whole answers, so the stream stays aligned.
# A side that does not read loses what does not fit, as on a real line.
"${E2E_UNIT_PRIORITY[@]}" /usr/bin/python3 - "$WINEPREFIX/dosdevices/com9" "$WINEPREFIX/dosdevices/com2" "${QIV_FAULTS_SPOIL:-0.05}" "$SEED" \
    >"$E2E_WORK/cable.out" 2>&1 8>&- <<'PY' &
import errno, os, random, select, signal, sys, tty
unit_path, program_link, spoil, seed = sys.argv[1], sys.argv[2], float(sys.argv[3]), int(sys.argv[4])
rnd = random.Random(seed)
unit = os.open(unit_path, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
tty.setraw(unit)
master, slave = os.openpty()  # the slave stays open: the program may reopen it
tty.setraw(master)
tty.setraw(slave)
os.set_blocking(master, False)
if os.path.lexists(program_link):
    os.unlink(program_link)
os.symlink(os.ttyname(slave), program_link)
signal.signal(signal.SIGTERM, lambda *a: (os.unlink(program_link), sys.exit(0)))
print("cable", os.ttyname(slave), flush=True)
offset, bad_at, spoiled = 0, -1, 0
def put(fd, data):
    try:
        os.write(fd, data)
    except OSError as e:
        if e.errno not in (errno.EAGAIN, errno.EIO):
            raise
while True:
    ready, _, _ = select.select([unit, master], [], [])
    if unit in ready:
        try:
            put(master, os.read(unit, 4096))
        except OSError as e:
            if e.errno not in (errno.EAGAIN, errno.EIO):
                raise
    if master in ready:
        try:
            data = bytearray(os.read(master, 4096))
        except OSError as e:
            if e.errno not in (errno.EAGAIN, errno.EIO):
                raise
            continue
        for i in range(len(data)):
            if offset == 0:
                bad_at = rnd.randrange(3, 8) if rnd.random() < spoil else -1
            if offset == bad_at:
                data[i] ^= rnd.randrange(1, 256)
                spoiled += 1
                print("spoiled", spoiled, flush=True)
            offset = (offset + 1) % 8
        put(unit, bytes(data))
PY
E2E_PIDS+=("$!")
wait_file_line "$E2E_WORK/cable.out" '^cable' $E2E_WAIT_S || fail "the cable did not come up: $(cat "$E2E_WORK/cable.out")"

# unit_sets LINE...: the unit's operator changes settings at the unit.
unit_sets() {
    printf '%s\n' "$@" >"$CONTROL.new"
    mv "$CONTROL.new" "$CONTROL"
}
unit_value() { awk -F= -v n="$1" '$1 == n { print $2; exit }' "$STATE_FILE"; }

# The unit starts from a setup of its own, not the program's start-up
# values: the program has to take it over through the faults.
unit_sets "Input Select Left=1" "Low Cut Frequency Left=80" "Expander Ratio Left=3.5" \
    "Delay Time Right=12.5" "De-esser Q Right=2.5" "ALC Rise Time Right=7.5" "Dither=1" \
    "Channel Status=2" "ALC On/Off=0" "Word Clock Out Enable=0"
expect_file_line "$STATE_FILE" '^Word Clock Out Enable=0$' $E2E_WAIT_S

e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_START_MS
START_MS=$(now_ms)

# From here to the end: a window message every 200 ms, and every title.
TITLES=$E2E_WORK/titles.txt
"$WINE" "$DRIVE_EXE" watch-title "$(win_path "$TITLES")" 170000 >/dev/null 2>&1 8>&- &
E2E_PIDS+=("$!")
ping_watch_start 170000

# What the panel must end with: every edit applied to the value before it,
# starting from the unit's setup.
declare -A WANT
want_of() { [ -n "${WANT[$1]+x}" ] && echo "${WANT[$1]}" || unit_value "$1"; }

# flip NAME X Y: a click on a switch at client point X, Y.
flip() {
    local before
    before=$(want_of "$1")
    panel_click "$2" "$3"
    WANT[$1]=$(awk -v v="$before" 'BEGIN { print (v > 0.5) ? 0 : 1 }')
}

# drag NAME X Y DY DELTA [KEY]: a drag on a number or selection that moves
# it by DELTA (the test keeps clear of the limits).
drag() {
    local before
    before=$(want_of "$1")
    panel_drag "$2" "$3" "$4" "${6:-}"
    WANT[$1]=$(awk -v v="$before" -v d="$5" 'BEGIN { printf "%.10g\n", v + d }')
}

# quick_flips NAME X Y [NAME X Y ...]: clicks on several switches as fast
# as the mouse goes, all in one stroke.
quick_flips() {
    local args=() before
    panel_origin
    while [ $# -gt 0 ]; do
        before=$(want_of "$1")
        WANT[$1]=$(awk -v v="$before" 'BEGIN { print (v > 0.5) ? 0 : 1 }')
        args+=(mousemove $((PANEL_X + $2)) $((PANEL_Y + $3)) click 1)
        shift 3
    done
    xdotool "${args[@]}"
    sleep 0.2
}

# drag_across NAME X Y DY DELTA COMMAND...: a drag as above (DY a multiple
# of 4), with COMMAND run half-way, the button held down.
drag_across() {
    local name=$1 x=$2 y=$3 dy=$4 delta=$5 before k step=-2
    shift 5
    before=$(want_of "$name")
    [ "$dy" -gt 0 ] && step=2
    panel_point "$x" "$y"
    xdotool mousemove "$SX" "$SY"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.2
    for ((k = step; k * step <= dy * step; k += step)); do
        xdotool mousemove "$SX" $((SY + k))
        sleep 0.05
        [ $((2 * k)) -eq "$dy" ] && "$@"
    done
    sleep 0.2
    xdotool mouseup 1
    sleep 0.2
    WANT[$name]=$(awk -v v="$before" -v d="$delta" 'BEGIN { printf "%.10g\n", v + d }')
}

# 1. Online, on the bad line: drags and clicks, some in quick succession.
drag "Expander Threshold Left" 295 35 -20 10
quick_flips "Phase Invert Left" 45 65 "Expander Link L/R" 270 165 "ALC Link L/R" 600 165
drag "Delay Time Left" 190 50 -10 0.5
drag "Low Cut Frequency Right" 115 115 -4 20 shift
flip "Expander Attack Slow" 332 165
drag "Audio Wordlength" 745 65 12 -1
say "online edits made: ${#WANT[@]} settings"

# 2. The cable is pulled in the middle of a drag; the drag ends and a
# switch is clicked before the program can notice (their answers, if any,
# die in the cable); then the title goes OFFLINE.
drag_across "ALC Headroom Left" 615 50 -8 4 kill -USR1 "$SIM_PID"
flip "M/S Processing" 45 165
drive_ok wait-title "OFFLINE" $E2E_WAIT_MS
OFFLINE_AT=$(now_ms)
# While it is out: the unit's own front panel changes a setting, and the
# user edits others, one of them a setting already changed online.
unit_sets "NLC Gain Right=4"
drag "NLC Gain Left" 515 50 -4 2
flip "De-esser Key Listen" 420 165
drag "Sample Rate" 745 50 -12 1
drag "Expander Ratio Right" 295 115 -6 0.3
drag "Expander Threshold Left" 295 35 -8 4
flip "Phase Invert Left" 45 65
expect_file_line "$STATE_FILE" '^NLC Gain Right=4$' $E2E_WAIT_S
WANT["NLC Gain Right"]=4
# The unit knew nothing of them.
for name in "M/S Processing" "NLC Gain Left" "De-esser Key Listen" "Sample Rate" "Expander Ratio Right"; do
    [ "$(unit_value "$name")" != "${WANT[$name]}" ] || fail "the unit has $name=${WANT[$name]} with the cable out"
done
drive_ok title
[[ "$DRIVEN" == *"OFFLINE"* ]] || fail "the program came online with the cable out: $DRIVEN"
say "cable out for $(( $(now_ms) - OFFLINE_AT )) ms of OFFLINE; edits made meanwhile"

# 3. The cable goes back in in the middle of a drag; edits at once and
# right after the title says ONLINE again, switches in quick succession
# among them.
drag_across "Level Meter Peak Hold" 185 235 -12 0.6 kill -USR2 "$SIM_PID"
flip "Phase Invert Right" 45 130
drag "De-esser Ratio Left" 420 65 -10 5
drive_ok wait-title "ONLINE" $E2E_WAIT_MS
quick_flips "Word Clock Out Enable" 770 130 "Full Bypass" 770 35 "Low Cut On/Off" 115 15
drag "ALC Maximum Gain Right" 615 100 6 -3
drag "Level Meter Release" 290 235 -8 4
flip "Expander Link L/R" 270 165
say "edits after the replug made; $((${#WANT[@]} - 1)) settings edited on the panel in all"

# 4. The line stays up (still bad): the program must finish sending, then
# its title must stay ONLINE without "Transmitting" for two seconds.
drive_ok wait-title-not "Transmitting" $E2E_WAIT_MS
quiet_since=$(now_ms)
while [ $(($(now_ms) - quiet_since)) -lt 2000 ]; do
    drive_ok title
    if [[ "$DRIVEN" != *"ONLINE"* || "$DRIVEN" == *"Transmitting"* ]]; then
        [ $(($(now_ms) - START_MS)) -lt 40000 ] || fail "the link never settled: $DRIVEN"
        quiet_since=$(now_ms)
    fi
    sleep 0.2
done

# The program's values: File > Save Setup File As.
SAVED=$E2E_WORK/final.c72
drive_ok command 40016
file_dialog "Save As" "$SAVED"
drive_ok wait-title "ONLINE : final.c72" $E2E_WAIT_MS
[ -f "$SAVED" ] || fail "final.c72 not written"

# Every one of the 48 settings of the saved setup is the unit's.
differences=$(unit_differences "$SAVED")
[ "$differences" = "compared 48" ] ||
    fail "the unit differs from the program's setup: $(echo "$differences" | tr '\n' ';')"
say "the unit holds the program's setup in all 48 settings"

# ... and the setup holds every edit, the ones made while the cable was out
# included, and the unit's own change.
lost=""
for name in "${!WANT[@]}"; do
    got=$(awk -F= -v n="$name" '$1 == n { print $2; exit }' "$SAVED")
    awk -v a="$got" -v b="${WANT[$name]}" 'BEGIN { d = a - b; exit !(a != "" && d < 1e-6 && d > -1e-6) }' ||
        lost="$lost $name: wanted ${WANT[$name]}, program ${got:-none}, unit $(unit_value "$name");"
done
[ -z "$lost" ] || fail "edits lost:$lost"
say "all $((${#WANT[@]} - 1)) edited settings and the unit's own change hold, in the program and in the unit"
say "the unit took $(grep -c -v '^#' "$HOST_LOG") answers and rejected $(grep -c '^# invalid' "$HOST_LOG") spoiled ones"

# The panel on the screen shows the saved values: every field of the 48
# settings as the software canvas paints it (their records: id, name and
# rectangle, from the Dual Mono table).
FIELDS=$(awk '/^ParamDesc DualMonoTable/ { on = 1; next } on && /^};/ { on = 0 } on' "$QIV_ROOT/model/param_data.cpp" |
    awk -F', ' '$3 ~ /K::(Numeric|Toggle|Choice|CyclicChoice)$/ {
        id = substr($1, index($1, "{") + 1); name = $2; gsub(/"/, "", name)
        print id "|" name "|" $11 "|" $12 "|" $13 "|" $14 }')
[ "$(echo "$FIELDS" | wc -l)" -eq 48 ] || fail "found $(echo "$FIELDS" | wc -l) settings in the Dual Mono table, not 48"
render_args=()
while IFS='|' read -r id name _ _ _ _; do
    value=$(awk -F= -v n="$name" '$1 == n { print $2; exit }' "$SAVED")
    [ -n "$value" ] || fail "final.c72 has no line for $name"
    render_args+=("$id=$value")
done <<<"$FIELDS"
panel_shot "$E2E_WORK/final.png"
render_panel dualmono "$E2E_WORK/expected.png" "${render_args[@]}"
while IFS='|' read -r id name x y w h; do
    expect_region_same "$E2E_WORK/final.png" "$E2E_WORK/expected.png" "$x" "$y" "$w" "$h" "the field of $name (id $id)"
done <<<"$FIELDS"
say "the panel on the screen shows those values in all 48 fields"

# The line was lost once, for the unplug, and only then.
offline_runs=$(awk -F'\t' '{ off = ($2 ~ /OFFLINE/); if (off && !was) n++; was = off } END { print n + 0 }' "$TITLES")
[ "$offline_runs" -eq 1 ] || fail "the title went OFFLINE $offline_runs times: $(cut -f2 "$TITLES" | tr '\n' ';')"

drive_ok exit-time $E2E_WAIT_MS
ping_watch_end "over $(( $(now_ms) - START_MS )) ms"
[ "$CHECKS" -ge 50 ] || fail "only $CHECKS checks"
[ "$WIDEST" -lt 2000 ] || fail "$WIDEST ms passed between two checks"
say "PASS"
