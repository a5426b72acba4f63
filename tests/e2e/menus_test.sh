#!/usr/bin/env bash
# Menus and dialogs with a real mouse and keyboard: the right-button menu,
# hiding and showing the main menu, offline function choice, the about box
# centred over the window, the comment dialog and the unsaved-data question
# at Exit.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_init menus

# No unit: the program runs offline without a function.
e2e_ini "COMPort=COM2" "SafeMode=1" "HelpLanguage=1" "WinPos=100,900,100,380"
e2e_start
drive_ok answer "Selected COM-Port is not available." 1 $E2E_START_MS
drive_ok wait-title "KOV QIV-72 - No Operation" $E2E_WAIT_MS
drive_ok client-size
[ "$DRIVEN" = "300x20" ] || fail "the empty panel is $DRIVEN, not 300x20"

# Right click: the menu for no function; M hides the main menu.
click_caption
drive_ok has-menu
[ "$DRIVEN" = "menu" ] || fail "no main menu at start"
right_click_client
drive_ok popup $E2E_WAIT_MS
xdotool key m
drive_ok no-popup $E2E_WAIT_MS
drive_ok has-menu
[ "$DRIVEN" = "no menu" ] || fail "Hide Main Menu left the menu: $DRIVEN"
say "right-button menu hid the main menu"

# With the menu hidden the right-button menu offers Show first.
right_click_client
drive_ok popup $E2E_WAIT_MS
xdotool key s
drive_ok no-popup $E2E_WAIT_MS
drive_ok has-menu
[ "$DRIVEN" = "menu" ] || fail "Show Main Menu did not bring the menu back"
# The system menu's Toggle Main Menu does the same.
drive_ok syscommand 40036
drive wait-no-menu $E2E_WAIT_MS >/dev/null || fail "the system menu item did not hide the menu"
drive_ok syscommand 40036
drive wait-menu $E2E_WAIT_MS >/dev/null || fail "the system menu item did not show the menu"

# Offline Mode from the right-button menu: O, then M for Dual Mono.
right_click_client
drive_ok popup $E2E_WAIT_MS
xdotool key o m
drive_ok wait-title "KOV QIV-72 Dual Mono Remote Control - OFFLINE : new.c72" $E2E_WAIT_MS
drive_ok client-size
[ "$DRIVEN" = "799x252" ] || fail "the Dual Mono panel is $DRIVEN"
say "Offline Mode Dual Mono shows the Dual Mono panel"

# With "Deactivate Screensaver" on, the screen saver request is refused.
drive_ok send-syscommand 61760  # SC_SCREENSAVE
[ "$DRIVEN" != "1" ] || fail "the screen saver was refused while the option is off"
drive_ok command 40018
drive_ok send-syscommand 61760
[ "$DRIVEN" = "1" ] || fail "the screen saver was not refused with the option on (answer $DRIVEN)"
drive_ok command 40018
drive_ok send-syscommand 61760
[ "$DRIVEN" != "1" ] || fail "the screen saver stays refused after the option went off"
say "the screen saver request follows Deactivate Screensaver"

# The about box, centred over the main window.
drive_ok command 40007
drive_ok wait-dialog "About QIV-72 Remote Control Tool" $E2E_WAIT_MS
drive_ok texts "About QIV-72 Remote Control Tool"
[[ "$DRIVEN" == *"KOV QIV-72 Universal Remote Control Tool|Version 1.31|Requieres DSP-Software Bootloader V. 1.1,"* ]] ||
    fail "about box texts: $DRIVEN"
[[ "$DRIVEN" == *"|Release $(cat "$QIV_ROOT/VERSION")"* ]] || fail "the about box does not show the release of VERSION: $DRIVEN"
drive_ok dialog-rect "About QIV-72 Remote Control Tool"
read -r dl dt dr db ml mt mr mb <<<"$DRIVEN"
cx=$((ml + (mr - ml - (dr - dl)) / 2))
cy=$((mt + (mb - mt - (db - dt)) / 2))
[ "$dl" -eq "$cx" ] && [ "$dt" -eq "$cy" ] || fail "about box at $dl,$dt, centred would be $cx,$cy"
xdotool key Escape
drive_ok wait-no-dialog "About QIV-72 Remote Control Tool" $E2E_WAIT_MS

# A comment marks the setup as changed.
drive_ok command 40037
drive_ok wait-dialog "Comment" $E2E_WAIT_MS
drive_ok set-text "Comment" 1020 "Hall B, rehearsal"
drive_ok click "Comment" 1
drive_ok wait-no-dialog "Comment" $E2E_WAIT_MS
drive_ok wait-title "OFFLINE : new.c72*" $E2E_WAIT_MS
say "the comment marked the setup as changed"

# Exit asks; Cancel keeps the program, No ends it.
drive_ok command 40001
drive_ok answer "Current data are still not saved." 2 $E2E_WAIT_MS
[[ "$DRIVEN" == "QIV-72 RC|"* ]] || fail "question caption: $DRIVEN"
drive_ok ping $E2E_WAIT_MS  # the answer is handled
drive_ok count
[ "$DRIVEN" = "1" ] || fail "Cancel did not keep the program running"
drive_ok exit-time $E2E_WAIT_MS
[ "$DRIVEN" -le 1000 ] || fail "Exit took $DRIVEN ms"
say "PASS"
