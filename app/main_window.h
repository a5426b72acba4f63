// The main window: its class, its procedure with one handler per message,
// the commands of the menus and accelerators, the link supervision on the
// 400 ms timer, the title, and the values the rest of the program reaches
// it by. Everything here runs on the user-interface thread.
#pragma once

#include <windows.h>

#include "link/port_result.h"
#include "panel/panel_shell_win32.h"  // OpenHelp, RefreshModeState

inline constexpr char MainClassName[] = "QIVRCClass";
inline constexpr char InitialTitle[] = "QIV-72 Remote Control Tool";
inline constexpr int MainWindowWidth = 802;
inline constexpr int MainWindowHeight = 277;
inline constexpr UINT_PTR SupervisionTimerId = 1;

// Process-wide shell values (user-interface thread only).
extern HINSTANCE MainInstance;
extern HWND MainWindow;
// The window's MainMenu, remembered at the first paint; null before.
extern HMENU MainMenuHandle;

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Asks about unsaved data when Safe File Mode is on; when the program may
// close, disconnects the link and returns true.
bool ConfirmClose(HWND window);

// Connects to the port of the settings. When it cannot be opened, the user
// is told once and the program then retries quietly until it opens.
void ConnectChosenPort(HWND window);

// The link has a port, or is retrying one: a port change connects at once.
bool PortInUse();

// Tells the user what a failure of the serial port means for them, in a
// message box owned by `window` where the program always showed it there.
// Success, and failures the user is not told about, show nothing.
void TellPortResult(HWND window, const PortResult& result);

