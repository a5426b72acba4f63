// The serial link to the unit on Win32: one COM port, opened exclusively at
// 38400 baud 8N1 without flow control, overlapped I/O, and the
// PortEventThread that waits for received characters and tells the main
// window with WM_COMMNOTIFY. All reads and writes (PortRead, PortWrite of
// link_seams.h) happen on the main window's thread, as do the calls below.
// The link tells the user nothing: each call returns what failed, with the
// system's error code, and the program decides what to show.
#pragma once

#include <windows.h>

#include "link/port_result.h"

// Bounds of the waits on the main window's thread. An answer of 8 bytes
// leaves the port in about 2 ms; a port whose output queue does not drain
// (a USB adapter pulled out) costs at most DrainWaitLimitMs per write.
inline constexpr DWORD DrainWaitLimitMs = 100;
inline constexpr DWORD IoWaitLimitMs = 250;
// How long Disconnect, and a Connect after a slow Disconnect, wait for an
// event thread to end.
inline constexpr DWORD ThreadStopLimitMs = 800;

// Opens the port `portName` ("COM2") and starts the event thread, which
// notifies `window`. A thread that cannot watch the port posts
// MSG_PORT_FAILURE to `window` (wParam the PortError, lParam the system's
// code) instead.
PortResult Connect(HWND window, const char* portName);

// Stops the event thread and closes the port. Does nothing while the link
// is not enabled. A thread that has not ended within ThreadStopLimitMs keeps
// its port until it ends (ReleaseEndedPorts); a later Connect, to the same
// port too, works as soon as it has.
void Disconnect();

// Opens and configures the port; sets LinkEnabled first, also when opening
// fails, so that the port dialog reconnects after a wrong choice.
PortResult OpenPort(const char* portName);

// Set from the first OpenPort until Disconnect.
bool LinkIsEnabled();

// Closes the ports of event threads that outlived their Disconnect and have
// ended since, so that the port is free again for this program and others.
// Costs next to nothing; meant for a timer.
void ReleaseEndedPorts();
