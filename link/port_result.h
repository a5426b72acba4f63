// What a call on the serial port did: done, or the step that failed with the
// system's own error code, taken right where the step failed (GetLastError
// on Windows). The link never tells the user anything itself; the program
// decides what to show, and a tool may print the code.
#pragma once

#include <cstdint>

enum class PortError : int32_t {
    None = 0,
    // The port could not be opened: no such port, or another program holds
    // it. The port is closed.
    OpenFailed = 1,
    // The port was opened but refused its settings (38400 baud 8N1 without
    // flow control). The port is closed again.
    ConfigFailed = 2,
    // The event thread, or an event object the link needs, could not be
    // made. The port is closed and the link is offline.
    ThreadFailed = 3,
    // The event thread could not make its own event object and ended: the
    // port stays open, but no received bytes will be reported.
    EventFailed = 4,
    // The open port stopped answering: its device went away (a USB adapter
    // pulled out). The event thread has ended; the port is to be closed.
    Lost = 5,
};

struct PortResult {
    PortError error = PortError::None;
    uint32_t systemError = 0;  // 0 when the call succeeded

    bool Ok() const { return error == PortError::None; }
};
