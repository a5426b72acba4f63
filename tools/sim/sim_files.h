// What the simulator leaves for others to read: the host log and the state
// file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Replaces `path` with `text` so that a reader sees the old file or the new
// one, never a part: written to a temporary file beside it, then renamed.
bool WriteFileAtomically(const std::string& path, const char* text, size_t size);

// One line per host frame, flushed at once.
class HostLog {
public:
    HostLog() = default;
    HostLog(const HostLog&) = delete;
    HostLog& operator=(const HostLog&) = delete;
    ~HostLog();
    bool Open(const std::string& path);  // truncates
    // "51 45 4e 07 78 00 00 81"; invalid frames as "# invalid: ..." lines.
    // With a clock time (nanoseconds, 0 or more) the line ends with a blank
    // and that time in seconds with six decimals:
    // "51 45 4e 07 78 00 00 81 12345.678901".
    void Write(const uint8_t* bytes, bool valid, int64_t clockNs = -1);

private:
    std::FILE* file_ = nullptr;
};
