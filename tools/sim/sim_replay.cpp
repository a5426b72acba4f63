#include "tools/sim/sim_replay.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/ctl/capture_file.h"

bool ReplaySource::Load(const std::string& path, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        *error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string text;
    char chunk[4096];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && text.size() <= CaptureMaxFileBytes) text.append(chunk, n);
    std::fclose(f);
    std::vector<CaptureChunk> chunks;
    std::string why;
    if (!ParseCapture(text.data(), text.size(), &chunks, &why)) {
        *error = path + ": " + why;
        return false;
    }
    // Pieces that fit one frame slot's output, in the captured order.
    for (const CaptureChunk& c : chunks) {
        for (size_t at = 0; at < c.bytes.size(); at += UnitMaxOutput) {
            const size_t size = std::min(UnitMaxOutput, c.bytes.size() - at);
            pieces_.push_back({c.micros, std::vector<uint8_t>(c.bytes.begin() + at, c.bytes.begin() + at + size)});
        }
    }
    if (pieces_.empty()) {
        *error = path + ": the capture holds no bytes";
        return false;
    }
    return true;
}

void ReplaySource::Next(UnitOutput* out, int64_t* gapUs) {
    const Piece& p = pieces_[next_];
    std::memcpy(out->bytes, p.bytes.data(), p.bytes.size());
    out->size = p.bytes.size();
    out->frameSize = 0;
    out->corrupted = false;
    out->syncInData = false;
    out->noiseBytes = 0;
    next_ = (next_ + 1) % pieces_.size();
    // The loop closes with one long frame's pause.
    *gapUs = next_ == 0 ? UnitLongFramePeriodUs : pieces_[next_].micros - p.micros;
}
