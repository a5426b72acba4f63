#!/usr/bin/env bash
# The help window under Wine: F1 shows the contents in English and, after the
# language is switched, in German; the Help buttons of VALUEIN and SAVEBOX
# show their topics while the dialog stays open and keeps its typing; Esc
# closes the window; Space typed into the help window does not reach the
# analyser. The topic is read from what the window shows (its title), and a
# window message sent every 200 ms must be answered within a second.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
source "$QIV_ROOT/tools/e2e/analyser_lib.sh"
source "$QIV_ROOT/tests/e2e/setup_common.sh"
e2e_init help

HELP=QIVHelpClass
e2e_sim 2 --function dual-mono --boot-pause 500
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS
click_caption

ping_watch_start 150000

help_shows() { drive_ok wait-class-title "$HELP" "$1" $E2E_WAIT_MS; }
help_count() { drive_ok window-count "$HELP"; [ "$DRIVEN" = "$1" ] || fail "$DRIVEN help windows shown, not $1"; }

# F1 on the main window: the contents, in English. Esc closes it.
xdotool key F1
help_shows "QIV-72 Help - Contents"
import -window root "$E2E_WORK/help_en.png"
help_count 1
xdotool key Escape
drive wait-window-count "$HELP" 0 $E2E_WAIT_MS >/dev/null
help_count 0
say "F1 showed the English contents; Esc closed the help"

# Help Language Select: Deutsch. Contents now shows the German book; the
# window opens where it was.
set_language() {
    drive_ok command 40040
    drive_ok wait-dialog "Help Language Select" $E2E_WAIT_MS
    drive_ok select "Help Language Select" 1109 "$1"
    drive_ok click "Help Language Select" 1
    drive_ok wait-no-dialog "Help Language Select" $E2E_WAIT_MS
}
set_language 0
drive_ok command 40022
help_shows "QIV-72 Hilfe - Inhalt"
import -window root "$E2E_WORK/help_de.png"
say "after switching the language, the contents are German"
drive_ok command 40041
help_shows "QIV-72 Hilfe - Bedienung des Panels"
set_language 1

# VALUEIN for "Expander Threshold Left": Help shows the expander topic, the
# dialog stays open, active, and takes a typed value.
panel_click 295 35 2
drive_ok wait-dialog "Input Value" $E2E_WAIT_MS
drive_ok click "Input Value" 1090
help_shows "QIV-72 Help - Expander"
help_count 1
drive_ok wait-dialog "Input Value" $E2E_WAIT_MS
drive_ok focus-info
[[ "$DRIVEN" == "active=Input Value/"* ]] || fail "the help took the activation from VALUEIN: $DRIVEN"
import -window root "$E2E_WORK/help_valuein.png"
xdotool key --delay 60 Home shift+End
xdotool type --delay 60 45
xdotool key Return
drive_ok wait-no-dialog "Input Value" $E2E_WAIT_MS
expect_file_line "$STATE_FILE" '^Expander Threshold Left=-45$' $E2E_WAIT_S
say "VALUEIN's Help showed the expander topic; the dialog then took 45 (-45 dB in the unit)"

# SAVEBOX's Help: the store topic, in the same window.
drive_ok command 40043
drive_ok wait-dialog "Store Setup" $E2E_WAIT_MS
drive_ok click "Store Setup" 1090
help_shows "QIV-72 Help - Storing a setup"
help_count 1
drive_ok wait-dialog "Store Setup" $E2E_WAIT_MS
drive_ok click "Store Setup" 2
drive_ok wait-no-dialog "Store Setup" $E2E_WAIT_MS
say "SAVEBOX's Help showed the store topic"

# In the Analyser, Space typed into the help window scrolls the help and
# leaves the analyser running; Space on the main window freezes it.
drive_ok command 40057
drive_ok wait-title "Audio Analyser - ONLINE" $E2E_WAIT_MS
expect_file_line "$STATE_FILE" '^Analyser Input Select=0$' $E2E_WAIT_S
sleep 1
# Frames the program sent beyond its idle answer (51 45 4e f0 ...).
changes() { grep -v -c ' f0 00 00 00 10$' "$HOST_LOG"; }
BEFORE=$(changes)
drive_ok class-rects "$HELP" $E2E_WAIT_MS
read -r hx hy hw hh _ <<<"$DRIVEN"
xdotool mousemove $((hx + hw * 3 / 4)) $((hy + hh / 2)) click 1
help_active() { drive_ok focus-info; [[ "$DRIVEN" == "active=QIV-72 Help"* ]]; }
wait_until $E2E_WAIT_MS "the help window active" help_active ||
    fail "the click did not activate the help window: $DRIVEN"
for k in space d l r m ctrl+z; do xdotool key "$k"; sleep 0.1; done
sleep 0.5
import -window root "$E2E_WORK/help_analyser.png"
# The freeze and the meter display never reach the unit: the bands must
# still move on the screen (their lower half, which every level reaches).
bands_start_moving helpkeys 27 70 90 60
[ "$MOVED" != "0" ] || fail "Space in the help window froze the bands"
[ "$(changes)" = "$BEFORE" ] || fail "keys in the help window reached the unit: $(tail -n 3 "$HOST_LOG")"
grep -q '^Analyser Input Select=0$' "$STATE_FILE" || fail "keys in the help window changed the analyser input"
xdotool key Escape
drive wait-window-count "$HELP" 0 $E2E_WAIT_MS >/dev/null
help_count 0
# The same keys on the main window do act: Space freezes, R picks the right input.
click_caption
xdotool key space
drive_ok ping $E2E_WAIT_MS  # the key is handled (see click_caption)
bands_moved mainkeys 1 27 70 90 60
[ "$MOVED" = "0" ] || fail "Space on the main window did not freeze the bands"
xdotool key space r
expect_file_line "$STATE_FILE" '^Analyser Input Select=1$' $E2E_WAIT_S

# F1 in the analyser settings window shows the help's contents.
xdotool key F2
drive_ok class-rects ANASetClass $E2E_WAIT_MS
read -r _ _ _ _ sl st sr sb <<<"$DRIVEN"
xdotool mousemove $((sr - 60)) $((st + 6)) click 1
sleep 0.5
xdotool key F1
help_shows "QIV-72 Help - Contents"
say "F1 in the analyser settings window showed the contents"
say "Space, D, L, R and M in the help window left the analyser alone; Space on the main window froze it"

drive_ok exit-time $E2E_WAIT_MS
ping_watch_end
[ "$CHECKS" -ge 20 ] || fail "only $CHECKS checks"
say "PASS"
