#!/usr/bin/env bash
# The mode refresh as the user meets it: the main menu's items gray and
# enable by function and link state, a change of function with unsaved data
# asks "Previous data are still not saved." (offline, and when the unit
# boots into another function), the analyser settings window closes when
# the function leaves the Analyser, and the analyser user-settings keys load
# their files.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tests/e2e/setup_common.sh"
e2e_init setup_modes

e2e_sim 2 --function dual-mono
pull_cable  # out at the start
e2e_ini "COMPort=COM2" "SafeMode=1" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "KOV QIV-72 - No Operation" $E2E_START_MS

set_comment() {
    drive_ok command 40037
    drive_ok wait-dialog "Comment" $E2E_WAIT_MS
    drive_ok set-text "Comment" 1020 "$1"
    drive_ok click "Comment" 1
    drive_ok wait-no-dialog "Comment" $E2E_WAIT_MS
}
no_question() {
    drive message-box "still not saved" 1000 >/dev/null && fail "$1 asked about unsaved data"
    return 0
}
settings_windows() {
    drive_ok window-count ANASetClass
    echo "$DRIVEN"
}

# Offline: file items gray without a function; recall, store and boot always.
expect_menu_row grayed grayed grayed enabled grayed
say "offline, no function: menus as the table says"
drive_ok command 40045
drive_ok wait-title "Dual Mono Remote Control - OFFLINE : new.c72" $E2E_WAIT_MS
expect_menu_row enabled grayed grayed enabled grayed
drive_ok command 40050
drive_ok wait-title "Audio Analyser - OFFLINE : new.a72" $E2E_WAIT_MS
expect_menu_row enabled grayed grayed enabled enabled
say "offline Dual Mono and Analyser: menus as the table says"

# The analyser settings window goes when the function leaves the Analyser.
drive_ok command 40044
drive wait-window-count ANASetClass 1 $E2E_WAIT_MS >/dev/null || fail "F2 opened no analyser settings window"
drive_ok command 40047
drive_ok wait-title "Stereo Remote Control - OFFLINE : new.s72" $E2E_WAIT_MS
expect_menu_row enabled grayed grayed enabled grayed
[ "$(settings_windows)" = "0" ] || fail "the analyser settings window stayed open in Stereo"
say "the analyser settings window closed when Stereo was chosen"

# Unsaved Stereo data, then Dual Mono: the question; No drops the mark.
set_comment "stereo notes"
drive_ok wait-title "OFFLINE : new.s72*" $E2E_WAIT_MS
drive_ok command 40045
drive_ok answer "Previous data are still not saved." 7 $E2E_WAIT_MS
[[ "$DRIVEN" == "QIV-72 RC|"*"Previous data are still not saved."*"Save now?"* ]] || fail "question: $DRIVEN"
drive_ok wait-title "Dual Mono Remote Control - OFFLINE : new.c72" $E2E_WAIT_MS
[[ "$DRIVEN" != *"*"* ]] || fail "No left the unsaved mark: $DRIVEN"
no_question "the answered change"
say "leaving Stereo with unsaved data asked; No cleared the mark"

# Unsaved Dual Mono data, then Small Window: Yes saves the Dual Mono setup.
set_comment "dual mono notes"
drive_ok wait-title "OFFLINE : new.c72*" $E2E_WAIT_MS
drive_ok command 40049
drive_ok answer "Previous data are still not saved." 6 $E2E_WAIT_MS
file_dialog "Save As" "$E2E_WORK/previous"
[ "$(head -n 2 "$E2E_WORK/previous.c72" | tr '\n' '|')" = "QIV-72 Dual Mono Configuration|Comment=dual mono notes|" ] ||
    fail "previous.c72 starts with: $(head -n 2 "$E2E_WORK/previous.c72")"
drive_ok wait-title "KOV QIV-72 - No Operation" $E2E_WAIT_MS
expect_menu_row grayed grayed grayed enabled grayed

# From no function no question is asked, and the mark stays.
set_comment "small window notes"
drive_ok command 40045
drive_ok wait-title "Dual Mono Remote Control - OFFLINE : previous.c72*" $E2E_WAIT_MS
no_question "a change from no function"
say "Yes saved the Dual Mono setup; a change from no function never asks"

# The cable goes in: the unit's function, online menus.
plug_cable
drive_ok wait-title "Dual Mono Remote Control - ONLINE : previous.c72*" $E2E_WAIT_MS
expect_menu_row enabled enabled enabled grayed grayed
say "online Dual Mono: menus as the table says"

# The unit boots into the Analyser while Dual Mono data are unsaved: the
# next drawing pass asks.
drive_ok command 40057
drive_ok answer "Previous data are still not saved." 7 $E2E_WAIT_MS
drive_ok wait-title "Audio Analyser - ONLINE : new.a72" $E2E_WAIT_MS
expect_menu_row enabled grayed enabled grayed enabled
say "the unit's boot into the Analyser asked about the Dual Mono data; online Analyser menus"

# The user-settings keys: F5 loads fastkey5.a72 from the current directory,
# the folder last chosen in a file dialog, after the question with the
# analyser's caption.
printf 'QIV-72 Analyser Configuration\nComment=key A\nAnalyser Type Select=3\nAnalyser Release Time=2\n'\
'Level Meter Release=50\nAnalyser Rise Time=20\n' >"$E2E_WORK/fastkey5.a72"
set_comment "analyser notes"
drive_ok wait-title "ONLINE : new.a72*" $E2E_WAIT_MS
drive_ok command 40052
drive_ok answer "Current data are still not saved." 7 $E2E_WAIT_MS
[[ "$DRIVEN" == "QIV-72 Audio Analyser|"* ]] || fail "question caption: $DRIVEN"
drive_ok wait-title "Audio Analyser - ONLINE : fastkey5.a72" $E2E_WAIT_MS
expect_unit_equals "$E2E_WORK/fastkey5.a72" 4 $E2E_WAIT_S
drive_ok command 40056
drive_ok answer "not found." 1 $E2E_WAIT_MS
[[ "$DRIVEN" == *"|File fastkey7.a72 not found." ]] || fail "F7 without its file: $DRIVEN"
say "F5 loaded fastkey5.a72 into the unit; F7 without its file says so"

# With the settings window open, the unit boots into Stereo: it closes.
drive_ok command 40044
drive wait-window-count ANASetClass 1 $E2E_WAIT_MS >/dev/null || fail "F2 opened no analyser settings window online"
drive_ok command 40055
drive_ok wait-title "Stereo Remote Control - ONLINE : new.s72" $E2E_WAIT_MS
no_question "a boot with saved data"
expect_menu_row enabled enabled enabled grayed grayed
[ "$(settings_windows)" = "0" ] || fail "the analyser settings window stayed open after the boot into Stereo"
say "online Stereo: menus as the table says; the settings window closed"

drive_ok exit-time $E2E_WAIT_MS
say "PASS"
