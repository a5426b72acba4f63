// The receive path allocates nothing: not per byte, not per frame, not per
// answer. Every allocation of this program is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "link/edit_history.h"
#include "link/frame_receiver.h"
#include "link/host_encoder.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/test_support.h"

namespace {
std::atomic<long> Allocations{0};
}

void* operator new(std::size_t n) {
    ++Allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(NoAllocation, TheCounterSeesAllocations) {
    const long before = Allocations.load();
    std::vector<int>* v = new std::vector<int>(10);
    delete v;
    EXPECT_EQ(Allocations.load() - before, 2);
}

TEST(NoAllocation, FramesOfEveryFunctionWithAnswersAllocateNothing) {
    FreshStart();
    Fake.record = false;
    std::vector<uint8_t> stream;
    for (int function : {FunctionDualMono, FunctionStereo, FunctionAnalyser}) {
        UnitFrameState s = DefaultState(function);
        for (int i = 0; i < 20; ++i) {
            s.meters.level[0] = 1000u * static_cast<uint32_t>(i + 1);
            s.meters.bands[i] = static_cast<uint8_t>(50 + i);
            s.memoryNumber = 1 + i % 16;
            const std::vector<uint8_t> f = FrameOf(s);
            stream.insert(stream.end(), f.begin(), f.end());
        }
    }
    Fake.portInput = stream;

    const long before = Allocations.load();
    CommitUserValue(*FindParam(TableDualMono, 6), 120.0, 5);
    RequestParamChange(3.0, 33, TableAnalyser);
    StoreSlot = 2;
    StoreNameChunksLeft = 4;
    while (Fake.portInputPos < Fake.portInput.size()) ReceiveFromPort();
    const long after = Allocations.load();
    EXPECT_EQ(after - before, 0);
    EXPECT_EQ(Online, 1);
}

// A drag, its undo and redo, and A/B switches between frames: the history
// is static.
TEST(NoAllocation, UndoRedoAndCompareAllocateNothing) {
    FreshStart();
    Fake.record = false;
    Fake.portInput = FrameOf(DefaultState(FunctionDualMono));
    ParamDesc& threshold = *FindParam(TableDualMono, 9);

    const long before = Allocations.load();
    for (int round = 0; round < 3; ++round) {
        BeginUserStep(StepKind::Drag, 5);
        for (int v = -49; v <= -40; ++v) {
            const double old = threshold.value;
            CommitUserValue(threshold, v, 5);
            NoteUserChange(threshold, old);
            Fake.portInputPos = 0;
            ReceiveFromPort();
        }
        EndUserStep();
        UndoStep(FunctionDualMono);
        RedoStep(FunctionDualMono);
        ToggleCompare(FunctionDualMono);
        CopyCompareSide(FunctionDualMono, CompareSide::A);
    }
    EXPECT_EQ(Allocations.load() - before, 0);
    EXPECT_TRUE(CanUndo(FunctionDualMono));
}

}  // namespace
