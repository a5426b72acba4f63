// The fault soak: an hour of a seeded random user per device function,
// against the simulated unit over a line that spoils 5 % of the frames in
// each direction, adds noise and plants sync words in the data, and in a
// second run per function is unplugged twice. Each run prints its figures;
// the assertions are what the link promises:
// - after a healthy spell the program's table and the unit agree, memory
//   names included, and nothing is left marked for sending;
// - every value the user set ends up in the unit (the last one of every
//   record: what the engineer hears), on a line that spoils frames and also
//   across cable pulls once the link is back; values a recall brought stay;
// - every store, recall and boot request is either delivered or accounted
//   for (dropped by the watchdog, spoiled or dropped on the line): requests
//   are sent once, so the line does lose some, and the figures show how many.
// A value that is not where it should be is explained in the printed notes
// (LossKind): spoiled frames with the retries run out, frames lost around a
// link loss, a stale switch word, an older value sent later, a recall.
#include <gtest/gtest.h>

#include <cstdio>

#include "link/link_state.h"
#include "tests/soak/soak_run.h"

namespace {

constexpr double Hour = 3600.0;

SoakConfig Config(const char* name, int function, uint64_t seed, int unplugs) {
    SoakConfig c{};
    c.name = name;
    c.function = function;
    c.seed = seed;
    c.mainSeconds = Hour;
    c.unplugs = unplugs;
    c.boots = true;
    c.deviceCorrupt = 0.05;
    c.deviceNoise = 0.02;
    c.deviceSyncInData = 0.01;
    c.hostCorrupt = 0.05;
    c.hostNoise = 0.01;
    c.healthySeconds = 5.0;
    return c;
}

int Lost(const SoakFigures& f, LossKind kind) { return f.lostByKind[static_cast<int>(kind)]; }

void ExpectRequestsAccountedFor(const char* name, const RequestFigures& r) {
    // Nothing waits any more at the end, so every request went one way or another.
    EXPECT_EQ(r.made, r.sent + r.droppedByProgram) << name;
    EXPECT_EQ(r.sent, r.delivered + r.spoiled + r.droppedByUnit) << name;
}

SoakFigures RunAndCheck(const SoakConfig& c) {
    const SoakFigures f = RunSoak(c);
    std::fputs(FormatSoakFigures(c, f).c_str(), stdout);
    std::printf(
        "[soak] %s: %d mismatches, %d lost edits of %llu records set, %d waiting, "
        "requests delivered %llu of %llu\n",
        c.name, f.mismatches, f.lostEdits, static_cast<unsigned long long>(f.recordsSet), f.waitingEdits,
        static_cast<unsigned long long>(f.store.delivered + f.recall.delivered + f.boot.delivered),
        static_cast<unsigned long long>(f.store.made + f.recall.made + f.boot.made));
    std::fflush(stdout);

    // The soak did what it claims: an hour in the function, the faults at
    // their rates, a user who did things.
    EXPECT_GE(f.secondsIn[c.function], c.mainSeconds);
    EXPECT_NEAR(static_cast<double>(f.framesCorrupted) / static_cast<double>(f.frames), c.deviceCorrupt, 0.01);
    EXPECT_NEAR(static_cast<double>(f.hostCorrupted) / static_cast<double>(f.hostFrames), c.hostCorrupt, 0.01);
    EXPECT_GT(f.framesWithSync, 0u);
    EXPECT_GT(f.noiseBursts, 0u);
    EXPECT_GT(f.edits, 1000u);
    EXPECT_GT(f.setupLoads, 10u);
    EXPECT_GT(f.boot.delivered, 0u);
    if (c.function != FunctionAnalyser) {
        EXPECT_GT(f.store.delivered, 0u);
        EXPECT_GT(f.recall.delivered, 0u);
    }

    // After the healthy spell: the table is the unit.
    EXPECT_EQ(f.mismatches, 0);
    EXPECT_EQ(f.memoryMismatches, 0);
    EXPECT_EQ(f.stillMarked, 0);
    EXPECT_EQ(f.spuriousChanges, 0);
    EXPECT_EQ(Lost(f, LossKind::Unexplained), 0);
    EXPECT_EQ(Lost(f, LossKind::NeverSent), 0);
    ExpectRequestsAccountedFor("store", f.store);
    ExpectRequestsAccountedFor("recall", f.recall);
    ExpectRequestsAccountedFor("boot", f.boot);
    return f;
}

// A line that spoils frames but stays connected (the link drops only while
// the unit reboots into another function): nothing the user set is lost.
void ExpectNothingLost(const SoakFigures& f) {
    EXPECT_EQ(f.linkLosses, f.boot.delivered) << "the link is lost only while the unit reboots";
    EXPECT_EQ(f.lostEdits, 0);
    EXPECT_EQ(f.recallValuesLost, 0);
}

// With the cable pulled twice while values are on the line: once frames come
// again, the link sends again what it sent but never saw confirmed, and
// every value still waiting gets its answers after it goes out; so nothing
// the user set is lost either. Store and recall requests made while the link
// was down are dropped by the watchdog, as the program does by design; they
// are counted, not asserted.
void ExpectNothingLostAcrossUnplugs(const SoakFigures& f) {
    EXPECT_GE(f.linkLosses, f.boot.delivered + 2);
    EXPECT_GT(f.hostDroppedBytes, 0u) << "the cable was pulled with frames on the line";
    EXPECT_EQ(f.lostEdits, 0);
    EXPECT_EQ(f.recallValuesLost, 0);
}

// On the corrupting line the user also undoes, redoes and compares A/B:
// those steps send values like any other edit, and at the end the unit runs
// the side shown (the table, which the mismatch count compares).
SoakConfig WithEditMenu(SoakConfig c) {
    c.undoAndCompare = true;
    return c;
}

void ExpectEditMenuUsed(const SoakFigures& f) {
    EXPECT_GT(f.undos, 20u);
    EXPECT_GT(f.redos, 20u);
    EXPECT_GT(f.compareSwitches, 20u);
    EXPECT_GT(f.compareCopies, 5u);
    EXPECT_TRUE(f.compareInUseAtEnd);
}

TEST(FaultSoak, DualMonoOnACorruptingLine) {
    const SoakFigures f = RunAndCheck(WithEditMenu(Config("Dual Mono, corrupting line", FunctionDualMono, 11, 0)));
    ExpectNothingLost(f);
    ExpectEditMenuUsed(f);
}
TEST(FaultSoak, StereoOnACorruptingLine) {
    const SoakFigures f = RunAndCheck(WithEditMenu(Config("Stereo, corrupting line", FunctionStereo, 12, 0)));
    ExpectNothingLost(f);
    ExpectEditMenuUsed(f);
}
TEST(FaultSoak, AnalyserOnACorruptingLine) {
    const SoakFigures f = RunAndCheck(WithEditMenu(Config("Analyser, corrupting line", FunctionAnalyser, 13, 0)));
    ExpectNothingLost(f);
    ExpectEditMenuUsed(f);
}

TEST(FaultSoak, DualMonoUnpluggedTwice) {
    ExpectNothingLostAcrossUnplugs(RunAndCheck(Config("Dual Mono, unplugged twice", FunctionDualMono, 21, 2)));
}
TEST(FaultSoak, StereoUnpluggedTwice) {
    ExpectNothingLostAcrossUnplugs(RunAndCheck(Config("Stereo, unplugged twice", FunctionStereo, 22, 2)));
}
TEST(FaultSoak, AnalyserUnpluggedTwice) {
    ExpectNothingLostAcrossUnplugs(RunAndCheck(Config("Analyser, unplugged twice", FunctionAnalyser, 23, 2)));
}

}  // namespace
