// QEN72.INI in the Windows directory: read once while the main window is
// created (with the first-run dialogs when it is missing), written once
// when it is destroyed.
#pragma once

#include <windows.h>

// 1 when the file was read, 0 when it was missing or unreadable (after the
// help language and COM port dialogs).
int ReadSettingsFile(HWND owner);
void WriteSettingsFile();
