#!/usr/bin/env bash
# Setup files with the unit online: a Dual Mono setup saved through the save
# dialog holds what the unit holds, and after the unit was changed, opening
# the file brings the unit back to it. Also the "new" name rule, the
# extension rule, the unsaved-data questions before Open and at Exit, a
# hand-edited file, a missing file and a file that cannot be written.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tests/e2e/setup_common.sh"
e2e_init setup_files

e2e_sim 2 --function dual-mono
e2e_ini "COMPort=COM2" "SafeMode=1" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_START_MS

# A comment marks the setup as changed.
set_comment() {
    drive_ok command 40037
    drive_ok wait-dialog "Comment" $E2E_WAIT_MS
    drive_ok set-text "Comment" 1020 "$1"
    drive_ok click "Comment" 1
    drive_ok wait-no-dialog "Comment" $E2E_WAIT_MS
}
set_comment "Live mix"
drive_ok wait-title "ONLINE : new.c72*" $E2E_WAIT_MS

# "Save" of a "new" file asks for a name; "live" gets the Dual Mono extension.
LIVE=$E2E_WORK/live.c72
drive_ok command 40013
file_dialog "Save As" "$E2E_WORK/live"
[ -f "$LIVE" ] || fail "live.c72 not written: $(ls "$E2E_WORK" | tr '\n' ' ')"
drive_ok wait-title "ONLINE : live.c72" $E2E_WAIT_MS
[[ "$DRIVEN" != *"*"* ]] || fail "after the save the title still marks unsaved data: $DRIVEN"
[ "$(wc -l <"$LIVE")" -eq 51 ] || fail "live.c72 has $(wc -l <"$LIVE") lines, not 51"
[ "$(head -n 2 "$LIVE" | tr '\n' '|')" = "QIV-72 Dual Mono Configuration|Comment=Live mix|" ] ||
    fail "first lines: $(head -n 2 "$LIVE")"
! grep -q $'\r' "$LIVE" || fail "live.c72 has carriage returns"
ls "$E2E_WORK" | grep -qi '\.tmp$' && fail "a temporary file was left: $(ls "$E2E_WORK")"
expect_unit_equals "$LIVE" 48 $E2E_WAIT_S
say "the save dialog wrote the unit's 48 settings to live.c72"

# Now that it has a name, "Save" writes without a dialog.
rm -f "$LIVE"
drive_ok command 40013
wait_until $E2E_WAIT_MS "live.c72 saved" test -f "$LIVE" || fail "Save of live.c72 did not write it without a dialog"

# A hand-edited file of another function changes the unit: values limited
# to their range, names Dual Mono shares taken, the rest ignored.
HAND=$E2E_WORK/hand.s72
printf 'QIV-72 Stereo Configuration\r\nComment=by hand\r\nLow Cut Frequency Left=1000\r\nLow Cut Frequency Right=-3\r\n'\
'Input Select Left=2\r\nExpander Relaese=9\r\nnonsense\r\nDelay Time Left=12.5\nDither=2\nALC Link L/R=1\n' >"$HAND"
drive_ok command 40012
file_dialog "Open" "$HAND"
drive_ok wait-title "ONLINE : hand.s72" $E2E_WAIT_MS
for line in 'Low Cut Frequency Left=250' 'Low Cut Frequency Right=2' 'Input Select Left=2' 'Delay Time Left=12.5' \
    'Dither=2' 'ALC Link L/R=1'; do
    expect_file_line "$STATE_FILE" "^$line\$" $E2E_WAIT_S
done
drive_ok wait-title-not "Transmitting" $E2E_WAIT_MS
[ "$(unit_differences "$LIVE" | tail -n 1)" = "compared 48" ] || fail "no values compared"
[ "$(unit_differences "$LIVE" | wc -l)" -eq 7 ] || fail "the unit differs from live.c72 in: $(unit_differences "$LIVE")"
say "a hand-edited Stereo file set the names Dual Mono shares, limited"

