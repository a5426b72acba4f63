#!/usr/bin/env bash
# The analyser settings window ("ANASetClass") with a real keyboard and
# mouse: F2 opens nothing before the Analyser runs and one window however
# often it is pressed; a drag and the selection dialog on "Analyser Type
# Select" lay the main panel out anew (its client size as the layout says)
# and reach the unit; L, R and M set the unit's analyser input; the window
# keeps the position it was moved to, releases the freeze when it closes,
# and closes when the unit leaves the Analyser, keeping its position in
# QEN72.INI.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
source "$QIV_ROOT/tools/e2e/analyser_lib.sh"
e2e_init analyser_settings

e2e_sim 2 --function dual-mono --boot-pause 300
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS

# F2 in Dual Mono opens nothing.
click_caption
xdotool key F2
sleep 0.5
drive_ok window-count "$SETTINGS_CLASS"
[ "$DRIVEN" = "0" ] || fail "F2 in Dual Mono opened $DRIVEN settings windows"

drive_ok command 40057  # Boot Other Function > Analyser
drive_ok wait-title "Audio Analyser - ONLINE" $E2E_WAIT_MS
# Start-up settings: 10 bands of the small size with the level meters.
expect_client_size 262x165 $E2E_WAIT_MS

# F2 twice: one window, 524 x 141, where the settings file put it (none
# given: 300, 200).
click_caption
xdotool key F2
settings_rects
xdotool key F2
sleep 0.5
drive_ok window-count "$SETTINGS_CLASS"
[ "$DRIVEN" = "1" ] || fail "F2 twice gave $DRIVEN settings windows"
[ "${SET_W}x$SET_H" = "524x141" ] || fail "the settings panel is ${SET_W}x$SET_H"
[ "$SET_LEFT,$SET_TOP" = "300,200" ] || fail "the settings window opened at $SET_LEFT,$SET_TOP"
say "F2 opened one settings window of 524 x 141 at 300,200"

# "Analyser Type Select" (120, 30, 80 x 10): 26 pixels up are two labels,
# "15-Band Q=1.4": 15 bands and the meters, 20 columns of pitch 14.
on_settings_panel
panel_drag 160 35 -26
expect_file_line "$STATE_FILE" '^Analyser Type Select=2$' $E2E_WAIT_S
expect_client_size 332x165 $E2E_WAIT_MS
say "a drag to 15 bands reached the unit and widened the panel to 332 x 165"

# The selection dialog: "30-Band Q=3 ", 35 columns.
panel_click 160 35 2
drive_ok wait-dialog "Select Value" $E2E_WAIT_MS
drive_ok cursel "Select Value" 1114
[ "$DRIVEN" = "2" ] || fail "the list selects entry $DRIVEN, not 2"
drive_ok select "Select Value" 1114 6
drive_ok dblclick "Select Value" 1114
drive_ok wait-no-dialog "Select Value" $E2E_WAIT_MS
expect_file_line "$STATE_FILE" '^Analyser Type Select=6$' $E2E_WAIT_S
expect_client_size 542x165 $E2E_WAIT_MS
say "the selection dialog chose 30 bands: in the unit, and the panel is 542 x 165"

# L, R and M on the main window set the unit's analyser input.
click_caption
for key in r:1 m:2 l:0; do
    xdotool key "${key%%:*}"
    expect_file_line "$STATE_FILE" "^Analyser Input Select=${key##*:}\$" $E2E_WAIT_S
done
say "R, M and L set the analyser input in the unit"

# Move the window by its caption, freeze the bands with Space, close it:
# the bands move again, and F2 opens the next window where this one was.
# (Wine may leave the main window above its owned window after a click on
# it, so the caption is taken right of the main window.)
settings_rects
drive_ok window-rect
read -r main_left main_top main_right main_bottom <<<"$DRIVEN"
from_x=$((SET_RIGHT - 60)) from_y=$((SET_TOP + 6))
[ "$from_x" -gt "$main_right" ] || fail "the settings caption lies under the main window ($DRIVEN)"
xdotool mousemove "$from_x" "$from_y"
sleep 0.2
xdotool click 1  # activates it first
sleep 0.8         # longer than the double-click time
xdotool mousedown 1
sleep 0.2
for k in 10 20 30 40 50 60; do
    xdotool mousemove $((from_x + k)) $((from_y + k))
    sleep 0.05
done
sleep 0.2
xdotool mouseup 1
settings_at() { settings_rects && [ "$SET_LEFT,$SET_TOP" = "$1" ]; }
wait_until $E2E_WAIT_MS "the settings window moved" settings_at 360,260 ||
    fail "the caption drag left the window at $SET_LEFT,$SET_TOP"
moved_to="$SET_LEFT,$SET_TOP"

click_caption
xdotool key space
drive_ok ping $E2E_WAIT_MS  # the key is handled (see click_caption)
BANDS="27 10 416 125"
bands_moved frozen 0.7 $BANDS
[ "$MOVED" = "0" ] || fail "Space did not freeze the bands ($MOVED pixels changed)"
drive_ok close-class "$SETTINGS_CLASS"
drive wait-window-count "$SETTINGS_CLASS" 0 $E2E_WAIT_MS >/dev/null || fail "the close box left the settings window open"
bands_start_moving released $BANDS
[ "$MOVED" != "0" ] || fail "closing the settings window did not release the freeze"
say "closing the window released the freeze"

click_caption
xdotool key F2
settings_rects
[ "$SET_LEFT,$SET_TOP" = "$moved_to" ] || fail "F2 reopened the window at $SET_LEFT,$SET_TOP, not $moved_to"
say "F2 reopened it where it was moved to ($moved_to)"

# The unit boots into Dual Mono: the window closes by itself.
drive_ok command 40053
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS
drive wait-window-count "$SETTINGS_CLASS" 0 $E2E_WAIT_MS >/dev/null || fail "the settings window stayed open in Dual Mono"
say "the settings window closed when the unit left the Analyser"

drive_ok exit-time $E2E_WAIT_MS
grep -a -q "^Printfont=${moved_to}"$'\r'"\$" "$INI" || fail "QEN72.INI has $(grep -a '^Printfont' "$INI"), not $moved_to"
say "QEN72.INI keeps the position ($moved_to)"
say "PASS"
