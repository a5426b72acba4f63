#!/usr/bin/env bash
# A setting changed at the unit itself (the simulator's control file, as
# the unit's own front panel would) appears on the program's panel: the
# field changes on the screen to what the software canvas paints for the
# new value, and the setup counts as modified.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
e2e_init panel_unit_change

CONTROL=$E2E_WORK/control.txt
e2e_sim 2 --function dual-mono --control "$CONTROL"
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_START_MS
# The fields watched below, and their neighbours: x y w h per line.
CHANGED="90 110 50 10
680 110 100 10"
NEIGHBOURS="90 45 50 10
710 45 70 40"
render_panel dualmono "$E2E_WORK/start.png"
shot_until "$E2E_WORK/before.png" regions_same "$E2E_WORK/before.png" "$E2E_WORK/start.png" "$CHANGED
$NEIGHBOURS" || fail "the panel does not show the start values"

# unit_sets LINE...: the unit's operator changes settings.
unit_sets() {
    printf '%s\n' "$@" >"$CONTROL.new"
    mv "$CONTROL.new" "$CONTROL"
}

# "Low Cut Frequency Right" (90, 110, 50 x 10) from 50 to 120 Hz, and
# "Channel Status" (680, 110, 100 x 10) to its third label.
unit_sets "Low Cut Frequency Right=120" "Channel Status=2"
expect_file_line "$STATE_FILE" '^Low Cut Frequency Right=120$' $E2E_WAIT_S
drive_ok wait-title "ONLINE : new.c72*" $E2E_WAIT_MS
render_panel dualmono "$E2E_WORK/expected.png" 7=120 56=2
shot_until "$E2E_WORK/after.png" regions_same "$E2E_WORK/after.png" "$E2E_WORK/expected.png" "$CHANGED"
while read -r region; do
    # shellcheck disable=SC2086
    changed=$(region_diff "$E2E_WORK/before.png" "$E2E_WORK/after.png" $region)
    [ "$changed" != "0" ] || fail "the field at $region did not change on the screen"
    # shellcheck disable=SC2086
    expect_region_same "$E2E_WORK/after.png" "$E2E_WORK/expected.png" $region "the field at $region"
done <<<"$CHANGED"
# The neighbours stayed as they were.
expect_region_same "$E2E_WORK/before.png" "$E2E_WORK/after.png" 90 45 50 10 "Low Cut Frequency Left"
expect_region_same "$E2E_WORK/before.png" "$E2E_WORK/after.png" 710 45 70 40 "the output settings"
say "the unit's changes appeared on the panel"

drive_ok exit-time $E2E_WAIT_MS
say "PASS"
