#!/usr/bin/env bash
# make demo: qiv72rc.exe under Wine against the simulated unit.
#
# With a display ($DISPLAY answers): the simulator runs a Dual Mono unit on
# COM2 of a private Wine prefix (build/demo/prefix), the program opens on
# your desktop, and everything started here stops when you close the
# program or press Ctrl-C.
#
# Without a display: the same under Xvfb, as a short tour (the unit online,
# a store into memory 2, boots into Stereo and the Analyser), with
# screenshots in build/demo/; exits 0.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"

SHOTS=$QIV_E2E_DIR
E2E_NAME=demo

have_display() {
    [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1
}

# Keep the user's own settings between demo runs (an older demo's file in
# the Windows directory is taken over by the program); start with COM2 and
# English help when there are none.
demo_settings() {
    [ -f "$INI" ] || [ -f "$WINDOWS_DIR/QEN72.INI" ] ||
        e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=60,860,60,340"
}

shot() {
    local file=$SHOTS/$1.png
    import -window "$DESKTOP" "$file" 2>/dev/null || import -window root "$file"
    say "screenshot $file"
    SHOTS_TAKEN+=("$file")
}

interactive() {
    e2e_prepare demo
    e2e_virtual_desktop off
    e2e_sim 2 --function dual-mono
    demo_settings
    say "the simulated unit runs Dual Mono on COM2 (state: $STATE_FILE)"
    say "starting qiv72rc.exe on $DISPLAY; close it or press Ctrl-C to stop"
    e2e_start
    wait "$PROGRAM_PID" || true
    say "the program ended"
}

tour() {
    e2e_prepare demo
    e2e_display
    e2e_virtual_desktop on
    SHOTS_TAKEN=()
    rm -f "$SHOTS"/*.png
    e2e_sim 2 --function dual-mono --boot-pause 500
    demo_settings
    say "no display: a short tour under Xvfb ($DISPLAY)"
    e2e_start
    drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS
    DESKTOP=$(desktop_window) || DESKTOP=root
    sleep 1
    say "online: $(drive title)"
    shot 1-dual-mono-online

    drive_ok command 40043
    drive_ok wait-dialog "Store Setup" $E2E_WAIT_MS
    drive_ok select "Store Setup" 1111 1
    drive_ok set-text "Store Setup" 1098 "DEMO"
    sleep 0.3
    shot 2-store-dialog
    drive_ok click "Store Setup" 1
    drive_ok wait-no-dialog "Store Setup" $E2E_WAIT_MS
    expect_file_line "$STATE_FILE" '^Memory 2=DEMO$' $E2E_WAIT_S
    say "stored: the unit's memory 2 is now DEMO"

    drive_ok command 40055
    drive_ok wait-title "Stereo Remote Control - ONLINE" $E2E_WAIT_MS
    sleep 1
    say "booted: $(drive title)"
    shot 3-stereo-online

    drive_ok command 40057
    drive_ok wait-title "Audio Analyser - ONLINE" $E2E_WAIT_MS
    sleep 1
    say "booted: $(drive title)"
    shot 4-analyser-online

    drive_ok command 40007
    drive_ok wait-dialog "About QIV-72 Remote Control Tool" $E2E_WAIT_MS
    sleep 0.3
    shot 5-about
    drive_ok click "About QIV-72 Remote Control Tool" 1
    drive_ok exit-time $E2E_WAIT_MS
    say "the program closed $DRIVEN ms after Exit"
    say "screenshots:"
    printf '  %s\n' "${SHOTS_TAKEN[@]}"
}

if have_display; then
    interactive
else
    unset DISPLAY
    tour
fi
exit 0
