// What the main window shows until the front panels are drawn: the empty
// panel, a plain background of each panel's size, a bare analyser settings
// window, and FitWindowToPanel, which sizes a window to its panel.
#pragma once

#include <windows.h>

// Resizes `window` so that its client area is `width` by `height` (a
// negative size keeps that direction) and keeps it on the work area.
void FitWindowToPanel(HWND window, int width, int height, bool force);

// The main window's panel for the current function (1 to 3) gets every
// message first; it paints the panel and sets the cursor.
void DispatchToPanel(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// The grey 300 x 20 panel shown without a function.
void PaintEmptyPanel(HWND window);

// The analyser settings window (class "ANASetClass").
bool RegisterAnalyserSettingsClass(HINSTANCE instance);
void ShowAnalyserSettingsWindow(HWND owner);
void DestroyAnalyserSettingsWindow();
extern HWND AnalyserSettingsWindow;
