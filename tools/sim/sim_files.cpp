// Host log and state file output.
#include "tools/sim/sim_files.h"

#include <unistd.h>

HostLog::~HostLog() {
    if (file_ != nullptr) std::fclose(file_);
}

bool HostLog::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "w");
    return file_ != nullptr;
}

void HostLog::Write(const uint8_t* b, bool valid, int64_t clockNs) {
    if (file_ == nullptr) return;
    std::fprintf(file_, "%s%02x %02x %02x %02x %02x %02x %02x %02x", valid ? "" : "# invalid: ", b[0], b[1], b[2],
                 b[3], b[4], b[5], b[6], b[7]);
    if (clockNs >= 0)
        std::fprintf(file_, " %lld.%06lld", static_cast<long long>(clockNs / 1000000000),
                     static_cast<long long>(clockNs % 1000000000 / 1000));
    std::fputc('\n', file_);
    std::fflush(file_);
}

bool WriteFileAtomically(const std::string& path, const char* text, size_t size) {
    const std::string temp = path + ".tmp." + std::to_string(getpid());
    std::FILE* f = std::fopen(temp.c_str(), "w");
    if (f == nullptr) return false;
    const bool written = std::fwrite(text, 1, size, f) == size;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}
