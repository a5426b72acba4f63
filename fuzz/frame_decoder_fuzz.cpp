// Valid frames with arbitrary contents: each input is cut into frames whose
// first byte picks the function; the checksum is fixed up so that every
// frame reaches the decoders and the answer.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "link/frame_receiver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFreshStart(data, size);
    while (size > 0) {
        const SyncWord& sync = SyncWords[data[0] % 3];
        const int bytes = sync.function == 3 ? AnalyserFrameBytes : DualMonoFrameBytes;
        ++data;
        --size;
        uint8_t frame[DualMonoFrameBytes] = {};
        std::memcpy(frame, sync.bytes, 4);
        const size_t body = static_cast<size_t>(bytes - 8);
        const size_t take = size < body ? size : body;
        std::memcpy(frame + 4, data, take);
        data += take;
        size -= take;
        // Sync characters inside the data would restart the frame; that is
        // the receiver target's business, so such frames arrive cut short.
        uint32_t sum = sync.value;
        for (int w = 1; w < bytes / 4 - 1; ++w)
            sum += frame[4 * w] | (frame[4 * w + 1] << 8) | (static_cast<uint32_t>(frame[4 * w + 2]) << 16);
        const int last = bytes - 4;
        frame[last] = static_cast<uint8_t>(sum & 0xFF);
        frame[last + 1] = static_cast<uint8_t>((sum >> 8) & 0xFF);
        frame[last + 2] = static_cast<uint8_t>((sum >> 16) & 0xFF);
        for (int i = 0; i < bytes; ++i) ReceiveByte(frame[i]);
        FuzzCheckInvariants();
    }
    return 0;
}
