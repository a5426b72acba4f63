// The tool's read loop around the link core: it reads the port, feeds the
// frame receiver (which answers each valid frame through PortWrite), counts
// the frames and runs the link supervision's 400 ms tick, until the
// command's condition holds. It stands where the window program has its
// port notification message. One link per process: the core's state is
// process-wide, and this object owns the port the core's seams reach.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/ctl/serial_port.h"

enum class LinkOutcome {
    Done,         // the condition held
    NoUnit,       // no valid frame within the timeout
    PortFailed,   // the port failed while in use
    Interrupted,  // Ctrl+C
    GaveUp,       // the frame budget ran out before the condition held
};

// Bytes as they were read, with the time since the port was opened.
using ByteSink = std::function<void(const uint8_t* bytes, size_t count, int64_t microseconds)>;

class UnitLink {
public:
    UnitLink() = default;
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;
    ~UnitLink();

    // Opens the port and resets the link core to its start-up state.
    SerialResult Open(const std::string& portName, int silenceLimitMs, SerialError* error);

    // Reads until `done` holds after a valid frame (checked after every
    // frame), the unit stays silent for the silence limit, `maxFrames`
    // further frames have passed (0: no limit), or `untilMs` of time has
    // passed (0: no limit; then Done).
    LinkOutcome Run(const std::function<bool()>& done, uint64_t maxFrames = 0, int64_t untilMs = 0);

    uint64_t Frames() const { return frames_; }
    void SetByteSink(ByteSink sink) { sink_ = std::move(sink); }
    // Off while the live setup is put back after Ctrl+C: that must finish.
    void SetInterruptible(bool on) { interruptible_ = on; }
    const SerialError& LastError() const { return error_; }
    const std::string& PortName() const { return name_; }

    // The open link the core's seams reach; null when none.
    static UnitLink* Active();
    // The core's seams land here.
    void OnFrame() { ++frames_; }
    void Write(const uint8_t* bytes, int count);

private:
    SerialPortPtr port_;
    std::string name_;
    int silenceLimitMs_ = 0;
    uint64_t frames_ = 0;
    int64_t openedUs_ = 0;
    SerialError error_;
    bool writeFailed_ = false;
    bool interruptible_ = true;
    ByteSink sink_;
    std::vector<uint8_t> unread_;  // read, not yet fed to the receiver
};

// Microseconds of a monotonic clock.
int64_t MonotonicMicros();
