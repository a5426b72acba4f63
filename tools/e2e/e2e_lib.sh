# Shared harness of the end-to-end tests and of `make demo`: a private Wine
# prefix under build/, an Xvfb display, the unit simulator on a
# pseudo-terminal linked as a COM port of that prefix, qiv72rc.exe, and
# qivdrive.exe, which works the program from inside the same Wine session.
#
# Source it, then call e2e_init NAME. Everything started here is stopped by
# the EXIT trap: the prefix's Wine processes with `wineserver -k` (this
# prefix only), the simulator and Xvfb by their process ids.
#
# Inputs (environment): QIV_ROOT (source tree), QIV_WIN_BIN (directory of
# qiv72rc.exe and qivdrive.exe), QIV_SIM (qiv72sim), QIV_E2E_DIR (where the
# prefix and the test directories go).

set -u

export WINE_LOADER=${WINE_LOADER:-/usr/lib/wine/wine64}
# Through wine.sh (no address randomisation) unless the system forbids that,
# as some container sandboxes do; then Wine starts as it is.
if [ -z "${WINE:-}" ]; then
    WINE=$WINE_LOADER
    setarch "$(uname -m)" -R true 2>/dev/null && WINE=$(dirname "${BASH_SOURCE[0]}")/wine.sh
fi
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='

# A test may ask for a prefix of its own (E2E_PREFIX_NAME, e.g. one set to
# another DPI), a bigger X screen (E2E_SCREEN) and Wine desktop
# (E2E_DESKTOP) before e2e_init.
E2E_PREFIX_NAME=${E2E_PREFIX_NAME:-prefix}
E2E_SCREEN=${E2E_SCREEN:-1280x1024x24}
E2E_DESKTOP=${E2E_DESKTOP:-1024x768}

# Ceilings of the waits, in ms. A wait polls for its condition and ends as
# soon as it holds; the ceiling only bounds a wait for something that never
# comes. They are generous because a machine busy with other builds and tests
# may hold Wine back for seconds. Times the tests check (ONLINE after the
# first frame, OFFLINE after the last, Exit) are measured and compared on
# their own, never through a ceiling.
E2E_START_MS=90000 # the program's window or first question after a start
E2E_WAIT_MS=30000  # anything else the program must do
E2E_WAIT_S=$((E2E_WAIT_MS / 1000))

# The simulated unit (and the faults test's cable) are hardware to the
# program: they keep their pace however busy the machine is, so they get a
# higher priority where the system allows it.
E2E_UNIT_PRIORITY=()
nice -n -10 true 2>/dev/null && E2E_UNIT_PRIORITY=(nice -n -10)

E2E_PIDS=()
E2E_SIM_PIDS=()
E2E_XVFB_PID=
E2E_FAILED=0

say() { printf '[%s] %s\n' "${E2E_NAME:-e2e}" "$*"; }

fail() {
    say "FAIL: $*"
    E2E_FAILED=1
    exit 1
}

# Exit code 77: ctest reports the test as skipped.
skip_loudly() {
    echo "######################################################################"
    echo "# SKIPPED ${E2E_NAME:-e2e}: $*"
    echo "# The end-to-end tests need Wine and Xvfb; they did NOT run."
    echo "######################################################################"
    exit 77
}

now_ms() { date +%s%3N; }

# note_wait START_MS CEILING_MS WHAT: a wait that ended in time goes to the
# test's wait log, beside those of qivdrive (QIV_WAITS).
note_wait() {
    [ -n "${E2E_WAITS:-}" ] && printf '%s\t%s\t%s\n' "$(($(now_ms) - $1))" "$2" "$3" >>"$E2E_WAITS"
    return 0
}

