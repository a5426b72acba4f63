#!/usr/bin/env bash
# The link as the user sees it in the title: ONLINE within half a second of
# the first frame, OFFLINE 0.8 to 1.2 s after the cable is pulled, ONLINE
# again when it is back, offline function choice while the unit is away,
# and Exit within a second while online and while offline.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_init link

e2e_sim 2 --function dual-mono
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-window 15000

# The title shows "No Operation" right after the port is opened and the
# event thread started; the first frame follows within 42 ms.
drive_ok time-between "No Operation" "Dual Mono Remote Control - ONLINE" 15000
say "ONLINE $DRIVEN ms after the port opened"
[ "$DRIVEN" -le 500 ] || fail "ONLINE took $DRIVEN ms (limit 500)"
drive_ok client-size
[ "$DRIVEN" = "799x252" ] || fail "Dual Mono panel client size is $DRIVEN, not 799x252"

# Pull the cable: the title turns OFFLINE on the third silent timer tick.
watch=$E2E_WORK/titles.txt
drive watch-title 'Z:'"$watch" 4000 &
E2E_PIDS+=($!)
wait_file_line "$watch" 'ONLINE' 10 || fail "title watcher did not start"
sleep 0.3
unplug=$(now_ms)
kill -USR1 "$SIM_PID"
drive_ok wait-title "OFFLINE" 3000
offline_at=$(awk -F'\t' '/OFFLINE/ {print $1; exit}' "$watch")
[ -n "$offline_at" ] || fail "watcher saw no OFFLINE title"
latency=$((offline_at - unplug))
say "OFFLINE $latency ms after the unplug"
# 800 to 1200 ms after the last frame; the last frame ends up to 42 ms
# around the signal, and the title is sampled every 2 ms.
[ "$latency" -ge 740 ] && [ "$latency" -le 1300 ] || fail "OFFLINE after $latency ms, expected 0.8 to 1.2 s"
grep -q 'Dual Mono Remote Control - OFFLINE : new.c72' "$watch" || fail "OFFLINE title wrong: $(tail -n 1 "$watch")"

# Offline, the user picks the function to edit; it shows within a tick.
drive_ok command 40047
drive_ok wait-title "Stereo Remote Control - OFFLINE" 1500
drive_ok client-size
[ "$DRIVEN" = "799x234" ] || fail "Stereo panel client size is $DRIVEN, not 799x234"

# Exit while offline is quick (checked on a second start below); first,
# the cable comes back and the unit's function wins again.
kill -USR2 "$SIM_PID"
drive_ok wait-title "Dual Mono Remote Control - ONLINE" 3000
say "back ONLINE after the cable returned"

drive_ok exit-time 5000
say "Exit while online took $DRIVEN ms"
[ "$DRIVEN" -le 1000 ] || fail "Exit took $DRIVEN ms while online"

# Exit while the unit is silent.
e2e_start
drive_ok wait-title "ONLINE" 15000
kill -USR1 "$SIM_PID"
drive_ok wait-title "OFFLINE" 3000
drive_ok exit-time 5000
say "Exit while offline took $DRIVEN ms"
[ "$DRIVEN" -le 1000 ] || fail "Exit took $DRIVEN ms while offline"
say "PASS"
