#!/usr/bin/env bash
# Undo, redo and A/B compare with real keys on the Dual Mono panel: each
# step reaches the unit (its state file), the Edit items gray and ungray
# after every step, and the title shows the side compared.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
e2e_init undo_compare

UNDO=40070 REDO=40071 COMPARE=40072 COPY_A_TO_B=40073 COPY_B_TO_A=40074

# expect_edit_menu "STATES": the five Edit items show these states within
# the wait's ceiling (they follow each step, not only an opened menu).
expect_edit_menu() {
    local start
    start=$(now_ms)
    while :; do
        drive_ok menu-state $UNDO $REDO $COMPARE $COPY_A_TO_B $COPY_B_TO_A
        [ "$DRIVEN" = "$1" ] && { note_wait "$start" "$E2E_WAIT_MS" "Edit items $1"; return 0; }
        [ $(($(now_ms) - start)) -ge $E2E_WAIT_MS ] && fail "the Edit items show '$DRIVEN', not '$1'"
        sleep 0.1
    done
}

# expect_unit NAME=VALUE...: the unit's state file shows every value.
expect_unit() {
    local pair
    for pair in "$@"; do expect_file_line "$STATE_FILE" "^${pair//./\\.}\$" $E2E_WAIT_S; done
}

e2e_sim 2 --function dual-mono
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_START_MS
expect_unit "Expander Threshold Left=-50"
expect_edit_menu "grayed grayed enabled grayed grayed"

# A drag of 20 pixels up is one step, however many values it passed.
panel_drag 295 35 -20
expect_unit "Expander Threshold Left=-40"
expect_edit_menu "enabled grayed enabled grayed grayed"
xdotool key ctrl+z
expect_unit "Expander Threshold Left=-50"
expect_edit_menu "grayed enabled enabled grayed grayed"
drive_ok wait-title "new.c72*" $E2E_WAIT_MS
xdotool key ctrl+y
expect_unit "Expander Threshold Left=-40"
xdotool key ctrl+z
expect_unit "Expander Threshold Left=-50"
xdotool key ctrl+shift+z
expect_unit "Expander Threshold Left=-40"
expect_edit_menu "enabled grayed enabled grayed grayed"
say "Ctrl+Z and Ctrl+Y (and Ctrl+Shift+Z) moved the unit's threshold between -50 and -40"
drive_ok title
case "$DRIVEN" in *"["*) fail "A/B shows before it is used: $DRIVEN" ;; esac

# F9: B is a copy of A; ten edits on B, each two steps up.
xdotool key F9
drive_ok wait-title "new.c72* [B]" $E2E_WAIT_MS
expect_edit_menu "enabled grayed enabled enabled enabled"
for point in "295 35" "115 50" "115 115" "295 100" "295 50" "295 65" "515 50" "190 50" "420 65" "615 35"; do
    # shellcheck disable=SC2086
    panel_drag $point -4
done
B_SIDE=("Expander Threshold Left=-38" "Low Cut Frequency Left=52" "Low Cut Frequency Right=52"
    "Expander Threshold Right=-48" "Expander Ratio Left=2.2" "Expander Release Left=5.2" "NLC Gain Left=3"
    "Delay Time Left=0.2" "De-esser Ratio Left=-18" "ALC Maximum Gain Left=12")
A_SIDE=("Expander Threshold Left=-40" "Low Cut Frequency Left=50" "Low Cut Frequency Right=50"
    "Expander Threshold Right=-50" "Expander Ratio Left=2" "Expander Release Left=5" "NLC Gain Left=1"
    "Delay Time Left=0" "De-esser Ratio Left=-20" "ALC Maximum Gain Left=10")
expect_unit "${B_SIDE[@]}"
say "ten edits on B reached the unit"

xdotool key F9
drive_ok wait-title "new.c72* [A]" $E2E_WAIT_MS
expect_unit "${A_SIDE[@]}"
xdotool key F9
drive_ok wait-title "new.c72* [B]" $E2E_WAIT_MS
expect_unit "${B_SIDE[@]}"
say "F9 and F9 again moved the unit between the two setups"

# A switch is one step: undone, the unit has A again.
xdotool key ctrl+z
drive_ok wait-title "new.c72* [A]" $E2E_WAIT_MS
expect_unit "${A_SIDE[@]}"
expect_edit_menu "enabled enabled enabled enabled enabled"
say "undoing the switch brought A back"

drive_ok exit-time $E2E_WAIT_MS
say "PASS"