# The slowest wait of the test, on its output and in QIV_E2E_DIR/waits.tsv
# ("test<TAB>ms<TAB>ceiling ms<TAB>what" per test run), which `make
# e2e-repeat` sums up.
e2e_wait_summary() {
    [ -n "${E2E_WAITS:-}" ] && [ -s "$E2E_WAITS" ] || return 0
    local slowest
    slowest=$(sort -t $'\t' -k1,1nr "$E2E_WAITS" | head -n 1)
    printf '%s\t%s\n' "$E2E_NAME" "$slowest" >>"$QIV_E2E_DIR/waits.tsv"
    say "slowest wait: $(cut -f1 <<<"$slowest") ms of $(cut -f2 <<<"$slowest") ms: $(cut -f3- <<<"$slowest")"
}

e2e_cleanup() {
    local rc=$?
    e2e_wait_summary
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        # Until the server has gone: the next test would otherwise find it
        # shutting down and wait for it before its own session starts.
        "$WINESERVER" -k >/dev/null 2>&1 8>&- || true
        "$WINESERVER" -w >/dev/null 2>&1 8>&- || true
    fi
    # Only processes that still run as this shell's children: the id of one
    # that ended was freed and may belong to another process by now (of
    # another test run on this machine, even), which must be left alone.
    local p live=()
    for p in "${E2E_PIDS[@]}" "${E2E_SIM_PIDS[@]}" $E2E_XVFB_PID; do
        [ "$(ps -o ppid= -p "$p" 2>/dev/null | tr -d ' ')" = "$$" ] && live+=("$p")
    done
    for p in "${live[@]}"; do
        kill -TERM "$p" >/dev/null 2>&1 || true
    done
    for p in "${live[@]}"; do
        wait "$p" >/dev/null 2>&1 || true
    done
    if [ "$rc" -ne 0 ] && [ "$rc" -ne 77 ] && [ -n "${E2E_WORK:-}" ]; then
        say "test directory kept: $E2E_WORK"
        [ -f "$E2E_WORK/host.log" ] && { say "host log (last lines):"; tail -n 12 "$E2E_WORK/host.log"; }
    fi
    return "$rc"
}

# e2e_init NAME: checks the tools, makes the prefix (once), a fresh test
# directory and a display.
e2e_init() {
    e2e_prepare "$1"
    # Each test starts without settings and seeds its own (an older
    # installation's file would be taken over by the next start).
    rm -rf "$WINDOWS_DIR/QEN72.INI" "$APPDATA_DIR/QIV-72"
    e2e_display
}

# e2e_prepare NAME: everything but the display.
e2e_prepare() {
    E2E_NAME=$1
    : "${QIV_ROOT:?}" "${QIV_WIN_BIN:?}" "${QIV_SIM:?}" "${QIV_E2E_DIR:?}"
    PROGRAM_EXE=$QIV_WIN_BIN/qiv72rc.exe
    DRIVE_EXE=$QIV_WIN_BIN/qivdrive.exe
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM

    [ -x "$WINE_LOADER" ] || skip_loudly "no Wine loader at $WINE_LOADER"
    command -v Xvfb >/dev/null || skip_loudly "no Xvfb"
    "$WINE" --version >/dev/null 2>&1 || skip_loudly "$WINE does not run here"
    [ -f "$PROGRAM_EXE" ] || fail "no $PROGRAM_EXE (build the Windows program first: make win)"
    [ -f "$DRIVE_EXE" ] || fail "no $DRIVE_EXE (make win)"
    [ -x "$QIV_SIM" ] || fail "no simulator $QIV_SIM (make native)"

    mkdir -p "$QIV_E2E_DIR"
    # One test at a time on the shared prefix, also across ctest runs
    # started in parallel (its COM ports, QEN72.INI and wineserver).
    exec 8>"$QIV_E2E_DIR/run.lock"
    flock -w 900 8 || fail "another run holds $QIV_E2E_DIR/run.lock"
    export WINEPREFIX=$QIV_E2E_DIR/$E2E_PREFIX_NAME
    e2e_make_prefix
    E2E_WORK=$QIV_E2E_DIR/$E2E_NAME
    rm -rf "$E2E_WORK"
    mkdir -p "$E2E_WORK"
    E2E_WAITS=$E2E_WORK/waits.log
    export QIV_WAITS="Z:${E2E_WAITS//\//\\}"
    WINDOWS_DIR=$WINEPREFIX/drive_c/windows
    APPDATA_DIR=$(e2e_appdata_dir) || fail "no application data folder in $WINEPREFIX"
    INI=$APPDATA_DIR/QIV-72/QEN72.INI
    rm -f "$WINEPREFIX"/dosdevices/com[1-4]
}

