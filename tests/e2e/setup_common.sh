# Helpers of the setup file tests, sourced after tools/e2e/e2e_lib.sh: the
# file dialogs, the menu states, and the unit's state compared with a setup
# file.

# The Windows name of a file under the test directory (drive Z: is /).

# file_dialog CAPTION PATH: in the open or save dialog, goes to the folder
# of PATH (its name typed and OK pressed, as a user moves to a folder), then
# types the file name and presses OK. The first OK is pressed with `press`,
# which returns once the dialog has moved: the move empties the name field
# at its end, and would wipe a name typed while it still runs. The program
# writes or reads the file after the dialog has closed: the save dialog
# returns once the file is there (the setup extension added to a name
# without one) and the program answers a ping again (it may have ended
# after a save at Exit); after the open dialog the caller waits for the
# title.
file_dialog() {
    drive_ok wait-dialog "$1" $E2E_WAIT_MS
    drive_ok set-text "$1" 1148 "$(win_path "$(dirname "$2")")\\"
    drive_ok press "$1" 1
    drive_ok set-text "$1" 1148 "$(basename "$2")"
    drive_ok click "$1" 1
    drive_ok wait-no-dialog "$1" $E2E_WAIT_MS
    if [ "$1" = "Save As" ]; then
        wait_until $E2E_WAIT_MS "$(basename "$2") written" saved "$2" || fail "$(basename "$2") was not written"
        drive ping $E2E_WAIT_MS >/dev/null || true
    fi
}
saved() { compgen -G "$1" >/dev/null || compgen -G "$1.[csa]72" >/dev/null; }

# expect_menu EXPECTED ID...: soon (the mode refresh runs on the next
# timer tick or frame), the main menu items' states are EXPECTED, e.g.
# "grayed grayed enabled" for three ids.
expect_menu() {
    local want=$1 start
    shift
    start=$(now_ms)
    while :; do
        drive_ok menu-state "$@"
        [ "$DRIVEN" = "$want" ] && { note_wait "$start" "$E2E_WAIT_MS" "menu states $want"; return 0; }
        [ $(($(now_ms) - start)) -ge "$E2E_WAIT_MS" ] && break
        sleep 0.1
    done
    fail "menu items $*: $DRIVEN, expected $want"
}

# The five groups of items the mode refresh sets, as one line of states:
# file items, recall/store, boot, offline mode, analyser settings.
MENU_GROUPS="40012 40013 40016 40037 40042 40043 40053 40055 40057 40049 40045 40047 40050 40044"
menu_row() {
    local file=$1 rs=$2 boot=$3 off=$4 ana=$5
    echo "$file $file $file $file $rs $rs $boot $boot $boot $off $off $off $off $ana"
}
expect_menu_row() {
    expect_menu "$(menu_row "$@")" $MENU_GROUPS
}

# Value lines of a setup file that the unit (its state file) does not
# match, then "compared N" with the number of values compared.
unit_differences() {
    awk -F= 'NR == FNR { if (NF == 2) unit[$1] = $2; next }
             FNR <= 2 || /^WinPos=/ || NF != 2 || !($1 in unit) { next }
             { d = $2 - unit[$1]; if (d < 0) d = -d; n++
               if (d > 1e-6) print $1 ": file " $2 ", unit " unit[$1] }
             END { print "compared " n + 0 }' "$STATE_FILE" "$1"
}

# expect_unit_equals FILE COUNT TIMEOUT_S: within the time, every value of
# the setup file that the unit carries is the unit's, and COUNT values were
# compared ("-" for any number above 0).
expect_unit_equals() {
    local file=$1 count=$2 limit=$3 start out
    start=$(now_ms)
    while :; do
        out=$(unit_differences "$file")
        if [ "$count" = "-" ]; then
            [[ "$out" =~ ^compared\ [1-9][0-9]*$ ]] && break
        else
            [ "$out" = "compared $count" ] && break
        fi
        [ $(($(now_ms) - start)) -ge $((limit * 1000)) ] &&
            fail "the unit does not hold $(basename "$file") after $limit s: $(echo "$out" | tr '\n' ';')"
        sleep 0.1
    done
    note_wait "$start" $((limit * 1000)) "the unit holds $(basename "$file")"
}
