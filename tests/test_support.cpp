#include "tests/test_support.h"

#include <cstring>

#include "link/frame_receiver.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "setup/setup_state.h"
#include "tests/fakes.h"

namespace {

struct TableCopies {
    ParamDesc dualMono[DualMonoCount];
    ParamDesc stereo[StereoCount];
    ParamDesc analyser[AnalyserCount];
    ParamDesc display[AnalyserDisplayCount];
};

const TableCopies& Pristine() {
    // Taken before any test touches the tables.
    static const TableCopies copies = [] {
        TableCopies c;
        std::memcpy(c.dualMono, DualMonoTable, sizeof DualMonoTable);
        std::memcpy(c.stereo, StereoTable, sizeof StereoTable);
        std::memcpy(c.analyser, AnalyserTable, sizeof AnalyserTable);
        std::memcpy(c.display, AnalyserDisplayTable, sizeof AnalyserDisplayTable);
        return c;
    }();
    return copies;
}

const bool PristineTaken = (Pristine(), true);

}  // namespace

void FreshStart() {
    (void)PristineTaken;
    const TableCopies& c = Pristine();
    std::memcpy(DualMonoTable, c.dualMono, sizeof DualMonoTable);
    std::memcpy(StereoTable, c.stereo, sizeof StereoTable);
    std::memcpy(AnalyserTable, c.analyser, sizeof AnalyserTable);
    std::memcpy(AnalyserDisplayTable, c.display, sizeof AnalyserDisplayTable);
    BuildIdIndices();
    ResetLinkState();
    UnsavedChanges = 0;
    ResetFakes();
}

std::vector<uint8_t> FrameOf(const UnitFrameState& state) {
    uint8_t buf[DualMonoFrameBytes];
    const size_t n = BuildDeviceFrame(state, buf);
    return std::vector<uint8_t>(buf, buf + n);
}

void Feed(const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) ReceiveByte(b);
}

UnitFrameState DefaultState(int function) {
    UnitFrameState s;
    DefaultUnitState(function, &s);
    return s;
}

void SetWord(std::vector<uint8_t>& frame, int w, uint32_t v) {
    frame[4 * w] = static_cast<uint8_t>(v & 0xFF);
    frame[4 * w + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    frame[4 * w + 2] = static_cast<uint8_t>((v >> 16) & 0xFF);
}

void Reseal(std::vector<uint8_t>& frame) {
    const int words = static_cast<int>(frame.size() / 4);
    uint32_t sum = 0;
    for (int w = 0; w < words - 1; ++w)
        sum += frame[4 * w] | (frame[4 * w + 1] << 8) | (static_cast<uint32_t>(frame[4 * w + 2]) << 16);
    SetWord(frame, words - 1, sum & 0xFFFFFFu);
}
