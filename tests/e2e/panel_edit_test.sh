#!/usr/bin/env bash
# Editing on the Dual Mono panel with a real mouse and keyboard: a drag on a
# number, a click on a switch, and the three value dialogs opened by a
# double-click. Every change must reach the unit (its state file).
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
e2e_init panel_edit

e2e_sim 2 --function dual-mono
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_START_MS
expect_file_line "$STATE_FILE" '^Expander Threshold Left=-50$' $E2E_WAIT_S

# "Expander Threshold Left" (270, 30, 50 x 10, step 1 dB): 20 pixels up
# are ten steps.
panel_drag 295 35 -20
expect_file_line "$STATE_FILE" '^Expander Threshold Left=-40$' $E2E_WAIT_S
drive_ok wait-title "new.c72*" $E2E_WAIT_MS
say "a drag of 20 pixels raised the threshold by 10 dB in the unit"

# With Shift, ten steps per 2 pixels: "Low Cut Frequency Left" 50 Hz,
# 4 pixels up, gives 70 Hz.
panel_drag 115 50 -4 shift
expect_file_line "$STATE_FILE" '^Low Cut Frequency Left=70$' $E2E_WAIT_S
say "a drag with Shift moved ten steps per 2 pixels"

# A switch acts on the press: a click puts "Expander Link L/R" (260, 160)
# on; a double-click flips it once (on its first press), so it goes off.
panel_click 265 165
expect_file_line "$STATE_FILE" '^Expander Link L/R=1$' $E2E_WAIT_S
sleep 0.7  # longer than the double-click time
panel_click 265 165 2
expect_file_line "$STATE_FILE" '^Expander Link L/R=0$' $E2E_WAIT_S
sleep 1
grep -q '^Expander Link L/R=0$' "$STATE_FILE" || fail "the double-click flipped the switch twice"
drive wait-dialog "Input Value" 300 >/dev/null && fail "a double-click on a switch opened a dialog"
say "a click flipped the switch in the unit, a double-click flipped it once"

# A double-click on the threshold opens VALUEIN with the record's name,
# value, unit and range; typing 50 means -50 dB.
panel_click 295 35 2
drive_ok wait-dialog "Input Value" $E2E_WAIT_MS
expect_text() {
    drive_ok get-text "$1" "$2"
    [ "$DRIVEN" = "$3" ] || fail "$1 control $2 shows '$DRIVEN', not '$3'"
}
expect_text "Input Value" 1101 "Expander Threshold Left"
expect_text "Input Value" 1098 "-40"
expect_text "Input Value" 1100 "dB"
expect_text "Input Value" 1104 "-110 dB"
expect_text "Input Value" 1105 "-30 dB"
drive_ok dialog-rect "Input Value"
read -r dl dt dr db ml mt mr mb <<<"$DRIVEN"
cx=$((ml + (mr - ml - (dr - dl)) / 2))
cy=$((mt + (mb - mt - (db - dt)) / 2))
[ "$dl" -eq "$cx" ] && [ "$dt" -eq "$cy" ] || fail "VALUEIN at $dl,$dt, centred would be $cx,$cy"
xdotool key --delay 60 Home shift+End
xdotool type --delay 60 50
xdotool key Return
drive_ok wait-no-dialog "Input Value" $E2E_WAIT_MS
expect_file_line "$STATE_FILE" '^Expander Threshold Left=-50$' $E2E_WAIT_S
say "typing 50 in VALUEIN gave -50 dB in the unit"

# The panel shows the new value as the software canvas paints it.
render_panel dualmono "$E2E_WORK/expected.png" 9=-50
shot_until "$E2E_WORK/after_dialog.png" regions_same "$E2E_WORK/after_dialog.png" "$E2E_WORK/expected.png" "270 30 50 10"
expect_region_same "$E2E_WORK/after_dialog.png" "$E2E_WORK/expected.png" 270 30 50 10 "the threshold field"

# SELECTIN lists the labels with the current one selected; a double-click
# on "96.0 kHz " picks it.
panel_click 745 50 2
drive_ok wait-dialog "Select Value" $E2E_WAIT_MS
expect_text "Select Value" 1101 "Sample Rate"
drive_ok items "Select Value" 1114
[ "$(echo "$DRIVEN" | wc -l)" -eq 8 ] || fail "Sample Rate lists $(echo "$DRIVEN" | wc -l) labels"
[ "$(echo "$DRIVEN" | sed -n 7p)" = "96.0 kHz " ] || fail "the seventh label is '$(echo "$DRIVEN" | sed -n 7p)'"
drive_ok cursel "Select Value" 1114
[ "$DRIVEN" = "1" ] || fail "the list selects entry $DRIVEN, not 1 (44.1 kHz)"
drive_ok select "Select Value" 1114 6
drive_ok dblclick "Select Value" 1114
drive_ok wait-no-dialog "Select Value" $E2E_WAIT_MS
expect_file_line "$STATE_FILE" '^Sample Rate=6$' $E2E_WAIT_S
say "SELECTIN picked 96.0 kHz in the unit"

# VALUEOUT for a readout shows its range and changes nothing.
panel_click 295 80 2
drive_ok wait-dialog "Display Value (No Entry)" $E2E_WAIT_MS
expect_text "Display Value (No Entry)" 1101 "Expander Cur. Damping"
expect_text "Display Value (No Entry)" 1104 "-120 dB"
expect_text "Display Value (No Entry)" 1105 "0 dB"
xdotool key Escape
drive_ok wait-no-dialog "Display Value (No Entry)" $E2E_WAIT_MS
# ... and for a look-ahead indicator its two labels.
panel_click 207 80 2
drive_ok wait-dialog "Display Value (No Entry)" $E2E_WAIT_MS
expect_text "Display Value (No Entry)" 1101 "Look Ahead ALC Left"
expect_text "Display Value (No Entry)" 1104 " off"
expect_text "Display Value (No Entry)" 1105 " on "
drive_ok click "Display Value (No Entry)" 1
drive_ok wait-no-dialog "Display Value (No Entry)" $E2E_WAIT_MS
say "VALUEOUT showed the ranges"

drive_ok exit-time $E2E_WAIT_MS
say "PASS"
