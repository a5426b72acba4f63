#!/usr/bin/env bash
# The smallest analyser panel (10 bands, small, 30 dB, level meters hidden
# with D, 192 pixels wide): the menu bar wraps onto more lines there, and the
# window still shows the whole panel, both legend rows down to its bottom
# edge, as the software canvas paints them. The photograph stays in the test
# directory (analyser_small.png).
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
source "$QIV_ROOT/tools/e2e/analyser_lib.sh"
e2e_init analyser_small

e2e_sim 2 --function analyser
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320" \
    "Analyser Type Select=0.000000" "Analyser Size=0.000000" "Level Meter Display=1.000000"
e2e_start
drive_ok wait-title "Audio Analyser - ONLINE" $E2E_START_MS
expect_file_line "$STATE_FILE" '^Analyser Type Select=0$' $E2E_WAIT_S
expect_client_size 262x165 $E2E_WAIT_MS

click_caption
xdotool key d
expect_client_size 192x165 $E2E_WAIT_MS
drive_ok window-rect
read -r left top right bottom <<<"$DRIVEN"
say "the window is $((right - left)) x $((bottom - top)) for a 192 x 165 panel"

render_analyser "$E2E_WORK/analyser_small_expected.png" type=0 size=0 meters=0
shot_until "$E2E_WORK/analyser_small.png" regions_same "$E2E_WORK/analyser_small.png" \
    "$E2E_WORK/analyser_small_expected.png" $'0 136 192 29\n0 0 27 165'
# Below the bands: the upper and the lower legend row, to the panel's
# bottom edge; and the left scale.
expect_region_same "$E2E_WORK/analyser_small.png" "$E2E_WORK/analyser_small_expected.png" 0 136 192 29 \
    "the legend rows under the bands"
expect_region_same "$E2E_WORK/analyser_small.png" "$E2E_WORK/analyser_small_expected.png" 0 0 27 165 \
    "the left scale"
say "both legend rows show whole down to the bottom edge"
