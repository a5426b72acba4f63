// The analyser settings window (class "ANASetClass"): a tool window owned by
// the main window whose client area is the analyser settings panel, drawn
// and edited by the panel dispatcher with the analyser settings table. At
// most one exists; it opens where the last one was closed. User-interface
// thread only.
#pragma once

#include <windows.h>

#include "model/screen_geometry.h"

// The open analyser settings window, null when there is none (written by
// the window's creation and destruction, user-interface thread only).
extern HWND AnalyserSettingsWindow;

// Registers the window class; a failure is not reported (the command then
// opens nothing).
bool RegisterAnalyserSettingsClass(HINSTANCE instance);

// The "Analyser Settings" command (F2): creates the window when the unit
// runs the Analyser and there is none, and shows and fits an existing one
// again. A new window opens at `position`, and its end leaves its position
// there (the program's AnalyserSettingsPos, which outlives every window).
void ShowAnalyserSettingsWindow(HWND owner, ScreenPoint& position);

// Fits an open window again to its panel at the zoom decided anew (after a
// change of the Panel Size choice).
void RefitAnalyserSettingsWindow();

// Destroys the window when one is open (the mode refresh, when the function
// leaves the Analyser, and the end of the program).
void DestroyAnalyserSettingsWindow();