# e2e_virtual_desktop on|off: whether the prefix's windows live on a Wine
# virtual desktop of 1024 x 768 (on for Xvfb, off on a real desktop).
e2e_virtual_desktop() {
    if [ "$1" = on ]; then
        "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 8>&-
    else
        "$WINE" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 8>&-
    fi
    "$WINESERVER" -w 8>&-
}

# The prefix is made once and shared by the tests, which run one at a time.
# Its windows live on a Wine virtual desktop: without a window manager, Wine
# would wait two seconds for the X server whenever a window closes. Wine
# draws the caption buttons with Marlett (from Debian's fonts-wine), which a
# new prefix lacks: without it they show the letters 0, 1 and r.
#
# .qiv-ready holds the version of this set-up; raise E2E_PREFIX_VERSION when
# the set-up changes, so that older prefixes are made anew.
E2E_PREFIX_VERSION=2
MARLETT=/usr/share/wine/fonts/marlett.ttf
e2e_make_prefix() {
    exec 9>"$QIV_E2E_DIR/prefix.lock"
    flock 9
    if [ "$(cat "$WINEPREFIX/.qiv-ready" 2>/dev/null)" != "$E2E_PREFIX_VERSION" ]; then
        say "creating the Wine prefix $WINEPREFIX (once)"
        [ -f "$MARLETT" ] || { flock -u 9; fail "no $MARLETT (the package fonts-wine)"; }
        rm -rf "$WINEPREFIX"
        DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1 8>&- 9>&- || { flock -u 9; fail "wineboot failed"; }
        cp "$MARLETT" "$WINEPREFIX/drive_c/windows/Fonts/" || { flock -u 9; fail "could not copy Marlett"; }
        "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 8>&- 9>&-
        "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$E2E_DESKTOP" /f >/dev/null 2>&1 8>&- 9>&-
        "$WINESERVER" -w 8>&- 9>&-
        echo "$E2E_PREFIX_VERSION" >"$WINEPREFIX/.qiv-ready"
    fi
    flock -u 9
    exec 9>&-
}

e2e_display() {
    local fdfile=$E2E_WORK/display
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 "$E2E_SCREEN" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 8>&- &
    E2E_XVFB_PID=$!
    wait_until "$E2E_WAIT_MS" "Xvfb up" test -s "$fdfile" || fail "Xvfb did not start"
    export DISPLAY=:$(tr -d '\n' <"$fdfile")
}

# The process of this prefix whose command line holds $1 (the program is the
# Wine process of qiv72rc.exe; wineserver and explorer.exe serve it), for
# the live measurements.
prefix_pid() {
    local p
    for p in /proc/[0-9]*; do
        tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -q -- "$1" || continue
        tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
        echo "${p#/proc/}"
        return 0
    done
    return 1
}

# A path of this machine as Wine names it (drive Z:).
win_path() { printf 'Z:%s' "${1//\//\\}"; }

# ping_watch_start DURATION_MS: from here on qivdrive sends the main window a
# message every 200 ms and logs each answer's time in $PINGS, for up to
# DURATION_MS or until the program ends.
ping_watch_start() {
    PINGS=$E2E_WORK/pings.txt
    "$WINE" "$DRIVE_EXE" ping-watch "$(win_path "$PINGS")" 200 "$1" >"$E2E_WORK/ping.out" 2>&1 8>&- &
    PING_PID=$!
    E2E_PIDS+=("$PING_PID")
    wait_file_line "$PINGS" '.' $E2E_WAIT_S || fail "the ping watch did not start: $(cat "$E2E_WORK/ping.out")"
}

