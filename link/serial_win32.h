// The serial link to the unit on Win32: one COM port, opened exclusively at
// 38400 baud 8N1 without flow control, overlapped I/O, and the
// PortEventThread that waits for received characters and tells the main
// window with WM_COMMNOTIFY. All reads and writes (PortRead, PortWrite of
// link_seams.h) happen on the main window's thread, as do the calls below.
// The link tells the user nothing: each call returns what failed, with the
// system's error code, and the program decides what to show.
#pragma once

#include <windows.h>

#include <cstdint>

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

// Opens `portName` on a thread of its own, so that a port that takes long to
// fail never holds up the window, and posts MSG_PORT_REOPENED to `window`
// with the handle (INVALID_HANDLE_VALUE when it failed) and `attempt`. When
// the window is gone, the thread closes the port itself. False when the
// thread could not be started.
bool StartBackgroundOpen(HWND window, const char* portName, uint32_t attempt);

// Connect with a port a background open has opened: configures it and
// starts the event thread as Connect does. The handle is the link's from
// here on, also when this fails.
PortResult ConnectOpened(HWND window, HANDLE port);

// True when the current port's event thread has ended within `limitMs`: a
// Lost report is about this port, not an earlier one.
bool CurrentPortWatchEnded(DWORD limitMs);

// Set from the first OpenPort until Disconnect.
bool LinkIsEnabled();

// Closes the ports of event threads that outlived their Disconnect and have
// ended since, so that the port is free again for this program and others.
// Costs next to nothing; meant for a timer.
void ReleaseEndedPorts();
