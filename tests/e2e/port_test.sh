#!/usr/bin/env bash
# The COM port: a missing port at start, a change in the COM-Port Select
# dialog that reconnects at once, an event thread that ends too late for its
# disconnect, a port held by another program, a unit that vanishes while
# online, and Exit within a second in each state.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_init port

e2e_sim 2 --function dual-mono
SIM2=$SIM_PID
e2e_ini "COMPort=COM3" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start

# COM3 does not exist: the message, then the program runs offline.
drive_ok answer "Selected COM-Port is not available." 1 $E2E_START_MS
[[ "$DRIVEN" == "Error|Selected COM-Port is not available.
Check setup or stop other applications
 using this port!" ]] || fail "port message reads: $DRIVEN"
drive_ok wait-title "KOV QIV-72 - No Operation" $E2E_WAIT_MS
sleep 1.3
drive_ok title
[ "$DRIVEN" = "KOV QIV-72 - No Operation" ] || fail "offline without a port, the title is '$DRIVEN'"

# The port's event thread shows nothing on its own thread: it posts its
# failure (MSG_PORT_FAILURE, here "no event object") and
# the main window tells the user.
drive_ok post $((0x0400 + 20)) 4
drive_ok answer "Failed to create event for thread!" 1 $E2E_WAIT_MS
[[ "$DRIVEN" == "TTY Error!|Failed to create event for thread!" ]] || fail "thread failure message reads: $DRIVEN"

# The dialog shows COM3 and reconnects to COM2 when chosen.
drive_ok command 40006
drive_ok wait-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok items "COM-Port Select" 1006
[ "$(echo $DRIVEN)" = "COM1 COM2 COM3 COM4" ] || fail "port list is: $DRIVEN"
drive_ok cursel "COM-Port Select" 1006
[ "$DRIVEN" = "2" ] || fail "COM3 not preselected (position $DRIVEN)"
drive_ok select "COM-Port Select" 1006 1
drive_ok click "COM-Port Select" 1
drive_ok wait-no-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS
say "choosing COM2 reconnected the link"

# Choosing the same port again still reconnects (the link stays usable).
drive_ok command 40006
drive_ok wait-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok click "COM-Port Select" 1
drive_ok wait-no-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS

# An event thread that does not end within Disconnect's wait (held here)
# keeps its port open, so that nothing else gets the port's handle while the
# thread may still use it; choosing the same port again still connects, and
# once the thread has ended its port is closed. (Windows refuses a second
# open of a port until the first is closed; Wine does not, so here the new
# connection works at once and the open files of COM2 tell the rest.)
com2_files() {  # files of every process open on COM2's terminal
    find /proc/[0-9]*/fd -lname "$(readlink "$WINEPREFIX/dosdevices/com2")" 2>/dev/null | wc -l
}
wait_com2_files() {  # COUNT SECONDS: until COM2 has COUNT open files
    local end=$((SECONDS + $2))
    while [ "$(com2_files)" != "$1" ]; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.1
    done
}
ONE_LINK=$(com2_files)
drive_ok suspend-thread PortEventThread
drive_ok command 40006
drive_ok wait-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok click "COM-Port Select" 1
drive_ok wait-no-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS
HELD=$(com2_files)
[ "$HELD" -gt "$ONE_LINK" ] || fail "the held thread's port was closed under it ($HELD open files, $ONE_LINK with one link)"
drive_ok resume-thread PortEventThread
wait_com2_files "$ONE_LINK" 10 || fail "the ended thread's port stays open ($(com2_files) open files, $ONE_LINK with one link)"
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_WAIT_MS
say "a late event thread kept its port until it ended ($HELD open files meanwhile, $ONE_LINK after)"

# COM4 is held: the system refuses to open it.
e2e_locked_port 4
drive_ok command 40006
drive_ok wait-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok select "COM-Port Select" 1006 3
drive_ok click "COM-Port Select" 1
drive_ok answer "Selected COM-Port is not available." 1 $E2E_WAIT_MS
drive_ok wait-title "Dual Mono Remote Control - OFFLINE" $E2E_WAIT_MS
say "a held port gives the message and the program goes offline"

# The port is free again, with a Stereo unit on it; choosing it again
# connects at once.
kill -TERM "$LOCKED_PID"
wait "$LOCKED_PID" 2>/dev/null
e2e_sim 4 --function stereo
SIM4=$SIM_PID
drive_ok command 40006
drive_ok wait-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok cursel "COM-Port Select" 1006
[ "$DRIVEN" = "3" ] || fail "COM4 not preselected after choosing it (position $DRIVEN)"
drive_ok click "COM-Port Select" 1
drive_ok wait-no-dialog "COM-Port Select" $E2E_WAIT_MS
drive_ok wait-title "Stereo Remote Control - ONLINE" $E2E_WAIT_MS
say "connected to the Stereo unit on COM4"

# The unit vanishes while online: no hang, OFFLINE, and Exit stays quick.
kill -TERM "$SIM4"
wait "$SIM4" 2>/dev/null
drive_ok wait-title "Stereo Remote Control - OFFLINE" $E2E_WAIT_MS
sleep 1
drive_ok exit-time $E2E_WAIT_MS
say "Exit after the unit vanished took $DRIVEN ms"
[ "$DRIVEN" -le 1000 ] || fail "Exit took $DRIVEN ms after the unit vanished"

# The missing port at start, then Exit.
e2e_start
drive_ok answer "Selected COM-Port is not available." 1 $E2E_START_MS
drive_ok wait-title "No Operation" $E2E_WAIT_MS
drive_ok exit-time $E2E_WAIT_MS
say "Exit without a port took $DRIVEN ms"
[ "$DRIVEN" -le 1000 ] || fail "Exit took $DRIVEN ms without a port"
grep -q '^COMPort=COM4' "$INI" || fail "the chosen port was not kept: $(grep COMPort "$INI")"
say "PASS"
