// Arbitrary byte streams from the port: noise, broken frames, sync words in
// odd places. Checksums rarely pass here; the decoder target gets past them.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "link/frame_receiver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFreshStart(data, size);
    for (size_t i = 0; i < size; ++i) ReceiveByte(data[i]);
    FuzzCheckInvariants();
    return 0;
}
