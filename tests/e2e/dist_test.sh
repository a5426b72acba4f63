#!/usr/bin/env bash
# The Windows download as a user gets it: build/dist/qiv72rc-<VERSION>-win64.zip
# (make dist) unzipped into an empty folder holds the program, the guide, the
# license and an example setup file per function; that copy of the program
# goes ONLINE with the simulated unit, shows its release in the about box,
# and F1 shows the help's contents.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
e2e_init dist

VERSION=$(cat "$QIV_ROOT/VERSION")
ZIP=${QIV_DIST_ZIP:-$QIV_ROOT/build/dist/qiv72rc-$VERSION-win64.zip}
[ -f "$ZIP" ] || fail "no $ZIP (make dist)"
command -v unzip >/dev/null || fail "no unzip (make deps)"
UNZIPPED=$E2E_WORK/unzipped
mkdir "$UNZIPPED"
unzip -q "$ZIP" -d "$UNZIPPED" || fail "cannot unzip $ZIP"
FOLDER=$UNZIPPED/qiv72rc-$VERSION-win64
for f in qiv72rc.exe qiv72ctl.exe README.txt LICENSE.txt examples/example-dual-mono.c72 examples/example-stereo.s72 \
    examples/example-analyser.a72; do
    [ -s "$FOLDER/$f" ] || fail "the zip lacks $f"
done
head -n 1 "$FOLDER/examples/example-dual-mono.c72" | grep -qx 'QIV-72 Dual Mono Configuration' || fail "example-dual-mono.c72 is no Dual Mono setup"
head -n 1 "$FOLDER/examples/example-stereo.s72" | grep -qx 'QIV-72 Stereo Configuration' || fail "example-stereo.s72 is no Stereo setup"
head -n 1 "$FOLDER/examples/example-analyser.a72" | grep -qx 'QIV-72 Analyser Configuration' ||
    fail "example-analyser.a72 is no Analyser setup: $(head -n 1 "$FOLDER/examples/example-analyser.a72")"
grep -q 'MIT License' "$FOLDER/LICENSE.txt" || fail "LICENSE.txt is not the MIT license"
say "the zip holds the program, the guide, the license and three example setups"

PROGRAM_EXE=$FOLDER/qiv72rc.exe
e2e_sim 2 --function dual-mono
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE" $E2E_START_MS
say "the unzipped program went ONLINE"

drive_ok command 40007
drive_ok wait-dialog "About QIV-72 Remote Control Tool" $E2E_WAIT_MS
drive_ok texts "About QIV-72 Remote Control Tool"
[[ "$DRIVEN" == *"Release $VERSION"* ]] || fail "the about box does not show release $VERSION: $DRIVEN"
drive_ok click "About QIV-72 Remote Control Tool" 1
drive_ok wait-no-dialog "About QIV-72 Remote Control Tool" $E2E_WAIT_MS

click_caption
xdotool key F1
drive_ok wait-class-title QIVHelpClass "QIV-72 Help - Contents" $E2E_WAIT_MS
say "F1 showed the help's contents"
drive_ok exit-time $E2E_WAIT_MS
say "PASS"
