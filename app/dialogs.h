// The shell's modal dialogs, all owned by the main window and centred over
// it: about, COM port, help language, comment, store and recall.
#pragma once

#include <windows.h>

#include "panel/panel_shell_win32.h"  // CenterDialog

void ShowAboutBox(HWND owner);
void ShowPortDialog(HWND owner);
void ShowHelpLanguageDialog(HWND owner);
void ShowCommentDialog(HWND owner);
void ShowStoreDialog(HWND owner);
void ShowRecallDialog(HWND owner);
