// What stands in for the analyser's own windows until they are built: the
// analyser panel's paint (a plain grey panel of the size its settings give)
// and the analyser settings window (class "ANASetClass"), which already
// hands its messages to the panel dispatcher with its bitmap panel.
#pragma once

#include <windows.h>

// FitWindowToPanel and the panel backgrounds.
#include "panel/panel_win32.h"

// The analyser settings window.
bool RegisterAnalyserSettingsClass(HINSTANCE instance);
void ShowAnalyserSettingsWindow(HWND owner);
void DestroyAnalyserSettingsWindow();
// The open analyser settings window, null when there is none
// (user-interface thread only).
extern HWND AnalyserSettingsWindow;
