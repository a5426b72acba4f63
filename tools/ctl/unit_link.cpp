#include "tools/ctl/unit_link.h"

#include <chrono>
#include <cstring>

#include "app/link_supervision.h"
#include "link/frame_receiver.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tools/ctl/console.h"

namespace {

// The link the core's seams reach; set while a UnitLink is open (main
// thread only, like everything of the core).
UnitLink* ActiveLink = nullptr;

constexpr int ReadSliceMs = 20;
constexpr int WriteLimitMs = 500;
constexpr int64_t MicrosPerMs = 1000;

}  // namespace

int64_t MonotonicMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

UnitLink::~UnitLink() {
    if (ActiveLink == this) ActiveLink = nullptr;
}

SerialResult UnitLink::Open(const std::string& portName, int silenceLimitMs, SerialError* error) {
    name_ = portName;
    silenceLimitMs_ = silenceLimitMs;
    const SerialResult r = OpenSerialPort(portName, &port_, error);
    if (r != SerialResult::Ok) return r;
    BuildIdIndices();
    ResetLinkState();
    ActiveLink = this;
    openedUs_ = MonotonicMicros();
    return r;
}

void UnitLink::Write(const uint8_t* bytes, int count) {
    if (port_ == nullptr || writeFailed_) return;
    SerialError e;
    if (WriteSerialPort(port_.get(), bytes, static_cast<size_t>(count), WriteLimitMs, &e) != SerialResult::Ok) {
        error_ = e;
        writeFailed_ = true;
    }
}

LinkOutcome UnitLink::Run(const std::function<bool()>& done, uint64_t maxFrames, int64_t untilMs) {
    const int64_t start = MonotonicMicros();
    const uint64_t firstFrame = frames_;
    int64_t lastFrameUs = start;
    int64_t nextTickUs = start + SupervisionTimerMs * MicrosPerMs;
    uint8_t buffer[PortReadChunk];
    for (;;) {
        if (interruptible_ && InterruptCount() > 0) return LinkOutcome::Interrupted;
        if (writeFailed_) return LinkOutcome::PortFailed;
        size_t got = unread_.size();
        const bool fromPort = got == 0;
        if (fromPort) {
            if (ReadSerialPort(port_.get(), buffer, sizeof buffer, ReadSliceMs, &got, &error_) != SerialResult::Ok)
                return LinkOutcome::PortFailed;
        } else {
            std::memcpy(buffer, unread_.data(), got);
            unread_.clear();
        }
        const int64_t now = MonotonicMicros();
        if (fromPort && got > 0 && sink_) sink_(buffer, got, now - openedUs_);
        for (size_t i = 0; i < got; ++i) {
            const uint64_t before = frames_;
            ReceiveByte(buffer[i]);
            if (frames_ == before) continue;
            lastFrameUs = now;
            const bool held = done && done();
            if (held || (maxFrames > 0 && frames_ - firstFrame >= maxFrames)) {
                // The rest of the read belongs to the next wait.
                unread_.assign(buffer + i + 1, buffer + got);
                return held ? LinkOutcome::Done : LinkOutcome::GaveUp;
            }
        }
        // The window program's supervision tick: after three silent ticks the
        // link counts as lost, so that the next frame is a fresh start.
        if (now >= nextTickUs) {
            LinkSupervisionTick();
            nextTickUs = now + SupervisionTimerMs * MicrosPerMs;
        }
        if (untilMs > 0 && now - start >= untilMs * MicrosPerMs) return LinkOutcome::Done;
        if (now - lastFrameUs >= silenceLimitMs_ * MicrosPerMs) return LinkOutcome::NoUnit;
    }
}

UnitLink* UnitLink::Active() { return ActiveLink; }
