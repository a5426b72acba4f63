// The serial link to the unit on Win32: one COM port, opened exclusively at
// 38400 baud 8N1 without flow control, overlapped I/O, and the
// PortEventThread that waits for received characters and tells the main
// window with WM_COMMNOTIFY. All reads and writes (PortRead, PortWrite of
// link_seams.h) happen on the main window's thread.
#pragma once

#include <windows.h>

// Results of Connect.
inline constexpr int ConnectOk = 0;
inline constexpr int ConnectPortFailed = 1;
inline constexpr int ConnectThreadFailed = 3;

// Bounds of the waits on the main window's thread. An answer of 8 bytes
// leaves the port in about 2 ms; a port whose output queue does not drain
// (a USB adapter pulled out) costs at most DrainWaitLimitMs per write.
inline constexpr DWORD DrainWaitLimitMs = 100;
inline constexpr DWORD IoWaitLimitMs = 250;
// How long Disconnect waits for the event thread to end.
inline constexpr DWORD ThreadStopLimitMs = 800;

// Opens the port `portName` ("COM2") and starts the event thread. On a port
// that cannot be opened or configured, beeps and tells the user in a
// message box owned by `window`.
int Connect(HWND window, const char* portName);

// Stops the event thread, waits until it has ended, then closes the port.
// Does nothing while the link is not enabled.
void Disconnect();

// Opens and configures the port; sets LinkEnabled first, also when opening
// fails, so that the port dialog reconnects after a wrong choice.
bool OpenPort(const char* portName);

// Set from the first OpenPort until Disconnect.
bool LinkIsEnabled();
