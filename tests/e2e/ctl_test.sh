#!/usr/bin/env bash
# qiv72ctl.exe, the Windows console build, under Wine against the simulated
# unit: status on the default port COM2, and put on COM12 (a port only the
# device namespace "\\.\COM12" opens). No display: a console program.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_prepare ctl
CTL_EXE=$QIV_WIN_BIN/qiv72ctl.exe
[ -f "$CTL_EXE" ] || fail "no $CTL_EXE (make win)"
rm -f "$WINEPREFIX/dosdevices/com12"

# ctl ARGS...: runs the tool; its stdout without carriage returns in OUT,
# stderr in ERR_FILE, the exit code in RC.
ERR_FILE=$E2E_WORK/ctl.err
ctl() {
    OUT=$(DISPLAY= QIV72_PORT= "$WINE" "$CTL_EXE" "$@" 2>"$ERR_FILE" 8>&-)
    RC=$?
    OUT=${OUT//$'\r'/}
}

e2e_sim 2 --function dual-mono --speed 2
ctl status
[ "$RC" -eq 0 ] || fail "status ended with $RC: $(cat "$ERR_FILE")"
printf '%s\n' "$OUT" >"$E2E_WORK/status.txt"
grep -qx 'Function=Dual Mono' "$E2E_WORK/status.txt" || fail "status: no function line"
grep -qx 'Link=ONLINE' "$E2E_WORK/status.txt" || fail "status: not ONLINE"
for m in 1 16; do
    want=$(grep "^Memory $m=" "$STATE_FILE")
    grep -qxF "$want" "$E2E_WORK/status.txt" || fail "status: memory $m is not '$want'"
done
say "status: $(grep -c = "$E2E_WORK/status.txt") lines, as the unit has them"

# put on COM12: a setup file with three changed values, one off the
# wire's grid.
e2e_sim 12 --function dual-mono --speed 2
STATE12=$STATE_FILE
cat >"$E2E_WORK/new.c72" <<'SETUP'
QIV-72 Dual Mono Configuration
Comment=from Wine
Low Cut Frequency Left=123.000000
Expander Ratio Left=3.260000
Phase Invert Right=1.000000
WinPos=100,200,100,200
SETUP
ctl --port COM12 put "Z:$E2E_WORK/new.c72"
[ "$RC" -eq 0 ] || fail "put ended with $RC: $(cat "$ERR_FILE")"
expect_file_line "$STATE12" '^Low Cut Frequency Left=123$' $E2E_WAIT_S
expect_file_line "$STATE12" '^Expander Ratio Left=3.3$' $E2E_WAIT_S
expect_file_line "$STATE12" '^Phase Invert Right=1$' $E2E_WAIT_S
say "put on COM12: the unit holds the file"

# get twice: the second replaces the first (written beside, then renamed).
for i in 1 2; do
    ctl --port COM12 get "Z:$E2E_WORK/got"
    [ "$RC" -eq 0 ] || fail "get $i ended with $RC: $(cat "$ERR_FILE")"
done
grep -qx 'Low Cut Frequency Left=123.000000' "$E2E_WORK/got.c72" || fail "get: the file lacks the put value"
[ -z "$(ls "$E2E_WORK" | grep part)" ] || fail "get left a partial file"

ctl --port COM9 --timeout 1 status
[ "$RC" -eq 3 ] || fail "a missing port ended with $RC, not 3"
grep -q 'port COM9' "$ERR_FILE" || fail "no message about COM9: $(cat "$ERR_FILE")"
say "passed"
