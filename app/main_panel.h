// The main window's panel: the table and panel type of the current device
// function, handed with every message to the panel dispatcher, and the
// redraw request of the link core for the main window and the analyser
// settings window. User-interface thread only.
#pragma once

#include <windows.h>

// Hands a message of the main window to the panel of the current function
// (1 to 3); does nothing without a function.
void DispatchToPanel(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
