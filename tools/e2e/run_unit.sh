#!/usr/bin/env bash
# make run-unit: qiv72rc.exe under Wine on this Linux desktop, talking to a
# real QIV-72 on a serial port of this machine (a USB adapter's
# /dev/ttyUSB0 unless QIV_TTY names another). The tty is linked as a COM
# port of a private Wine prefix (build/unit/prefix), COM5 unless QIV_COM
# names another number; the program's settings there are kept between runs.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"

TTY=${QIV_TTY:-/dev/ttyUSB0}
COM=${QIV_COM:-5}

[ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1 ||
    { echo "run-unit: needs a desktop (\$DISPLAY); the program is a window" >&2; exit 2; }
[ -c "$TTY" ] || { echo "run-unit: $TTY is not a serial device (plug the adapter in, or give QIV_TTY=/dev/ttyS0 ...)" >&2; exit 2; }
[ -r "$TTY" ] && [ -w "$TTY" ] ||
    { echo "run-unit: no access to $TTY (add yourself to its group, usually dialout, and log in again)" >&2; exit 2; }
[[ "$COM" =~ ^[0-9]+$ ]] && [ "$COM" -ge 1 ] && [ "$COM" -le 256 ] ||
    { echo "run-unit: QIV_COM must be a port number from 1 to 256" >&2; exit 2; }

e2e_prepare unit
e2e_virtual_desktop off
ln -sfn "$TTY" "$WINEPREFIX/dosdevices/com$COM"
# The first start asks for the port; choose COM$COM there. Later starts
# keep what was chosen.
[ -f "$INI" ] || e2e_ini "COMPort=COM$COM" "SafeMode=0" "HelpLanguage=1" "WinPos=60,860,60,340"
say "$TTY is COM$COM of the Wine prefix $WINEPREFIX"
say "starting qiv72rc.exe on $DISPLAY; close it to stop"
e2e_start
wait "$PROGRAM_PID" || true
rm -f "$WINEPREFIX/dosdevices/com$COM"
say "the program ended"
