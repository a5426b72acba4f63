// Capture files as they come from a studio by mail: any bytes. The reader
// takes them or refuses them with a line number; what it takes has times
// that never go backwards and chunks within the limit, and written again
// it reads back to the same chunks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/ctl/capture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<CaptureChunk> chunks;
    std::string error;
    if (!ParseCapture(reinterpret_cast<const char*>(data), size, &chunks, &error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    std::string again = std::string(CaptureHeader) + "\n";
    int64_t last = 0;
    for (const CaptureChunk& c : chunks) {
        if (c.micros < last || c.bytes.empty() || c.bytes.size() > CaptureMaxChunkBytes) std::abort();
        last = c.micros;
        again += FormatCaptureChunk(c.micros, c.bytes.data(), c.bytes.size());
    }
    std::vector<CaptureChunk> back;
    if (!ParseCapture(again.data(), again.size(), &back, &error) || back.size() != chunks.size()) std::abort();
    for (size_t i = 0; i < back.size(); ++i)
        if (back[i].micros != chunks[i].micros || back[i].bytes != chunks[i].bytes) std::abort();
    return 0;
}
