// QEN72.INI on the disk: found and read once while the main window is
// created (with the first-run dialogs when there is no file), written once
// when it is destroyed. Where it lives: settings_location.h.
#pragma once

#include <windows.h>

// 1 when a file was read, 0 when there was none (after the help language
// and COM port dialogs) or it could not be read (after saying so; the
// settings keep their defaults and that file is not written at exit).
int ReadSettingsFile(HWND owner);

// Writes the application data file, unless start-up found a file it could
// not read. False when the settings could not be saved.
bool WriteSettingsFile();

// "Settings could not be saved to <path>." in a message box without an
// owner: it comes while the main window is being destroyed.
void ReportSettingsNotSaved();
