// The simulated unit fed arbitrary bytes from the program's side: broken,
// split and valid host frames in any order, slots passing in between. An
// invalid frame must never change the unit's state.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "link/device_codec.h"
#include "tools/sim/unit_model.h"

namespace {

// Everything a host frame can change.
bool SameState(const UnitModel& a, const UnitModel& b) {
    return a.function == b.function && a.bootTarget == b.bootTarget &&
           std::memcmp(a.functions, b.functions, sizeof a.functions) == 0 &&
           std::memcmp(a.storeName, b.storeName, sizeof a.storeName) == 0 && a.chunksSeen == b.chunksSeen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFreshStart(data, size);  // the unit starts from the program's start-up tables
    static UnitModel unit;
    static UnitModel before;
    UnitOptions options = {};
    options.function = size > 0 ? 1 + data[0] % 3 : 1;
    options.seed = 7;
    options.bootPauseUs = 50000;
    options.faults.unplugAfterS = -1;
    InitUnit(&unit, options);

    UnitOutput out;
    for (size_t i = 0; i < size; ++i) {
        if (i % 16 == 15) {
            UnitNextOutput(&unit, &out);  // time passes: meters, reboots
            if (out.frameSize != 0 && out.frameSize != 160 && out.frameSize != 108) std::abort();
        }
        std::memcpy(&before, &unit, sizeof unit);
        HostReport report;
        const bool complete = UnitReceiveByte(&unit, data[i], &report);
        if (!complete || report.outcome == HostOutcome::Invalid || report.outcome == HostOutcome::Ignored) {
            if (!SameState(before, unit)) std::abort();
        }
        if (complete) {
            ParsedHostFrame parsed;
            const bool valid = ParseHostFrame(report.bytes, sizeof report.bytes, &parsed);
            if (valid != (report.outcome != HostOutcome::Invalid)) std::abort();
        }
    }
    return 0;
}
