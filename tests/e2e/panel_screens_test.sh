#!/usr/bin/env bash
# The Dual Mono and Stereo panels online, photographed under Wine: every
# setting, label and switch shows exactly as the software canvas paints the
# same bitmaps with the unit's values, and the meters move from frame to
# frame. The photographs stay in the test directory (dual_mono.png,
# stereo.png).
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
e2e_init panel_screens

e2e_sim 2 --function dual-mono --boot-pause 300
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_START_MS

# Regions without meters or readouts: sections of settings, the bottom row,
# the name plate. x y w h per line.
check_regions() {
    local shot=$1 expected=$2 what=$3 x y w h
    while read -r x y w h; do
        [ -n "$x" ] && expect_region_same "$shot" "$expected" "$x" "$y" "$w" "$h" "$what"
    done
}

DUAL_MONO_REGIONS='0 0 85 175
85 0 143 175
228 0 100 72
360 0 95 72
480 0 70 175
555 0 90 72
672 0 127 140
0 225 330 27
640 150 159 102'
render_panel dualmono "$E2E_WORK/dual_mono_expected.png"
shot_until "$E2E_WORK/dual_mono.png" \
    regions_same "$E2E_WORK/dual_mono.png" "$E2E_WORK/dual_mono_expected.png" "$DUAL_MONO_REGIONS"
[ "$PANEL_W"x"$PANEL_H" = "799x252" ] || fail "the Dual Mono panel is ${PANEL_W}x$PANEL_H"
check_regions "$E2E_WORK/dual_mono.png" "$E2E_WORK/dual_mono_expected.png" "Dual Mono panel" <<<"$DUAL_MONO_REGIONS"
say "the Dual Mono panel shows its settings as the software canvas paints them"

# The level bars follow the unit's meters: a later photograph differs
# there, and only the meters and readouts differ.
bars_moved() {
    moved=$(region_diff "$E2E_WORK/dual_mono.png" "$E2E_WORK/dual_mono_later.png" 120 185 432 25)
    [ "$moved" != "0" ]
}
shot_until "$E2E_WORK/dual_mono_later.png" bars_moved || fail "the level bars did not move"
check_regions "$E2E_WORK/dual_mono.png" "$E2E_WORK/dual_mono_later.png" "later" <<'REGIONS'
0 0 85 175
85 0 143 175
672 0 127 140
0 225 330 27
REGIONS
say "the level bars moved ($moved pixels) and nothing else did"

# Stereo: boot the unit into it; the window shrinks to the Stereo panel.
drive_ok command 40055
drive_ok wait-title "Stereo Remote Control - ONLINE : new.s72" $E2E_WAIT_MS
STEREO_REGIONS='0 0 85 150
85 0 143 150
228 0 100 72
360 0 95 72
480 0 70 150
555 0 90 72
672 0 127 140
0 210 330 24
640 150 159 84'
render_panel stereo "$E2E_WORK/stereo_expected.png"
shot_until "$E2E_WORK/stereo.png" regions_same "$E2E_WORK/stereo.png" "$E2E_WORK/stereo_expected.png" "$STEREO_REGIONS"
[ "$PANEL_W"x"$PANEL_H" = "799x234" ] || fail "the Stereo panel is ${PANEL_W}x$PANEL_H"
check_regions "$E2E_WORK/stereo.png" "$E2E_WORK/stereo_expected.png" "Stereo panel" <<<"$STEREO_REGIONS"
say "the Stereo panel shows its settings as the software canvas paints them"

drive_ok exit-time $E2E_WAIT_MS
say "PASS"