# Open asks about unsaved data first: Cancel changes nothing...
set_comment "changed again"
drive_ok wait-title "ONLINE : hand.s72*" $E2E_WAIT_MS
drive_ok command 40012
drive_ok answer "Current data are still not saved." 2 $E2E_WAIT_MS
[[ "$DRIVEN" == "QIV-72 RC|"* ]] || fail "question caption: $DRIVEN"
drive wait-dialog "Open" 800 >/dev/null && fail "Cancel at the question still opened the file dialog"
# ... No goes on, and the unit gets the saved file back.
drive_ok command 40012
drive_ok answer "Current data are still not saved." 7 $E2E_WAIT_MS
file_dialog "Open" "$LIVE"
drive_ok wait-title "ONLINE : live.c72" $E2E_WAIT_MS
expect_unit_equals "$LIVE" 48 $E2E_WAIT_S
drive_ok wait-title-not "Transmitting" $E2E_WAIT_MS
[[ "$DRIVEN" != *"*"* ]] || fail "after the load the title marks unsaved data: $DRIVEN"
say "opening live.c72 brought the unit back to it"

# A name with its own extension keeps it.
drive_ok command 40016
file_dialog "Save As" "$E2E_WORK/mix.txt"
[ -f "$E2E_WORK/mix.txt" ] && [ ! -e "$E2E_WORK/mix.txt.c72" ] || fail "mix.txt: $(ls "$E2E_WORK" | tr '\n' ' ')"
drive_ok wait-title "ONLINE : mix.txt" $E2E_WAIT_MS
grep -qx 'Comment=Live mix' "$E2E_WORK/mix.txt" || fail "the comment of live.c72 was not kept"

# A missing file: the message names it, nothing changes.
drive_ok command 40012
drive_ok wait-dialog "Open" $E2E_WAIT_MS
drive_ok set-text "Open" 1148 "$(win_path "$E2E_WORK/missing.c72")"
drive_ok click "Open" 1
drive_ok answer "not found." 1 $E2E_WAIT_MS
[[ "$DRIVEN" == *"|File $(win_path "$E2E_WORK/missing.c72") not found." ]] || fail "message: $DRIVEN"
drive_ok wait-title "ONLINE : mix.txt" $E2E_WAIT_MS

# A file that cannot be written: the user is told, and the setup stays
# marked as unsaved.
mkdir "$E2E_WORK/sub"
drive_ok command 40016
file_dialog "Save As" "$E2E_WORK/sub/keep"
[ -f "$E2E_WORK/sub/keep.c72" ] || fail "sub/keep.c72 not written"
set_comment "kept in memory"
drive_ok wait-title "ONLINE : keep.c72*" $E2E_WAIT_MS
rm -rf "$E2E_WORK/sub"
drive_ok command 40013
drive_ok answer "cannot be written." 1 $E2E_WAIT_MS
[[ "$DRIVEN" == *"keep.c72 cannot be written."* ]] || fail "message: $DRIVEN"
drive_ok ping $E2E_WAIT_MS  # the failed save is over
drive_ok title
[[ "$DRIVEN" == *"ONLINE : keep.c72*" ]] || fail "after the failed save the title is $DRIVEN"
say "a save that cannot be written is reported and stays unsaved"

# Exit asks; Yes and a cancelled save dialog keep the program running,
# Yes and a save end it with the file written.
drive_ok command 40001
drive_ok answer "Current data are still not saved." 6 $E2E_WAIT_MS
drive_ok wait-dialog "Save As" $E2E_WAIT_MS
drive_ok click "Save As" 2
drive_ok wait-no-dialog "Save As" $E2E_WAIT_MS
drive_ok ping $E2E_WAIT_MS  # the cancelled Exit is over
drive_ok count
[ "$DRIVEN" = "1" ] || fail "a cancelled save at Exit ended the program"
drive_ok command 40001
drive_ok answer "Current data are still not saved." 6 $E2E_WAIT_MS
file_dialog "Save As" "$E2E_WORK/atexit"
drive_ok wait-exit $E2E_WAIT_MS
grep -qx 'Comment=kept in memory' "$E2E_WORK/atexit.c72" || fail "atexit.c72 lacks the comment"
say "PASS"
