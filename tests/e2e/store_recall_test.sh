#!/usr/bin/env bash
# Storing and recalling setups in the unit's memories through the Store
# Setup and Recall Setup dialogs: the name rules, the frames on the wire and
# what the unit then holds.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_init store_recall

e2e_sim 2 --function dual-mono
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" 15000
click_caption

# The unit's memory names arrive one per frame; the dialog shows them (the
# name edit writes capitals).
sleep 1
drive_ok command 40043
drive_ok wait-dialog "Store Setup" 3000
drive_ok items "Store Setup" 1111
[ "$(echo "$DRIVEN" | wc -l)" -eq 16 ] || fail "Dual Mono offers $(echo "$DRIVEN" | wc -l) memories, not 16"
[ "$(echo "$DRIVEN" | head -n 1)" = " 1" ] || fail "first entry is '$(echo "$DRIVEN" | head -n 1)', not ' 1'"
drive_ok cursel "Store Setup" 1111
[ "$DRIVEN" = "0" ] || fail "current memory 1 should be preselected, got position $DRIVEN"
drive_ok get-text "Store Setup" 1098
[[ "$DRIVEN" == VOICE* ]] || fail "name of memory 1 shows as '$DRIVEN'"

# Choosing memory 3 shows its name from the unit.
drive_ok select "Store Setup" 1111 2
sleep 0.3
drive_ok get-text "Store Setup" 1098
[[ "$DRIVEN" == GUITAR* ]] || fail "name of memory 3 shows as '$DRIVEN'"

# Eleven characters are refused and the dialog stays open.
drive_ok set-text "Store Setup" 1098 "ABCDEFGHIJK"
drive_ok click "Store Setup" 1
drive_ok answer "Only 10 chars allowed." 1 3000
drive_ok wait-dialog "Store Setup" 1000

# The user types the name; the edit turns it into capitals.
drive_ok set-text "Store Setup" 1098 ""
drive_ok focus "Store Setup" 1098
sleep 0.3
xdotool type --delay 40 "vocal"
sleep 0.3
drive_ok get-text "Store Setup" 1098
[ "$DRIVEN" = "VOCAL" ] || fail "typed 'vocal' shows as '$DRIVEN', not 'VOCAL'"
drive_ok click "Store Setup" 1
drive_ok wait-no-dialog "Store Setup" 2000

# Four name chunks, the store command for memory 3, the end mark.
expect_file_line "$HOST_LOG" "^$(host_frame '89 40 40 40') " 5
expect_file_line "$HOST_LOG" "^$(host_frame '86 4c 40 40') " 5
expect_file_line "$HOST_LOG" "^$(host_frame '83 4f 43 41') " 5
expect_file_line "$HOST_LOG" "^$(host_frame '80 40 40 56') " 5
expect_file_line "$HOST_LOG" "^$(host_frame '2b 03 00 00 d2')$" 5
expect_file_line "$HOST_LOG" "^$(host_frame 'f0 00 00 00 10')$" 5
expect_file_line "$STATE_FILE" '^Memory 3=VOCAL$' 5
say "store reached the unit: memory 3 is VOCAL"

# Recall lists the unit's names, including the new one.
sleep 1.5
drive_ok command 40042
drive_ok wait-dialog "Recall Setup" 3000
drive_ok items "Recall Setup" 1113
echo "$DRIVEN" | grep -q '^ 3: VOCAL' || fail "recall list lacks ' 3: VOCAL': $DRIVEN"
[ "$(echo "$DRIVEN" | wc -l)" -eq 16 ] || fail "recall offers $(echo "$DRIVEN" | wc -l) memories"

# No entry selected: refused, the dialog stays.
drive_ok select "Recall Setup" 1113 -1
drive_ok click "Recall Setup" 1
drive_ok answer "Wrong data selection!" 1 3000
drive_ok wait-dialog "Recall Setup" 1000

drive_ok select "Recall Setup" 1113 4
drive_ok click "Recall Setup" 1
drive_ok wait-no-dialog "Recall Setup" 2000
expect_file_line "$HOST_LOG" "^$(host_frame '2c 05 00 00 cf')$" 5
expect_file_line "$STATE_FILE" '^Current Memory=5$' 5
say "recall of memory 5 reached the unit"

# A double click recalls too.
drive_ok command 40042
drive_ok wait-dialog "Recall Setup" 3000
drive_ok cursel "Recall Setup" 1113
[ "$DRIVEN" = "4" ] || fail "the unit's current memory 5 is not preselected (position $DRIVEN)"
drive_ok select "Recall Setup" 1113 2
drive_ok dblclick "Recall Setup" 1113
drive_ok wait-no-dialog "Recall Setup" 2000
expect_file_line "$STATE_FILE" '^Current Memory=3$' 5
say "double click recalled memory 3"

drive_ok exit-time 5000
say "PASS"
