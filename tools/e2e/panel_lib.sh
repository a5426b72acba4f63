# Helpers of the panel tests, sourced after e2e_lib.sh: photographs of the
# main window's panel, the same panel painted by qiv72render (the software
# canvas over the same generated bitmaps) to compare regions with, and a
# real mouse on the panel (xdotool). The Wine desktop lies at the X screen's
# origin, so screen coordinates are X coordinates.
#
# Inputs (environment): QIV_SIM as for e2e_lib.sh; qiv72render and the art
# folder are found beside it (build/native/bin and build/native/art) unless
# QIV_RENDER and QIV_ART name them.

RENDER=${QIV_RENDER:-$(dirname "$QIV_SIM")/qiv72render}
ART_DIR=${QIV_ART:-$(dirname "$(dirname "$QIV_SIM")")/art}

# panel_origin: PANEL_X, PANEL_Y (the client area's top left on the screen),
# PANEL_W, PANEL_H.
panel_origin() {
    drive_ok client-rect
    read -r PANEL_X PANEL_Y PANEL_W PANEL_H <<<"$DRIVEN"
}

# panel_shot FILE: the client area as it is on the screen now.
panel_shot() {
    panel_origin
    import -window root -crop "${PANEL_W}x${PANEL_H}+${PANEL_X}+${PANEL_Y}" +repage "$1" ||
        fail "could not photograph the panel"
}

# render_panel dualmono|stereo FILE [id=value ...]: the panel with the
# program's start-up values (and the given ones), painted without Windows.
render_panel() {
    local panel=$1 out=$2
    shift 2
    [ -x "$RENDER" ] || fail "no qiv72render at $RENDER (make native)"
    "$RENDER" "$ART_DIR" "$panel" "$out.bmp" "$@" >/dev/null || fail "qiv72render $panel $* failed"
    convert "$out.bmp" "$out" || fail "could not convert $out.bmp"
}

# region_diff A B X Y W H: how many pixels of that region differ between
# two images.
region_diff() {
    local geometry="$5x$6+$3+$4" out
    out=$(compare -metric AE "$1[$geometry]" "$2[$geometry]" null: 2>&1)
    echo "${out%% *}"
}

# regions_same A B REGIONS: every "x y w h" line of REGIONS is the same in
# both images.
regions_same() {
    local x y w h
    while read -r x y w h; do
        [ -z "$x" ] || [ "$(region_diff "$1" "$2" "$x" "$y" "$w" "$h")" = "0" ] || return 1
    done <<<"$3"
}

# shot_until FILE CHECK...: photographs the panel into FILE again and again
# until CHECK (a command that does not end the test) holds, for the panel
# to finish drawing; 1 when the ceiling passed first. The caller then checks
# FILE with the messages of its own.
shot_until() {
    local file=$1 start
    shift
    start=$(now_ms)
    until panel_shot "$file" && "$@"; do
        [ $(($(now_ms) - start)) -ge "$E2E_WAIT_MS" ] && return 1
        sleep 0.2
    done
    note_wait "$start" "$E2E_WAIT_MS" "panel shot $(basename "$file")"
}

# expect_region_same A B X Y W H WHAT
expect_region_same() {
    local n
    n=$(region_diff "$1" "$2" "$3" "$4" "$5" "$6")
    [ "$n" = "0" ] || fail "$7: $n pixels differ in ${5}x${6}+$3+$4 ($(basename "$1") against $(basename "$2"))"
}

# panel_point X Y: the screen point of client point X, Y in SX, SY.
panel_point() {
    [ -n "${PANEL_X:-}" ] || panel_origin
    SX=$((PANEL_X + $1))
    SY=$((PANEL_Y + $2))
}

# panel_drag X Y DY [KEY]: presses the left button at client point X, Y,
# moves the mouse DY pixels (negative is up) two pixels at a time and
# releases; KEY (e.g. shift), when given, is held from before the press to
# after the release.
panel_drag() {
    local x=$1 y=$2 dy=$3 key=${4:-} step=2 k
    panel_point "$x" "$y"
    [ "$dy" -lt 0 ] && step=-2
    xdotool mousemove "$SX" "$SY"
    sleep 0.2
    [ -n "$key" ] && xdotool keydown "$key" && sleep 0.1
    xdotool mousedown 1
    sleep 0.2
    for ((k = step; k * step <= dy * step; k += step)); do
        xdotool mousemove "$SX" $((SY + k))
        sleep 0.05
    done
    sleep 0.2
    [ -n "$key" ] && xdotool keyup "$key"
    xdotool mouseup 1
    sleep 0.2
}

# panel_click X Y [COUNT]: COUNT (default 1) left clicks at client point X, Y.
panel_click() {
    panel_point "$1" "$2"
    xdotool mousemove "$SX" "$SY"
    sleep 0.2
    xdotool click --repeat "${3:-1}" --delay 80 1
}

# dialog_texts_fit CAPTION OPEN CLOSE_ID: opens a dialog (OPEN: "command ID"
# or "dblclick X Y", a double-click at client point X, Y), checks that every
# static text fits its control as the program draws it, and closes it with
# the button CLOSE_ID.
dialog_texts_fit() {
    local caption=$1 open=$2 close=$3
    case $open in
        command\ *) drive_ok command "${open#command }" ;;
        dblclick\ *) panel_click ${open#dblclick } 2 ;;
    esac
    drive_ok wait-dialog "$caption" $E2E_WAIT_MS
    drive_ok text-fit "$caption"
    say "\"$caption\": every text fits (${DRIVEN#fits } measured)"
    drive_ok click "$caption" "$close"
    drive_ok wait-no-dialog "$caption" $E2E_WAIT_MS
}

# every_dialog_texts_fit ZOOM: every dialog of the program, the value
# dialogs opened on the Dual Mono panel drawn at ZOOM (1 or 2).
every_dialog_texts_fit() {
    local z=$1
    dialog_texts_fit "About QIV-72 Remote Control Tool" "command 40007" 1
    dialog_texts_fit "COM-Port Select" "command 40006" 2
    dialog_texts_fit "Help Language Select" "command 40040" 2
    dialog_texts_fit "Comment" "command 40037" 2
    dialog_texts_fit "Store Setup" "command 40043" 2
    dialog_texts_fit "Recall Setup" "command 40042" 2
    dialog_texts_fit "Input Value" "dblclick $((295 * z)) $((35 * z))" 2
    dialog_texts_fit "Select Value" "dblclick $((745 * z)) $((50 * z))" 2
    dialog_texts_fit "Display Value (No Entry)" "dblclick $((295 * z)) $((80 * z))" 1
}
