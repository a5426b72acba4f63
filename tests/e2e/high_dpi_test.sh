#!/usr/bin/env bash
# The program on a 192-dpi screen (a prefix of its own, so that no other
# test runs at 192, on a screen big enough for the doubled window): the
# Dual Mono window is twice 799 x 252, every panel pixel is a 2 x 2 block
# showing what the software canvas paints at 200 %, a 20-pixel drag moves a
# setting as far as a 10-pixel drag at 100 % and a click at a switch's
# doubled place flips it in the unit, every dialog's texts fit, and Panel
# Size resizes the panel and is kept. The photographs stay in the test
# directory (dual_mono_192dpi.png, window_192dpi.png, dual_mono_150.png).
E2E_PREFIX_NAME=prefix192
E2E_SCREEN=2048x1400x24
E2E_DESKTOP=2000x1300
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
source "$QIV_ROOT/tools/e2e/analyser_lib.sh"
e2e_init high_dpi

# The screen's DPI as Wine takes it, set before the program starts.
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 8>&-
"$WINE" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
    /t REG_DWORD /d 192 /f >/dev/null 2>&1 8>&-
"$WINESERVER" -w 8>&-

e2e_sim 2 --function dual-mono --boot-pause 300
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_START_MS
expect_file_line "$STATE_FILE" '^Expander Threshold Left=-50$' $E2E_WAIT_S

# What stands still (the settings; panel points, doubled on the screen).
STILL=$(awk '{ print 2 * $1, 2 * $2, 2 * $3, 2 * $4 }' <<'REGIONS'
0 0 85 175
85 0 143 175
672 0 127 140
0 225 330 27
REGIONS
)
render_panel dualmono "$E2E_WORK/dual_mono_expected.png" --zoom=200
shot_until "$E2E_WORK/dual_mono_192dpi.png" \
    regions_same "$E2E_WORK/dual_mono_192dpi.png" "$E2E_WORK/dual_mono_expected.png" "$STILL"
[ "$PANEL_W"x"$PANEL_H" = "1598x504" ] || fail "the Dual Mono panel at 192 dpi is ${PANEL_W}x$PANEL_H"
say "the Dual Mono panel is 1598 x 504 at 192 dpi"

# Frames redraw the changed controls only, zoomed too: no paint message
# reaches the window while the meters move.
drive_ok count-messages 3000
counts=$DRIVEN
read -r paints notifies <<<"${counts//[a-z=]/}"
[ "$notifies" -ge 30 ] || fail "only $notifies serial notifications in 3 s ($counts)"
[ "$paints" -eq 0 ] || fail "the zoomed window was painted $paints times in 3 s ($counts)"
bands_start_moving meters 240 370 870 60
[ "$MOVED" != "0" ] || fail "the level bars did not move at 200 %"
say "the meters move at 200 % ($MOVED pixels in half a second) without a paint message ($counts)"

# The whole window as the user sees it, for a look.
drive_ok window-rect
read -r wl wt wr wb <<<"$DRIVEN"
import -window root -crop "$((wr - wl))x$((wb - wt))+$wl+$wt" +repage "$E2E_WORK/window_192dpi.png" ||
    fail "could not photograph the window"

# Every 2 x 2 block is one colour: halving by sampling and doubling again
# gives the photograph back.
convert "$E2E_WORK/dual_mono_192dpi.png" -sample 50% -sample 200% "$E2E_WORK/blocks.png"
expect_region_same "$E2E_WORK/dual_mono_192dpi.png" "$E2E_WORK/blocks.png" 0 0 1598 504 "2 x 2 blocks"
say "every 2 x 2 block of the panel is one colour"

# What stands still shows as the software canvas paints it at 200 %.
while read -r x y w h; do
    expect_region_same "$E2E_WORK/dual_mono_192dpi.png" "$E2E_WORK/dual_mono_expected.png" \
        "$x" "$y" "$w" "$h" "Dual Mono panel at 200 %"
done <<<"$STILL"
say "the settings show as the software canvas paints them at 200 %"

# "Expander Threshold Left" (270, 30, 50 x 10 panel pixels, 1 dB a step of
# 2 panel pixels): 20 screen pixels up are 10 panel pixels, 5 steps.
panel_drag 590 70 -20
expect_file_line "$STATE_FILE" '^Expander Threshold Left=-45$' $E2E_WAIT_S
say "a 20-pixel drag at 200 % moved Expander Threshold Left 5 dB"

# "Expander Link L/R" at panel point 265, 165.
panel_click 530 330
expect_file_line "$STATE_FILE" '^Expander Link L/R=1$' $E2E_WAIT_S
say "a click at the switch's doubled place flipped it in the unit"

# Every dialog's texts fit at 192 dpi too.
every_dialog_texts_fit 2

# Options > Panel Size: 150 % (a photograph for a look), then 100 %, which
# the settings file keeps.
drive_ok command 40063
expect_client_size 1198x378 $E2E_WAIT_MS
sleep 0.5
panel_shot "$E2E_WORK/dual_mono_150.png"
drive_ok command 40062
expect_client_size 799x252 $E2E_WAIT_MS
say "Panel Size 150 % and 100 % resize the window at 192 dpi"
drive_ok exit-time $E2E_WAIT_MS
grep -a -q '^PanelSize=100' "$INI" || fail "the settings file does not keep PanelSize=100"
say "PASS"
