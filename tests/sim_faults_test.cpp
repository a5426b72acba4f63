// The simulated unit's fault options do what they say, counted by the
// program's own receiver: without faults every frame is valid; corrupted
// and sync-broken frames are lost and nothing else; noise loses nothing;
// an unplugged cable is silence both ways for as long as asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "link/frame_receiver.h"
#include "link/host_encoder.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/test_support.h"
#include "tools/sim/unit_model.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::unique_ptr<UnitModel> NewUnit(int function, const UnitFaults& faults, uint64_t seed = 11) {
    auto unit = std::make_unique<UnitModel>();
    UnitOptions o{};
    o.function = function;
    o.seed = seed;
    o.bootPauseUs = 100000;
    o.faults = faults;
    InitUnit(unit.get(), o);
    return unit;
}

UnitFaults NoFaults() { return {0.0, 0.0, 0.0, -1.0, 0.0}; }

struct Tally {
    int slots = 0;
    int frames = 0;     // slots that sent a frame
    int spoiled = 0;    // frames sent corrupted or with a sync word inside
    int noisy = 0;      // slots followed by noise
    int valid = 0;      // frames the program's receiver accepted
    std::vector<int> silentSlots;
};

// Runs the unit for `slots` frame slots into the program's receiver.
Tally RunInto(UnitModel* unit, int slots) {
    FreshStart();
    Fake.record = false;
    Tally run;
    for (int i = 0; i < slots; ++i) {
        UnitOutput out;
        UnitNextOutput(unit, &out);
        ++run.slots;
        if (out.frameSize == 0) {
            run.silentSlots.push_back(i);
            continue;
        }
        ++run.frames;
        run.spoiled += (out.corrupted || out.syncInData) ? 1 : 0;
        run.noisy += out.noiseBytes > 0 ? 1 : 0;
        for (size_t k = 0; k < out.size; ++k) ReceiveByte(out.bytes[k]);
    }
    run.valid = Fake.titleUpdates;  // one per valid frame
    return run;
}

class Qiv72simFaults : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(Qiv72simFaults, WithoutFaultsEveryFrameIsAcceptedInEveryFunction) {
    for (int fn : {FunctionDualMono, FunctionStereo, FunctionAnalyser}) {
        auto unit = NewUnit(fn, NoFaults());
        const Tally run = RunInto(unit.get(), 3000);
        EXPECT_EQ(run.frames, 3000);
        EXPECT_EQ(run.valid, 3000) << "function " << fn;
    }
}

struct FaultCase {
    const char* name;
    UnitFaults faults;
    double spoiledFraction;  // expected share of lost frames
    double noisyFraction;
};

TEST_F(Qiv72simFaults, FaultOptionsLoseExactlyTheFramesTheySpoil) {
    const FaultCase cases[] = {
        {"corrupt", {0.2, 0.0, 0.0, -1.0, 0.0}, 0.2, 0.0},
        {"sync-in-data", {0.0, 0.0, 0.1, -1.0, 0.0}, 0.1, 0.0},
        {"noise", {0.0, 0.3, 0.0, -1.0, 0.0}, 0.0, 0.3},
        {"all", {0.1, 0.5, 0.1, -1.0, 0.0}, 1.0 - 0.9 * 0.9, 0.5},
    };
    const int slots = 4000;
    for (const FaultCase& c : cases) {
        for (int fn : {FunctionDualMono, FunctionAnalyser}) {
            auto unit = NewUnit(fn, c.faults);
            const Tally run = RunInto(unit.get(), slots);
            EXPECT_EQ(run.valid, run.frames - run.spoiled) << c.name << " function " << fn;
            // Binomial spread at 4000 trials is below 0.01; allow 0.03.
            EXPECT_NEAR(run.spoiled / double(slots), c.spoiledFraction, 0.03) << c.name;
            EXPECT_NEAR(run.noisy / double(slots), c.noisyFraction, 0.03) << c.name;
        }
    }
}

TEST_F(Qiv72simFaults, ResealingAChangedFrameMakesItValidAgain) {
    for (int fn : {FunctionDualMono, FunctionAnalyser}) {
        FreshStart();
        uint8_t frame[160];
        const size_t size = BuildDeviceFrame(DefaultState(fn), frame);
        frame[4 * 5 + 1] ^= 0x5A;  // a data byte the unit changed afterwards
        EXPECT_FALSE(SealDeviceFrame(frame, size - 4)) << "wrong length";
        Feed(Bytes(frame, frame + size));
        EXPECT_EQ(Fake.titleUpdates, 0);
        ASSERT_TRUE(SealDeviceFrame(frame, size));
        Feed(Bytes(frame, frame + size));
        EXPECT_EQ(Fake.titleUpdates, 1);
    }
    uint8_t junk[160] = {'x'};
    EXPECT_FALSE(SealDeviceFrame(junk, sizeof junk));
}

