#!/usr/bin/env bash
# Booting the unit into another function from the Options menu, and the
# Analyser's keys pressed for real: the frames on the wire, the unit's
# function, the title and the panel size.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_init boot

e2e_sim 2 --function dual-mono --boot-pause 300
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS

# Booting into the running function does nothing.
drive_ok command 40053
sleep 0.5
grep -q "^$(host_frame '2d')" "$HOST_LOG" && fail "boot into the running function was sent"

# Space and the analyser keys do nothing outside the Analyser.
click_caption
xdotool key space r
sleep 0.5
[ -s "$HOST_LOG" ] && fail "keys sent frames in Dual Mono: $(cat "$HOST_LOG")"

# Stereo: command 45 with 2.
drive_ok command 40055
expect_file_line "$HOST_LOG" "^$(host_frame '2d 02 00 00 d1')$" $E2E_WAIT_S
drive_ok wait-title "Stereo Remote Control - ONLINE : new.s72" $E2E_WAIT_MS
expect_file_line "$STATE_FILE" '^Function=Stereo$' $E2E_WAIT_S
drive_ok client-size
[ "$DRIVEN" = "799x234" ] || fail "Stereo panel client size is $DRIVEN"
say "booted into Stereo"

# Stereo's store offers six memories.
drive_ok command 40043
drive_ok wait-dialog "Store Setup" $E2E_WAIT_MS
drive_ok items "Store Setup" 1111
[ "$(echo "$DRIVEN" | wc -l)" -eq 6 ] || fail "Stereo offers $(echo "$DRIVEN" | wc -l) memories, not 6"
drive_ok click "Store Setup" 2
drive_ok wait-no-dialog "Store Setup" $E2E_WAIT_MS

# Analyser from Stereo: command 33 with 1.
drive_ok command 40057
expect_file_line "$HOST_LOG" "^$(host_frame '21 01 00 00 de')$" $E2E_WAIT_S
drive_ok wait-title "Audio Analyser - ONLINE : new.a72" $E2E_WAIT_MS
expect_file_line "$STATE_FILE" '^Function=Analyser$' $E2E_WAIT_S
drive_ok client-size
[ "$DRIVEN" != "799x234" ] || fail "the panel kept the Stereo size in the Analyser"
say "booted into the Analyser, panel $DRIVEN"

# Real keys: R selects the right input (command 8 with 1), Space freezes
# (no command of its own: command 255).
click_caption
xdotool key r
expect_file_line "$HOST_LOG" "^$(host_frame '08 01 00 00 f7')$" $E2E_WAIT_S
expect_file_line "$STATE_FILE" '^Analyser Input Select=1$' $E2E_WAIT_S
xdotool key space
expect_file_line "$HOST_LOG" "^$(host_frame 'ff 00 00 00 01')$" $E2E_WAIT_S
xdotool key m
expect_file_line "$HOST_LOG" "^$(host_frame '08 02 00 00 f6')$" $E2E_WAIT_S
expect_file_line "$STATE_FILE" '^Analyser Input Select=2$' $E2E_WAIT_S
say "R, Space and M reached the unit"

# Back to Dual Mono: command 20 with 0.
drive_ok command 40053
expect_file_line "$HOST_LOG" "^$(host_frame '14 00 00 00 ec')$" $E2E_WAIT_S
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_WAIT_MS
drive_ok client-size
[ "$DRIVEN" = "799x252" ] || fail "Dual Mono panel client size is $DRIVEN"
say "booted back into Dual Mono"

drive_ok exit-time $E2E_WAIT_MS
say "PASS"