# ping_watch_end [TEXT]: once the program has ended, every window message
# must have been answered, each within a second. Sets CHECKS, SLOWEST and
# WIDEST (the longest gap between two checks); TEXT goes into the summary.
ping_watch_end() {
    wait "$PING_PID" || fail "the ping watch failed: $(cat "$E2E_WORK/ping.out")"
    read -r CHECKS SLOWEST WIDEST <<<"$(tr -d '\r' <"$E2E_WORK/ping.out")"
    say "window messages: $CHECKS checks${1:+ $1}, slowest answer ${SLOWEST} ms, longest gap ${WIDEST} ms"
    [ "$SLOWEST" != "none" ] || fail "a window message went unanswered for 5 s: $(grep -n none "$PINGS" | head -n 3)"
    [ "$SLOWEST" -lt 1000 ] || fail "a window message took $SLOWEST ms: $(awk -F'\t' '$2 >= 1000' "$PINGS" | head -n 3)"
}

# e2e_sim PORT [simulator options]: a unit on COM<PORT> of the prefix.
# Sets SIM_PID, HOST_LOG and STATE_FILE.
e2e_sim() {
    local port=$1
    shift
    local link=$WINEPREFIX/dosdevices/com$port
    HOST_LOG=$E2E_WORK/host$port.log
    STATE_FILE=$E2E_WORK/state$port.txt
    "${E2E_UNIT_PRIORITY[@]}" "$QIV_SIM" --link "$link" --host-log "$HOST_LOG" --state-file "$STATE_FILE" --quiet "$@" \
        >"$E2E_WORK/sim$port.out" 2>&1 8>&- &
    SIM_PID=$!
    E2E_SIM_PIDS+=("$SIM_PID")
    wait_until "$E2E_WAIT_MS" "simulator up on COM$port" sim_up "$link" ||
        fail "the simulator did not come up on $link"
}
sim_up() { [ -L "$1" ] && [ -s "$STATE_FILE" ]; }

# pull_cable, plug_cable: the cable of the unit started last goes out or in,
# and the call returns once the simulator has taken it (its state file says
# "Cable=out" while the cable is out).
pull_cable() {
    kill -USR1 "$SIM_PID"
    wait_until "$E2E_WAIT_MS" "cable out" cable_out || fail "the simulator did not pull the cable"
}
plug_cable() {
    kill -USR2 "$SIM_PID"
    wait_until "$E2E_WAIT_MS" "cable in" cable_in || fail "the simulator did not plug the cable in"
}
cable_out() { grep -qx 'Cable=out' "$STATE_FILE"; }
cable_in() { [ -s "$STATE_FILE" ] && ! cable_out; }

