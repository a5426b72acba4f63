#!/usr/bin/env bash
# A USB serial adapter numbered COM12: missing at start (one message, then
# the program connects by itself once it appears), listed by the system and
# chosen in the port dialog, pulled out while online (OFFLINE, no message,
# the window answering throughout) and plugged back in (ONLINE again, with
# the drag made meanwhile in the unit).
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
e2e_init port_reconnect

e2e_ini "COMPort=COM12" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start

# The adapter is not plugged in at start: the message once.
drive_ok answer "Selected COM-Port is not available." 1 $E2E_START_MS
say "COM12 missing at start: the message came"
sleep 1
drive message-box "Selected COM-Port is not available." 2500 >/dev/null &&
    fail "the message came a second time while the program retried"

# Plugged in: the program finds it without any user action.
e2e_sim 12 --function dual-mono
SIM12=$SIM_PID
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS
say "the adapter appeared: online without a user action"

# As a driver would, the port enters the system's serial port map; the
# port dialog lists it after the four fixed ports and keeps it chosen.
"$WINE" reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v QivSim12 /t REG_SZ /d COM12 /f >/dev/null 2>&1 8>&- ||
    fail "could not register COM12 in SERIALCOMM"
drive_ok command 40006
drive_ok wait-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok items "COM-Port Select" 1006
items=$(echo $DRIVEN)
[[ "$items" == "COM1"*" COM2 COM3 COM4 COM12" ]] || fail "port list is: $items"
drive_ok cursel "COM-Port Select" 1006
[ "$DRIVEN" = "4" ] || fail "COM12 not preselected (position $DRIVEN)"
drive_ok click "COM-Port Select" 1
drive_ok wait-no-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS
say "the dialog lists COM12 and connects to it"
expect_file_line "$STATE_FILE" '^Expander Threshold Left=-50$' $E2E_WAIT_S

# From here on: a window message every 200 ms.
ping_watch_start 60000

# Pulled out: OFFLINE, quietly.
kill -s RTMIN "$SIM12"
drive_ok wait-title "Dual Mono Remote Control - OFFLINE" $E2E_WAIT_MS
drive message-box "" 1000 >/dev/null && fail "a message box appeared when the adapter was pulled"
say "the adapter was pulled: OFFLINE, no message"

# A drag while it is out: Expander Threshold Left from -50 to -40.
panel_drag 295 35 -20
sleep 5
kill -s RTMIN+1 "$SIM12"
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS
expect_file_line "$STATE_FILE" '^Expander Threshold Left=-40$' $E2E_WAIT_S
say "plugged back in: ONLINE again, and the unit has the drag's -40"

drive_ok exit-time $E2E_WAIT_MS
say "Exit took $DRIVEN ms"
[ "$DRIVEN" -le 1000 ] || fail "Exit took $DRIVEN ms"
ping_watch_end
say "PASS"
