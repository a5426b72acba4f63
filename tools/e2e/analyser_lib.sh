# Helpers of the analyser tests, sourced after e2e_lib.sh and panel_lib.sh:
# the analyser settings window's panel as the target of panel_drag and
# panel_click, and photographs of the band area of the main window's
# analyser panel.

SETTINGS_CLASS=ANASetClass

# settings_rects: SET_X SET_Y SET_W SET_H (client area on the screen) and
# SET_LEFT SET_TOP SET_RIGHT SET_BOTTOM (outer rectangle) of the analyser
# settings window, which must be open.
settings_rects() {
    drive_ok class-rects "$SETTINGS_CLASS" $E2E_WAIT_MS
    read -r SET_X SET_Y SET_W SET_H SET_LEFT SET_TOP SET_RIGHT SET_BOTTOM <<<"$DRIVEN"
}

# on_settings_panel: panel_drag and panel_click act on the settings window.
on_settings_panel() {
    settings_rects
    PANEL_X=$SET_X
    PANEL_Y=$SET_Y
}

# on_main_panel: ... and on the main window again.
on_main_panel() { panel_origin; }

# band_shot FILE X Y W H: that region of the main window's client area.
band_shot() {
    panel_origin
    import -window root -crop "$4x$5+$((PANEL_X + $2))+$((PANEL_Y + $3))" +repage "$1" ||
        fail "could not photograph the bands"
}

# shots_differ A B: how many pixels differ between two photographs of the
# same size.
shots_differ() {
    local out
    out=$(compare -metric AE "$1" "$2" null: 2>&1)
    echo "${out%% *}"
}

# bands_moved NAME SECONDS X Y W H: MOVED is how many pixels of that region
# change within SECONDS (two photographs, NAME1.png and NAME2.png in the
# work folder). Runs in the test's own shell, so that a failed photograph
# ends the test.
bands_moved() {
    local name=$E2E_WORK/$1 pause=$2
    shift 2
    band_shot "${name}1.png" "$@"
    sleep "$pause"
    band_shot "${name}2.png" "$@"
    MOVED=$(shots_differ "${name}1.png" "${name}2.png")
    [[ "$MOVED" =~ ^[0-9]+$ ]] || fail "could not compare ${name}1.png and ${name}2.png: $MOVED"
}

# bands_start_moving NAME X Y W H: as bands_moved with half a second
# between the photographs, taken again until the bands moved (after a
# freeze is released the program may take a moment on a busy machine);
# MOVED stays 0 when they never did.
bands_start_moving() {
    local start
    start=$(now_ms)
    while :; do
        bands_moved "$1" 0.5 "${@:2}"
        [ "$MOVED" != "0" ] && { note_wait "$start" "$E2E_WAIT_MS" "bands move"; return 0; }
        [ $(($(now_ms) - start)) -ge "$E2E_WAIT_MS" ] && return 0
    done
}

# expect_client_size WxH MS: the main window's client area reaches that size
# in time.
expect_client_size() {
    local want=$1 limit=$2 start
    start=$(now_ms)
    while :; do
        drive_ok client-size
        [ "$DRIVEN" = "$want" ] && { note_wait "$start" "$limit" "client size $want"; return 0; }
        [ $(($(now_ms) - start)) -ge "$limit" ] && fail "the main panel is $DRIVEN, not $want"
        sleep 0.1
    done
}

# render_analyser FILE setting=value ...: the analyser panel with the
# program's start-up values and these settings, painted without Windows.
render_analyser() {
    local out=$1
    shift
    [ -x "$RENDER" ] || fail "no qiv72render at $RENDER (make native)"
    "$RENDER" "$ART_DIR" analyser "$out.bmp" "$@" >/dev/null || fail "qiv72render analyser $* failed"
    convert "$out.bmp" "$out" || fail "could not convert $out.bmp"
}