# The user's roaming application data folder of the prefix (%APPDATA%), as
# Wine's registry names it.
e2e_appdata_dir() {
    local dir
    dir=$(sed -n 's/^"AppData"="\(.*\)"$/\1/p' "$WINEPREFIX/user.reg" | head -n 1)
    dir=${dir//\\\\//}
    dir=$WINEPREFIX/drive_c${dir#[Cc]:}
    [ -d "$dir" ] && printf '%s\n' "$dir"
}

# e2e_ini LINE...: QEN72.INI with these lines (CR LF), as the user's file.
e2e_ini() {
    mkdir -p "$(dirname "$INI")"
    { printf '[Settings]\r\n'; local l; for l in "$@"; do printf '%s\r\n' "$l"; done; } >"$INI"
}

# Starts qiv72rc.exe; PROGRAM_PID is the Wine loader's process.
e2e_start() {
    "$WINE" "$PROGRAM_EXE" >"$E2E_WORK/program.out" 2>&1 8>&- &
    PROGRAM_PID=$!
    E2E_PIDS+=("$PROGRAM_PID")
}

# Runs qivdrive.exe; its output without the console's carriage returns.
drive() {
    local out rc
    # Wine's own error messages about the driver go to drive.err, for a
    # driver that ends without a word of its own.
    out=$(WINEDEBUG=err+all "$WINE" "$DRIVE_EXE" "$@" 8>&- 2>>"$E2E_WORK/drive.err")
    rc=$?
    [ -n "$out" ] && printf '%s\n' "${out//$'\r'/}"
    return $rc
}

# drive_ok ARGS...: the driver must succeed; its output is in DRIVEN.
drive_ok() {
    local rc
    DRIVEN=$(drive "$@") && return 0
    rc=$?
    [ -n "$DRIVEN" ] || DRIVEN="no output; Wine: $(tail -n 3 "$E2E_WORK/drive.err" 2>/dev/null | tr '\n' ' ')"
    fail "qivdrive $* (exit code $rc): $DRIVEN"
}

# wait_until CEILING_MS WHAT COMMAND...: runs COMMAND until it succeeds;
# 1 when the ceiling passed first. The wait is logged as WHAT.
wait_until() {
    local limit=$1 what=$2 start
    shift 2
    start=$(now_ms)
    until "$@"; do
        [ $(($(now_ms) - start)) -ge "$limit" ] && return 1
        sleep 0.05
    done
    note_wait "$start" "$limit" "$what"
}

# wait_file_line FILE REGEX TIMEOUT_S: a line of FILE must match in time.
wait_file_line() {
    wait_until $(($3 * 1000)) "line '$2' in $(basename "$1")" file_has_line "$1" "$2"
}
file_has_line() { [ -f "$1" ] && grep -E -q -- "$2" "$1"; }

expect_file_line() {
    wait_file_line "$1" "$2" "$3" || fail "no line matching '$2' in $(basename "$1") within $3 s"
}

# Host frames as the simulator logs them: "51 45 4e cc v1 v2 v3 ss".
host_frame() { printf '51 45 4e %s' "$1"; }

# The X window of the Wine virtual desktop, for real key and mouse events.
desktop_window() {
    wait_until "$E2E_WAIT_MS" "Wine desktop window" desktop_window_now >/dev/null || return 1
    desktop_window_now
}
desktop_window_now() {
    local w
    w=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n 1)
    [ -n "$w" ] && echo "$w"
}

# A real click on the main window's caption: Wine's virtual desktop takes
# keys from the X server only after such a click. Wine reads the X events
# that came before a message sent to the program as it waits for that
# message, so once the program has answered a ping the click is in its
# queue and handled next.
click_caption() {
    drive_ok window-rect
    local left top right bottom
    read -r left top right bottom <<<"$DRIVEN"
    xdotool mousemove $(((left + right) / 2)) $((top + 8)) click 1
    drive_ok ping "$E2E_WAIT_MS"
}

# A real right click inside the main window's client area.
right_click_client() {
    drive_ok window-rect
    local left top right bottom
    read -r left top right bottom <<<"$DRIVEN"
    xdotool mousemove $((left + 40)) $((bottom - 8)) click 3
}

# e2e_locked_port PORT: COM<PORT> becomes a port the system refuses to open,
# as Windows refuses a port another program holds. (Wine does not enforce
# exclusive opens of serial ports, so a second opener is no test; a
# pseudo-terminal whose master is still locked fails every open.) Sets
# LOCKED_PID; killing it frees the link.
e2e_locked_port() {
    local link=$WINEPREFIX/dosdevices/com$1
    rm -f "$link"
    /usr/bin/python3 - "$link" >"$E2E_WORK/locked$1.out" 2>&1 8>&- <<'PY' &
import ctypes, os, signal, sys
libc = ctypes.CDLL(None, use_errno=True)
libc.ptsname.restype = ctypes.c_char_p
master = libc.posix_openpt(os.O_RDWR | os.O_NOCTTY)
if master < 0:
    sys.exit("posix_openpt failed")
slave = libc.ptsname(master).decode()
os.symlink(slave, sys.argv[1])
print("locked", slave, flush=True)
signal.signal(signal.SIGTERM, lambda *a: (os.unlink(sys.argv[1]), sys.exit(0)))
signal.pause()
PY
    LOCKED_PID=$!
    E2E_PIDS+=("$LOCKED_PID")
    wait_file_line "$E2E_WORK/locked$1.out" '^locked' $E2E_WAIT_S || fail "could not lock COM$1: $(cat "$E2E_WORK/locked$1.out")"
}
