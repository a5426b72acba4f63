#!/usr/bin/env bash
# The first run asks for the help language and the COM port; a second start
# brings the running window forward and ends without touching anything; the
# settings file after Exit has its 37 lines (and PanelSize=); the next start
# asks nothing.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_init instance_settings

e2e_sim 2 --function dual-mono
rm -f "$INI"

# First run: help language first, then the port, before the window shows.
e2e_start
drive_ok wait-dialog "Help Language Select" $E2E_START_MS
drive wait-dialog "COM-Port Select" 300 >/dev/null && fail "the port dialog opened before the help language dialog"
drive_ok items "Help Language Select" 1109
[ "$(echo $DRIVEN)" = "Deutsch English" ] || fail "languages offered: $DRIVEN"
drive_ok cursel "Help Language Select" 1109
[ "$DRIVEN" = "0" ] || fail "Deutsch is not preselected (position $DRIVEN)"
drive_ok select "Help Language Select" 1109 1
drive_ok click "Help Language Select" 1
drive_ok wait-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok cursel "COM-Port Select" 1006
[ "$DRIVEN" = "1" ] || fail "COM2 is not preselected on the first run (position $DRIVEN)"
drive_ok click "COM-Port Select" 1
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS
[ -e "$INI" ] && fail "the settings file was written before Exit"
say "first run asked for the language, then the port"

# A second start: the running window comes forward, nothing else happens.
drive_ok syscommand 61472  # SC_MINIMIZE
drive_ok iconic $E2E_WAIT_MS
start=$(now_ms)
"$WINE" "$PROGRAM_EXE" >"$E2E_WORK/second.out" 2>&1 8>&-
second_rc=$?
say "the second start ended after $(($(now_ms) - start)) ms with code $second_rc"
[ "$second_rc" -eq 0 ] || fail "the second start ended with code $second_rc"
drive_ok not-iconic $E2E_WAIT_MS
drive_ok foreground $E2E_WAIT_MS
drive_ok count
[ "$DRIVEN" = "1" ] || fail "$DRIVEN main windows after a second start"
[ -e "$INI" ] && fail "the second start wrote the settings file"
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS

# Options change in memory and reach the file at Exit.
drive_ok command 40008  # Always On Top
drive_ok command 40018  # Deactivate Screensaver
drive_ok exit-time $E2E_WAIT_MS
[ "$DRIVEN" -le 1000 ] || fail "Exit took $DRIVEN ms"
[ -f "$INI" ] || fail "no settings file after Exit"
# The 37 lines, then the added PanelSize= line that older copies ignore.
lines=$(wc -l <"$INI")
[ "$lines" -eq 38 ] || fail "the settings file has $lines lines, not 37 and PanelSize="
[ "$(grep -c $'\r$' "$INI")" -eq 38 ] || fail "not every line ends with CR LF"
[ "$(sed -n '38p' "$INI" | tr -d '\r')" = "PanelSize=0" ] || fail "line 38: $(sed -n 38p "$INI")"
expected=("[Settings]" "AlwaysTop=1" "COMPort=COM2" "SafeMode=1" "ScrSave_deactive=1" "HelpLanguage=1")
for i in "${!expected[@]}"; do
    got=$(sed -n "$((i + 1))p" "$INI" | tr -d '\r')
    [ "$got" = "${expected[$i]}" ] || fail "line $((i + 1)) is '$got', not '${expected[$i]}'"
done
sed -n '7p' "$INI" | tr -d '\r' | grep -E -q '^WinPos=-?[0-9]+,-?[0-9]+,-?[0-9]+,-?[0-9]+$' || fail "line 7: $(sed -n 7p "$INI")"
[ "$(sed -n '8p' "$INI" | tr -d '\r')" = "Printfont=300,200" ] || fail "line 8: $(sed -n 8p "$INI")"
[ "$(sed -n '9p' "$INI" | tr -d '\r')" = "Printpage=" ] || fail "line 9: $(sed -n 9p "$INI")"
[ "$(sed -n '10p' "$INI" | tr -d '\r')" = "Input Select Left=0.000000" ] || fail "line 10: $(sed -n 10p "$INI")"
bad=$(sed -n '10,37p' "$INI" | tr -d '\r' | grep -E -v '^[A-Za-z][A-Za-z /+.-]*=-?[0-9]+\.[0-9]{6}$')
[ -z "$bad" ] || fail "parameter lines not as written: $bad"
say "settings file: 37 lines as specified"

# The next start reads it: no dialogs, the options in force.
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS
drive wait-dialog "Help Language Select" 500 >/dev/null && fail "the first-run dialogs opened although the file exists"
drive_ok exit-time $E2E_WAIT_MS
grep -q '^AlwaysTop=1' "$INI" || fail "Always On Top was not read back"
say "PASS"
