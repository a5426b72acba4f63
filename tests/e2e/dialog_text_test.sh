#!/usr/bin/env bash
# Every dialog's static texts fit their controls as the program draws them
# (the shell dialog font, at 96 dpi); the same check runs at 192 dpi in
# high_dpi.
source "$QIV_ROOT/tools/e2e/e2e_lib.sh"
source "$QIV_ROOT/tools/e2e/panel_lib.sh"
e2e_init dialog_text

e2e_sim 2 --function dual-mono --boot-pause 300
e2e_ini "COMPort=COM2" "SafeMode=0" "HelpLanguage=1" "WinPos=40,840,40,320"
e2e_start
drive_ok wait-title "Dual Mono Remote Control - ONLINE : new.c72" $E2E_START_MS
every_dialog_texts_fit 1
say "PASS"
