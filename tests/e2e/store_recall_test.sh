#!/usr/bin/env bash
# Storing and recalling setups in the unit's memories through the Store
# Setup and Recall Setup dialogs: the name rules, the frames on the wire and
# what the unit then holds.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_init store_recall

e2e_sim 2 --function dual-mono
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS
click_caption

# open_when CAPTION COMMAND CHECK...: opens the dialog until CHECK holds in
# it (the unit's memory names arrive one per frame, and a dialog shows those
# known when it opens), closing it with Cancel in between.
open_when() {
    local caption=$1 command=$2 start
    shift 2
    start=$(now_ms)
    while :; do
        drive_ok command "$command"
        drive_ok wait-dialog "$caption" $E2E_WAIT_MS
        "$@" && break
        [ $(($(now_ms) - start)) -ge $E2E_WAIT_MS ] && break
        drive_ok click "$caption" 2
        drive_ok wait-no-dialog "$caption" $E2E_WAIT_MS
    done
    note_wait "$start" $E2E_WAIT_MS "$caption shows the unit's names"
}
name_shown() { drive get-text "Store Setup" 1098 | grep -q "$1"; }
listed() { drive items "$1" "$2" | grep -q "$3"; }

# The dialog shows the unit's names (the name edit writes capitals).
open_when "Store Setup" 40043 name_shown '^VOICE'
drive_ok items "Store Setup" 1111
[ "$(echo "$DRIVEN" | wc -l)" -eq 16 ] || fail "Dual Mono offers $(echo "$DRIVEN" | wc -l) memories, not 16"
[ "$(echo "$DRIVEN" | head -n 1)" = " 1" ] || fail "first entry is '$(echo "$DRIVEN" | head -n 1)', not ' 1'"
drive_ok cursel "Store Setup" 1111
[ "$DRIVEN" = "0" ] || fail "current memory 1 should be preselected, got position $DRIVEN"
drive_ok get-text "Store Setup" 1098
[[ "$DRIVEN" == VOICE* ]] || fail "name of memory 1 shows as '$DRIVEN'"

# Choosing memory 3 shows its name from the unit.
drive_ok select "Store Setup" 1111 2
drive wait-text "Store Setup" 1098 "GUITAR*" $E2E_WAIT_MS >/dev/null ||
    fail "name of memory 3 shows as '$(drive get-text "Store Setup" 1098)'"

# Eleven characters are refused and the dialog stays open.
drive_ok set-text "Store Setup" 1098 "ABCDEFGHIJK"
drive_ok click "Store Setup" 1
drive_ok answer "Only 10 chars allowed." 1 $E2E_WAIT_MS
drive_ok wait-dialog "Store Setup" $E2E_WAIT_MS

# The user types the name; the edit turns it into capitals.
drive_ok set-text "Store Setup" 1098 ""
drive_ok focus "Store Setup" 1098
xdotool type --delay 40 "vocal"
drive wait-text "Store Setup" 1098 "VOCAL" $E2E_WAIT_MS >/dev/null ||
    fail "typed 'vocal' shows as '$(drive get-text "Store Setup" 1098)', not 'VOCAL'"
drive_ok click "Store Setup" 1
drive_ok wait-no-dialog "Store Setup" $E2E_WAIT_MS

# Four name chunks, the store command for memory 3, the end mark.
expect_file_line "$HOST_LOG" "^$(host_frame '89 40 40 40') " $E2E_WAIT_S
expect_file_line "$HOST_LOG" "^$(host_frame '86 4c 40 40') " $E2E_WAIT_S
expect_file_line "$HOST_LOG" "^$(host_frame '83 4f 43 41') " $E2E_WAIT_S
expect_file_line "$HOST_LOG" "^$(host_frame '80 40 40 56') " $E2E_WAIT_S
expect_file_line "$HOST_LOG" "^$(host_frame '2b 03 00 00 d2')$" $E2E_WAIT_S
expect_file_line "$HOST_LOG" "^$(host_frame 'f0 00 00 00 10')$" $E2E_WAIT_S
expect_file_line "$STATE_FILE" '^Memory 3=VOCAL$' $E2E_WAIT_S
say "store reached the unit: memory 3 is VOCAL"

# Recall lists the unit's names, including the new one.
open_when "Recall Setup" 40042 listed "Recall Setup" 1113 '^ 3: VOCAL'
drive_ok items "Recall Setup" 1113
echo "$DRIVEN" | grep -q '^ 3: VOCAL' || fail "recall list lacks ' 3: VOCAL': $DRIVEN"
[ "$(echo "$DRIVEN" | wc -l)" -eq 16 ] || fail "recall offers $(echo "$DRIVEN" | wc -l) memories"

# No entry selected: refused, the dialog stays.
drive_ok select "Recall Setup" 1113 -1
drive_ok click "Recall Setup" 1
drive_ok answer "Wrong data selection!" 1 $E2E_WAIT_MS
drive_ok wait-dialog "Recall Setup" $E2E_WAIT_MS

drive_ok select "Recall Setup" 1113 4
drive_ok click "Recall Setup" 1
drive_ok wait-no-dialog "Recall Setup" $E2E_WAIT_MS
expect_file_line "$HOST_LOG" "^$(host_frame '2c 05 00 00 cf')$" $E2E_WAIT_S
expect_file_line "$STATE_FILE" '^Current Memory=5$' $E2E_WAIT_S
say "recall of memory 5 reached the unit"

# A double click recalls too.
drive_ok command 40042
drive_ok wait-dialog "Recall Setup" $E2E_WAIT_MS
drive_ok cursel "Recall Setup" 1113
[ "$DRIVEN" = "4" ] || fail "the unit's current memory 5 is not preselected (position $DRIVEN)"
drive_ok select "Recall Setup" 1113 2
drive_ok dblclick "Recall Setup" 1113
drive_ok wait-no-dialog "Recall Setup" $E2E_WAIT_MS
expect_file_line "$STATE_FILE" '^Current Memory=3$' $E2E_WAIT_S
say "double click recalled memory 3"

drive_ok exit-time $E2E_WAIT_MS
say "PASS"
