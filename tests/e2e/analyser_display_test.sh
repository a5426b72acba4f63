#!/usr/bin/env bash
# The analyser panel online in the Analyser function, under Wine: laid out
# for the settings of QEN72.INI (30 bands, medium size) it shows its scales,
# legends, frames and background exactly as the software canvas paints the
# same layout; the spectrum moves from frame to frame while the window gets
# no paint message at all (only the changed records are drawn); Space
# freezes the bands and Space again releases them. The photograph stays in
# the test directory (analyser.png).
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
source "$QIV_ROOT/tools/e2e/analyser_lib.sh"
e2e_init analyser_display

e2e_sim 2 --function analyser
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320" \
    "Analyser Type Select=6.000000" "Analyser Size=1.000000"
e2e_start
drive_ok wait-title "Audio Analyser - ONLINE" $E2E_START_MS
expect_file_line "$STATE_FILE" '^Analyser Type Select=6$' $E2E_WAIT_S

# 30 bands of the medium size (15 pixels wide, pitch 19, 249 high) and the
# level meters: 35 columns.
expect_client_size 717x289 $E2E_WAIT_MS
render_analyser "$E2E_WORK/analyser_expected.png" type=6 size=1
# Left scale, band legends, the gap between bands and meters, the meter
# scale with "OVR".
REGIONS='0 0 27 289
0 260 717 29
594 0 22 260
690 0 27 260'
shot_until "$E2E_WORK/analyser.png" regions_same "$E2E_WORK/analyser.png" "$E2E_WORK/analyser_expected.png" "$REGIONS"
while read -r x y w h; do
    expect_region_same "$E2E_WORK/analyser.png" "$E2E_WORK/analyser_expected.png" "$x" "$y" "$w" "$h" \
        "the analyser panel's scales, legends and frames"
done <<<"$REGIONS"
say "scales, legends, frames and background as the software canvas paints them"

# The bands: 29 columns of pitch 19 and one band, 249 pixels high, at 27, 10.
BANDS="27 10 567 249"
bands_start_moving bands $BANDS
[ "$MOVED" != "0" ] || fail "the spectrum did not move"
say "the spectrum moved ($MOVED pixels in half a second)"

# Every frame redraws the changed records only: no paint message reaches
# the window while about 100 frames are handled.
drive_ok count-messages 3000
read -r paints notifies <<<"${DRIVEN//[a-z=]/}"
[ "$notifies" -ge 50 ] || fail "only $notifies serial notifications in 3 s ($DRIVEN)"
[ "$paints" -eq 0 ] || fail "the window was painted $paints times in 3 s ($DRIVEN)"
say "no paint message in 3 s of frames ($DRIVEN)"

# Space freezes the bands; Space again releases them.
click_caption
xdotool key space
drive_ok ping $E2E_WAIT_MS  # the key is handled (see click_caption)
bands_moved frozen 1 $BANDS
[ "$MOVED" = "0" ] || fail "Space did not freeze the bands ($MOVED pixels changed in a second)"
say "Space froze the bands"
xdotool key space
bands_start_moving free $BANDS
[ "$MOVED" != "0" ] || fail "Space again did not release the bands"
say "Space again released them ($MOVED pixels moved)"

drive_ok exit-time $E2E_WAIT_MS
grep -a -q '^Analyser Freeze=0.000000' "$INI" || fail "the settings file keeps the freeze on"
say "PASS"
