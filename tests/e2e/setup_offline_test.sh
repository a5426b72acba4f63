#!/usr/bin/env bash
# A setup prepared with no unit attached: saved and opened offline in
# Offline Mode Dual Mono, it reaches the unit when the cable is plugged in,
# and the unit then holds the whole file, also the values the program
# happened to start with but the unit did not hold.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tests/e2e/setup_common.sh"
e2e_init setup_offline

e2e_sim 2 --function dual-mono
e2e_ini "COMPort=COM2" "SafeMode=1" "HelpLanguage=1" "WinPos=40,840,40,320"

# A first session leaves the unit with values the program does not start
# with.
EARLIER=$E2E_WORK/earlier.c72
printf 'QIV-72 Dual Mono Configuration\nDelay Time Left=30\nDither=2\nLow Cut On/Off=0\nExpander Threshold Left=-40\n' \
    >"$EARLIER"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_START_MS
drive_ok command 40012
file_dialog "Open" "$EARLIER"
for line in 'Delay Time Left=30' 'Dither=2' 'Low Cut On/Off=0' 'Expander Threshold Left=-40'; do
    expect_file_line "$STATE_FILE" "^$line\$" $E2E_WAIT_S
done
drive_ok wait-title-not "Transmitting" $E2E_WAIT_MS
drive_ok exit-time $E2E_WAIT_MS

# The second session starts with the cable pulled.
pull_cable
e2e_start
drive_ok wait-title "KOV QIV-72 - No Operation" $E2E_START_MS
drive_ok command 40045
drive_ok wait-title "Dual Mono Remote Control - OFFLINE : new.c72" $E2E_WAIT_MS

# Offline the program's own values are saved (its start values) ...
START=$E2E_WORK/start.c72
drive_ok command 40016
file_dialog "Save As" "$E2E_WORK/start"
[ "$(wc -l <"$START")" -eq 51 ] || fail "start.c72 has $(wc -l <"$START") lines"
drive_ok wait-title "OFFLINE : start.c72" $E2E_WAIT_MS

# ... edited into the mix for tonight, and opened. It keeps Delay Time Left,
# Dither, Low Cut On/Off and Expander Threshold Left at the program's start
# values, which the unit does not hold.
MIX=$E2E_WORK/tonight.c72
sed -e 's/^Delay Time Right=.*/Delay Time Right=20.000000/' -e 's/^NLC Gain Left=.*/NLC Gain Left=3.000000/' \
    -e 's/^Input Select Right=.*/Input Select Right=1.000000/' -e 's/^ALC Headroom Left=.*/ALC Headroom Left=9.000000/' \
    -e 's/^Comment=.*/Comment=tonight/' "$START" >"$MIX"
grep -qx 'Delay Time Left=0.000000' "$MIX" && grep -qx 'Dither=0.000000' "$MIX" || fail "start values: $(cat "$MIX")"
drive_ok command 40012
file_dialog "Open" "$MIX"
drive_ok wait-title "Dual Mono Remote Control - OFFLINE : tonight.c72" $E2E_WAIT_MS
sleep 1  # a time for a wrong send to show, not a wait
grep -q '^Delay Time Right=0$' "$STATE_FILE" || fail "the unplugged unit changed: $(grep 'Delay Time Right' "$STATE_FILE")"

# The cable goes in: the whole mix reaches the unit.
plug_cable
drive_ok wait-title "Dual Mono Remote Control - ONLINE : tonight.c72" $E2E_WAIT_MS
expect_unit_equals "$MIX" 48 $E2E_WAIT_S
say "the mix opened offline reached the unit, all 48 values"

# The program shows the mix too, and a save gives back the same file.
drive_ok wait-title-not "Transmitting" $E2E_WAIT_MS
drive_ok command 40016
file_dialog "Save As" "$E2E_WORK/after"
diff <(grep -v '^WinPos=' "$MIX") <(grep -v '^WinPos=' "$E2E_WORK/after.c72") >"$E2E_WORK/after.diff" ||
    fail "the program's setup differs from the mix: $(cat "$E2E_WORK/after.diff")"

drive_ok exit-time $E2E_WAIT_MS
say "PASS"