TEST_F(Qiv72simFaults, NoiseIsOneToThirtyTwoRandomBytesAfterAFrame) {
    auto unit = NewUnit(FunctionDualMono, {0.0, 1.0, 0.0, -1.0, 0.0});
    size_t shortest = 100, longest = 0;
    for (int i = 0; i < 500; ++i) {
        UnitOutput out;
        UnitNextOutput(unit.get(), &out);
        ASSERT_EQ(out.frameSize, 160u);
        ASSERT_EQ(out.size, 160u + out.noiseBytes);
        shortest = std::min(shortest, out.noiseBytes);
        longest = std::max(longest, out.noiseBytes);
    }
    EXPECT_EQ(shortest, 1u);
    EXPECT_EQ(longest, 32u);
}

TEST_F(Qiv72simFaults, TheSameSeedGivesTheSameFaults) {
    const UnitFaults f = {0.2, 0.2, 0.2, -1.0, 0.0};
    auto a = NewUnit(FunctionStereo, f, 3), b = NewUnit(FunctionStereo, f, 3);
    for (int i = 0; i < 300; ++i) {
        UnitOutput oa, ob;
        UnitNextOutput(a.get(), &oa);
        UnitNextOutput(b.get(), &ob);
        ASSERT_EQ(oa.size, ob.size);
        ASSERT_EQ(0, std::memcmp(oa.bytes, ob.bytes, oa.size));
    }
}

TEST_F(Qiv72simFaults, FaultsLeaveTheMetersAsTheSeedMakesThem) {
    auto clean = NewUnit(FunctionDualMono, NoFaults(), 8);
    auto faulty = NewUnit(FunctionDualMono, {0.3, 0.3, 0.3, -1.0, 0.0}, 8);
    for (int i = 0; i < 300; ++i) {
        UnitOutput a, b;
        UnitNextOutput(clean.get(), &a);
        UnitNextOutput(faulty.get(), &b);
        ASSERT_EQ(0, std::memcmp(&clean->meters.shown, &faulty->meters.shown, sizeof clean->meters.shown));
    }
}

TEST_F(Qiv72simFaults, UnplugIsSilenceForTheTimeAskedAndDropsWhatTheProgramSends) {
    auto unit = NewUnit(FunctionDualMono, {0.0, 0.0, 0.0, 2.0, 1.0});
    const Tally run = RunInto(unit.get(), 120);  // 5 s
    ASSERT_FALSE(run.silentSlots.empty());
    // Slot i starts at i x 41.7 ms: silent from 2.0 s to 3.0 s.
    EXPECT_EQ(run.silentSlots.front(), static_cast<int>(std::ceil(2.0 / 0.0417)));
    EXPECT_EQ(run.silentSlots.back(), static_cast<int>(std::ceil(3.0 / 0.0417)) - 1);
    EXPECT_EQ(run.silentSlots.size(), size_t(run.silentSlots.back() - run.silentSlots.front() + 1));
    EXPECT_EQ(run.valid, 120 - static_cast<int>(run.silentSlots.size()));

    // By hand: nothing goes out and nothing comes in until it is plugged in.
    UnitSetUnplugged(unit.get(), true);
    const uint8_t frame[8] = {'Q', 'E', 'N', 7, 99, 0, 0, static_cast<uint8_t>(0u - 7 - 99)};
    HostReport report;
    for (uint8_t b : frame) EXPECT_FALSE(UnitReceiveByte(unit.get(), b, &report));
    EXPECT_EQ(unit->stats.hostDroppedBytes, 8u);
    UnitOutput out;
    UnitNextOutput(unit.get(), &out);
    EXPECT_EQ(out.size, 0u);
    UnitSetUnplugged(unit.get(), false);
    UnitNextOutput(unit.get(), &out);
    EXPECT_EQ(out.size, 160u);
    EXPECT_NE(CurrentFunctionState(*unit).current.value[6], 99.0);
    bool done = false;
    for (uint8_t b : frame) done = UnitReceiveByte(unit.get(), b, &report);
    EXPECT_TRUE(done);
    EXPECT_EQ(CurrentFunctionState(*unit).current.value[6], 99.0);
}

}  // namespace
