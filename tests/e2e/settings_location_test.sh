#!/usr/bin/env bash
# Where the settings live: the user's application data folder
# (%APPDATA%\QIV-72\QEN72.INI), also when the Windows directory cannot take
# the file; an older installation's file in the Windows directory is taken
# over once and then left alone; a settings file that cannot be read is
# reported and kept; one that cannot be written is reported at exit and the
# program still ends.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_init settings_location

OLD_INI=$WINDOWS_DIR/QEN72.INI
# The settings file as the program names it: C:\users\...\QIV-72\QEN72.INI.
WIN_INI_PATH=${INI#"$WINEPREFIX/drive_c"}
WIN_INI_PATH="C:${WIN_INI_PATH//\//\\}"

# main_corner: the main window's left and top, and its size.
main_corner() {
    drive_ok window-rect
    local left top right bottom
    read -r left top right bottom <<<"$DRIVEN"
    CORNER="$left,$top"
    WIDTH=$((right - left)) HEIGHT=$((bottom - top))
}

# ini_value KEY: the value of KEY in the application data file.
ini_value() { grep -a "^$1=" "$INI" | tr -d '\r' | cut -d= -f2-; }

e2e_sim 3 --function dual-mono

# The Windows directory cannot hold the file (a directory stands in its
# way): the first start asks both questions and the settings still survive.
mkdir -p "$OLD_INI"
e2e_start
drive_ok wait-dialog "Help Language Select" $E2E_START_MS
drive_ok select "Help Language Select" 1109 1
drive_ok click "Help Language Select" 1
drive_ok wait-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok select "COM-Port Select" 1006 2
drive_ok click "COM-Port Select" 1
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS
drive_ok move-window 150 120
main_corner
[ "$CORNER" = "150,120" ] || fail "the window did not move: it is at $CORNER"
drive_ok exit-time $E2E_WAIT_MS
[ -f "$INI" ] || fail "no $INI after Exit"
# The 37 lines and the added PanelSize= line.
[ "$(wc -l <"$INI")" -eq 38 ] || fail "the settings file has $(wc -l <"$INI") lines, not 37 and PanelSize="
[ "$(grep -c $'\r$' "$INI")" -eq 38 ] || fail "not every line ends with CR LF"
[ "$(ini_value COMPort)" = "COM3" ] || fail "COMPort=$(ini_value COMPort)"
[ "$(ini_value HelpLanguage)" = "1" ] || fail "HelpLanguage=$(ini_value HelpLanguage)"
[[ "$(ini_value WinPos)" =~ ^150,[0-9]+,120,[0-9]+$ ]] || fail "WinPos=$(ini_value WinPos)"
[ "$(ls -A "$(dirname "$INI")")" = "QEN72.INI" ] || fail "left beside it: $(ls -A "$(dirname "$INI")")"
[ -d "$OLD_INI" ] && [ -z "$(ls -A "$OLD_INI")" ] || fail "the Windows directory's QEN72.INI was touched"
say "first run: both questions, then Exit wrote the 37 lines to the application data file"

e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS
drive wait-dialog "Help Language Select" 300 >/dev/null && fail "the first-run questions came again"
main_corner
[ "$CORNER" = "150,120" ] || fail "the second start put the window at $CORNER, not 150,120"
drive_ok exit-time $E2E_WAIT_MS
say "second start: no questions, online on COM3, the window at 150,120"

# An older installation's file in the Windows directory alone is taken
# over on the first start, and never read again once the application data
# file exists.
rm -rf "$OLD_INI" "$(dirname "$INI")"
# (The panel gives the window its size: the file holds that size.)
printf '[Settings]\r\nCOMPort=COM3\r\nSafeMode=0\r\nHelpLanguage=1\r\nWinPos=60,%d,80,%d\r\n' \
    $((60 + WIDTH)) $((80 + HEIGHT)) >"$OLD_INI"
cp "$OLD_INI" "$E2E_WORK/old.ini"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS
drive wait-dialog "Help Language Select" 300 >/dev/null && fail "the first-run questions came with an older file there"
main_corner
[ "$CORNER" = "60,80" ] || fail "the older file's window position was not taken: $CORNER"
drive_ok exit-time $E2E_WAIT_MS
[ "$(ini_value COMPort)" = "COM3" ] && [ "$(ini_value SafeMode)" = "0" ] || fail "not taken over: $(head -5 "$INI")"
cmp -s "$OLD_INI" "$E2E_WORK/old.ini" || fail "the Windows directory's file was written"
say "the Windows directory's file was taken over"

printf '[Settings]\r\nCOMPort=COM1\r\n' >"$OLD_INI"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS
drive_ok exit-time $E2E_WAIT_MS
[ "$(ini_value COMPort)" = "COM3" ] || fail "the Windows directory's file was read again"
say "once the application data file exists, the older file is left alone"

# A settings file that exists but cannot be read (another program holds
# it): said once, the defaults (COM2, where a Stereo unit is) without the
# questions, and the file is left as it is at Exit.
e2e_sim 2 --function stereo
cp "$INI" "$E2E_WORK/kept.ini"
"$WINE" "$DRIVE_EXE" hold-file "$WIN_INI_PATH" "Z:${E2E_WORK//\//\\}\\release" >"$E2E_WORK/hold.out" 2>&1 8>&- &
HOLD_PID=$!
E2E_PIDS+=("$HOLD_PID")
wait_file_line "$E2E_WORK/hold.out" '^held' $E2E_WAIT_S || fail "could not hold the settings file: $(cat "$E2E_WORK/hold.out")"
e2e_start
drive_ok answer "Settings could not be read" 1 $E2E_START_MS
[ "$DRIVEN" = "QIV-72 RC|Settings could not be read from $WIN_INI_PATH."$'\n'"The program starts with its \
default settings and leaves that file as it is." ] || fail "message reads: $DRIVEN"
drive_ok wait-title "Stereo Remote Control - ONLINE" $E2E_WAIT_MS
drive wait-dialog "Help Language Select" 300 >/dev/null && fail "an unreadable file gave the first-run questions"
touch "$E2E_WORK/release"
wait "$HOLD_PID"
drive_ok exit-time $E2E_WAIT_MS
cmp -s "$INI" "$E2E_WORK/kept.ini" || fail "the unreadable settings file was written at Exit"
say "a file another program holds: said once, the defaults, and the file kept as it was"

# The settings cannot be written (a file stands where the folder belongs):
# the message at exit, without an owner, and the program ends with 0.
rm -rf "$(dirname "$INI")"
: >"$(dirname "$INI")"
printf '[Settings]\r\nCOMPort=COM3\r\nHelpLanguage=1\r\n' >"$OLD_INI"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS
drive_ok command 40001
drive_ok answer "Settings could not be saved" 1 $E2E_WAIT_MS
[ "$DRIVEN" = "QIV-72 RC|Settings could not be saved to $WIN_INI_PATH." ] || fail "message reads: $DRIVEN"
start=$(now_ms)
while kill -0 "$PROGRAM_PID" 2>/dev/null && [ $(($(now_ms) - start)) -lt $E2E_WAIT_MS ]; do sleep 0.05; done
kill -0 "$PROGRAM_PID" 2>/dev/null && fail "the program still runs after the message"
wait "$PROGRAM_PID"
rc=$?
[ "$rc" -eq 0 ] || fail "the program ended with code $rc"
[ -f "$(dirname "$INI")" ] && [ ! -s "$(dirname "$INI")" ] || fail "the file in the folder's place was changed"
rm -f "$(dirname "$INI")"
say "a file that cannot be written: the message at exit, then the program ended with 0"
say "PASS"
