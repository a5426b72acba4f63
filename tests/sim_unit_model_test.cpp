// The simulated unit against the program's own link core: what the unit
// sends decodes to exactly the unit's state, and what the program sends
// changes the unit the way the program means it (parameters, switches,
// store, recall, boot). Invalid host frames never change the unit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "link/frame_layout.h"
#include "link/frame_receiver.h"
#include "link/host_encoder.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/test_support.h"
#include "tools/sim/unit_model.h"
#include "tools/sim/unit_state_text.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int Functions[] = {FunctionDualMono, FunctionStereo, FunctionAnalyser};

std::unique_ptr<UnitModel> NewUnit(int function, uint64_t seed = 1, int64_t bootPauseUs = 500000) {
    auto unit = std::make_unique<UnitModel>();
    UnitOptions o{};
    o.function = function;
    o.seed = seed;
    o.bootPauseUs = bootPauseUs;
    o.faults.unplugAfterS = -1.0;
    InitUnit(unit.get(), o);
    return unit;
}

// One frame slot of the unit; empty while it is silent.
Bytes NextOutput(UnitModel* unit) {
    UnitOutput out;
    UnitNextOutput(unit, &out);
    return Bytes(out.bytes, out.bytes + out.size);
}

// The program receives the unit's next frame; whatever it answers goes back
// to the unit. Returns the answers.
std::vector<Bytes> Exchange(UnitModel* unit) {
    const size_t before = Fake.written.size();
    Feed(NextOutput(unit));
    std::vector<Bytes> answers(Fake.written.begin() + static_cast<long>(before), Fake.written.end());
    for (const Bytes& a : answers) EXPECT_NE(UnitApplyHostFrame(unit, a.data()), HostOutcome::Invalid);
    return answers;
}

Bytes HostFrame(uint8_t cmd, uint8_t b4, uint8_t b5 = 0, uint8_t b6 = 0) {
    Bytes f = {'Q', 'E', 'N', cmd, b4, b5, b6, 0};
    f[7] = HostChecksum(f.data());
    return f;
}

const UnitSettings& Current(const UnitModel& unit) { return CurrentFunctionState(unit).current; }

double UnitValue(const UnitModel& unit, int id) { return UnitSettingValue(Current(unit), unit.function, id); }

// A value on the record's grid: `k` steps above min, as the frames carry it
// (tenths for one decimal).
double GridValue(const ParamDesc& r, long k) {
    if (r.decimals > 0) return (std::lround(r.min * 10) + k * std::lround(r.step * 10)) / 10.0;
    return r.min + static_cast<double>(k) * r.step;
}

long GridSteps(const ParamDesc& r) {
    if (r.decimals > 0) return (std::lround(r.max * 10) - std::lround(r.min * 10)) / std::lround(r.step * 10);
    return std::lround((r.max - r.min) / r.step);
}

// Every setting the unit carries gets a random value within its record's
// limits; random switches, memory names and current memory.
void Randomise(UnitModel* unit, std::mt19937* rng) {
    const int fn = unit->function;
    const int table = fn == FunctionAnalyser ? TableAnalyser : TableDualMono;  // Stereo carries the Dual Mono ids
    const ParamDesc* t = TableByNumber(table);
    for (int i = 0; i < TableRecordCount(table); ++i) {
        const ParamDesc& r = t[i];
        if (!IsSavedKind(r.kind) || !UnitCarriesSetting(fn, r.id)) continue;
        std::uniform_int_distribution<long> pick(0, GridSteps(r));
        ASSERT_TRUE(UnitSetSetting(unit, r.id, GridValue(r, pick(*rng))));
    }
    UnitFunctionState& f = CurrentFunctionState(unit);
    std::uniform_int_distribution<int> letter(0, 61);
    static const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (UnitMemory& m : f.memories)
        for (char& c : m.name) c = letter(*rng) < 6 ? ' ' : Alphabet[letter(*rng)];
    f.currentMemory = std::uniform_int_distribution<int>(1, 16)(*rng);
}

// The program's record of a setting for the unit's function: Stereo's
// right-channel settings live in the Dual Mono table.
const ParamDesc* ProgramRecord(int function, int id) {
    if (function == FunctionStereo)
        for (const SettingField& f : DualMonoSettings)
            if (f.id == id && f.dualMonoOnly) return FindParam(TableDualMono, id);
    return FindParam(function, id);
}

void ExpectProgramHasUnitState(const UnitModel& unit) {
    const int fn = unit.function;
    EXPECT_EQ(DeviceFunction, fn);
    EXPECT_EQ(SwitchWord, Current(unit).switchWord);
    int checked = 0;
    for (int id = 0; id < IdSlots; ++id) {
        if (!UnitCarriesSetting(fn, id)) continue;
        const ParamDesc* p = ProgramRecord(fn, id);
        if (p == nullptr) continue;  // Stereo has no "ALC Link L/R"
        EXPECT_EQ(p->value, UnitValue(unit, id)) << UnitFunctionName(fn) << " id " << id << " " << p->name;
        ++checked;
    }
    EXPECT_GT(checked, fn == FunctionAnalyser ? 15 : 40);
    if (fn == FunctionAnalyser) return;
    const UnitFunctionState& f = CurrentFunctionState(unit);
    EXPECT_EQ(CurrentMemory, f.currentMemory);
    for (int k = 1; k <= UnitMemoryCount; ++k)
        EXPECT_EQ(std::string(MemoryNames[k], 10), std::string(f.memories[k - 1].name, 10)) << "memory " << k;
}

class Qiv72simUnitModel : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(Qiv72simUnitModel, AFreshUnitAgreesWithTheProgramsStartUpTables) {
    for (int fn : Functions) {
        FreshStart();
        auto unit = NewUnit(fn);
        for (int i = 0; i < UnitMemoryCount; ++i) Feed(NextOutput(unit.get()));
        ExpectProgramHasUnitState(*unit);
        // Nothing to report differently: the program marked nothing.
        EXPECT_EQ(UnsavedChanges, 0) << UnitFunctionName(fn);
        EXPECT_TRUE(Fake.written.empty());
    }
}

TEST_F(Qiv72simUnitModel, FramesDecodeToTheUnitsStateInEveryFunction) {
    std::mt19937 rng(20240611);
    for (int fn : Functions) {
        for (int round = 0; round < 20; ++round) {
            FreshStart();
            auto unit = NewUnit(fn, 100 + round);
            Randomise(unit.get(), &rng);
            // 16 frames: the name walk passes every memory once.
            for (int i = 0; i < UnitMemoryCount; ++i) Feed(NextOutput(unit.get()));
            ExpectProgramHasUnitState(*unit);
            EXPECT_EQ(unit->stats.framesSent, static_cast<uint64_t>(Fake.titleUpdates));
        }
    }
}

TEST_F(Qiv72simUnitModel, MetersDecodeToWhatTheUnitShows) {
    for (int fn : Functions) {
        FreshStart();
        auto unit = NewUnit(fn, 7);
        const int t = fn == FunctionAnalyser ? TableAnalyserDisplay : fn;
        for (int i = 0; i < 400; ++i) {
            Feed(NextOutput(unit.get()));
            const UnitMeterReadings& r = unit->meters.shown;
            auto v = [&](int table, int id) { return FindParam(table, id)->value; };
            if (fn == FunctionAnalyser) {
                for (int ch = 0; ch < 2; ++ch) {
                    EXPECT_NEAR(v(t, 65 + ch), r.anaLevelDb[ch], 0.1);
                    EXPECT_NEAR(v(t, 68 + ch), r.anaHoldDb[ch], 0.1);
                    EXPECT_NEAR(v(t, ch == 0 ? 64 : 67), r.anaRmsDb[ch], 0.13);
                }
                for (int n = 1; n <= BandCount; ++n) EXPECT_EQ(v(t, 2 * n - 2), r.bandDb[n - 1]) << "band " << n;
                continue;
            }
            const int rightTable = TableDualMono;  // the right ALC readouts live there in Stereo too
            EXPECT_NEAR(v(t, 48), r.levelDb[0], 0.1);
            EXPECT_NEAR(v(t, 49), r.levelDb[1], 0.1);
            EXPECT_NEAR(v(t, 59), r.peakDb[0], 0.1);
            EXPECT_NEAR(v(t, 60), r.peakDb[1], 0.1);
            EXPECT_NEAR(v(t, 64), r.correlation, 1e-3);
            EXPECT_NEAR(v(t, 46), r.expanderDb[0], 0.01);
            EXPECT_NEAR(v(t, 16), r.expanderDb[1], 0.01);
            EXPECT_NEAR(v(t, 44), r.deesserDb[0], 0.01);
            EXPECT_NEAR(v(t, 32), r.deesserDb[1], 0.01);
            EXPECT_NEAR(v(t, 42), r.alcDb[0], 0.01);
            EXPECT_NEAR(v(rightTable, 40), r.alcDb[1], 0.01);
        }
    }
}

// The program changes every parameter that has a command, to its highest,
// lowest and a middle value; the unit, given the program's answer, must hold
// exactly the program's value, and nothing else may change. Then the unit's
// reports must settle the program (no more sending, same value).
TEST_F(Qiv72simUnitModel, EveryParameterCommandSetsWhatTheProgramMeans) {
    int commands = 0;
    for (int fn : Functions) {
        for (int id = 0; id < IdSlots; ++id) {
            const ParamCommand* c = FindParamCommand(fn, id);
            if (c == nullptr) continue;
            ++commands;
            FreshStart();
            auto unit = NewUnit(fn);
            Exchange(unit.get());
            Exchange(unit.get());
            ParamDesc* r = FindParam(fn, id);
            ASSERT_NE(r, nullptr) << fn << " " << id;
            const double values[] = {r->max, r->min, GridValue(*r, GridSteps(*r) / 2), r->max};
            for (double target : values) {
                if (target == r->value) continue;
                const UnitSettings before = Current(*unit);
                ASSERT_TRUE(CommitUserValue(*r, target, 5));
                const std::vector<Bytes> answers = Exchange(unit.get());
                ASSERT_EQ(answers.size(), 1u) << r->name;
                EXPECT_EQ(answers[0][3], c->command) << r->name;
                EXPECT_EQ(UnitValue(*unit, id), r->value) << UnitFunctionName(fn) << " " << r->name;
                if (c->encoding == Encoding::Switch) {
                    EXPECT_EQ(Current(*unit).switchWord & c->switchMask, target > 0.5 ? c->switchMask : 0u);
                }
                for (int other = 0; other < IdSlots; ++other) {
                    if (other == id) continue;
                    EXPECT_EQ(UnitSettingValue(Current(*unit), fn, other), UnitSettingValue(before, fn, other))
                        << r->name << " changed id " << other;
                }
                for (int i = 0; i < 20 && (TransmitCount > 0 || EndMarkDue); ++i) Exchange(unit.get());
                EXPECT_EQ(TransmitCount, 0);
                EXPECT_EQ(r->value, target) << r->name;
                EXPECT_EQ(r->flags & SendPending, 0u) << r->name;
                EXPECT_EQ(UnitValue(*unit, id), target) << r->name;
            }
        }
    }
    EXPECT_EQ(commands, 48 + 36 + 19);  // the three command tables
}

TEST_F(Qiv72simUnitModel, ProgramMadeChangesReachTheUnitToo) {
    auto unit = NewUnit(FunctionAnalyser);
    Exchange(unit.get());
    RequestParamChange(2, 34, TableAnalyser);  // the menu's "left+right"
    const std::vector<Bytes> answers = Exchange(unit.get());
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], HostFrame(8, 2));
    EXPECT_EQ(UnitValue(*unit, 34), 2.0);
}

TEST_F(Qiv72simUnitModel, StoreTakesNameAndSettingsRecallBringsThemBack) {
    for (int fn : {FunctionDualMono, FunctionStereo}) {
        FreshStart();
        auto unit = NewUnit(fn);
        Exchange(unit.get());
        // A setup worth storing.
        ASSERT_TRUE(CommitUserValue(*FindParam(fn, 6), 180, 5));
        ASSERT_TRUE(CommitUserValue(*FindParam(fn, 24), 0.0, 5));  // de-esser off
        for (int i = 0; i < 10; ++i) Exchange(unit.get());
        const UnitSettings stored = Current(*unit);
        ASSERT_EQ(UnitValue(*unit, 6), 180.0);

        StoreSlot = 3;
        StoreNameChunksLeft = 4;
        std::memcpy(StoreName, "@@Vocal@@@@@", StoreNameSize);
        std::vector<int> commands;
        for (int i = 0; i < 30 && (StoreSlot != 0 || EndMarkDue); ++i)
            for (const Bytes& a : Exchange(unit.get())) commands.push_back(a[3]);
        const int store = fn == FunctionDualMono ? 43 : 31;
        EXPECT_EQ(commands, (std::vector<int>{137, 134, 131, 128, store, 240}));
        const UnitFunctionState& f = CurrentFunctionState(*unit);
        EXPECT_EQ(std::string(f.memories[2].name, 10), "Vocal     ");
        EXPECT_EQ(std::memcmp(&f.memories[2].settings, &stored, sizeof stored), 0);
        EXPECT_EQ(f.currentMemory, 1) << "a store does not change the current memory";
        for (int i = 0; i < UnitMemoryCount; ++i) Exchange(unit.get());
        EXPECT_EQ(std::string(MemoryNames[3], 10), "Vocal     ");

        // Changed on the unit, then recalled from memory 3.
        ASSERT_TRUE(UnitSetSetting(unit.get(), 6, 90));
        ASSERT_TRUE(UnitSetSetting(unit.get(), 24, 1.0));
        for (int i = 0; i < 3; ++i) Exchange(unit.get());
        EXPECT_EQ(FindParam(fn, 6)->value, 90.0);
        RecallSlot = 3;
        commands.clear();
        for (int i = 0; i < 10 && (RecallSlot != 0 || EndMarkDue); ++i)
            for (const Bytes& a : Exchange(unit.get())) commands.push_back(a[3]);
        EXPECT_EQ(commands, (std::vector<int>{fn == FunctionDualMono ? 44 : 32, 240}));
        EXPECT_EQ(std::memcmp(&Current(*unit), &stored, sizeof stored), 0);
        EXPECT_EQ(CurrentFunctionState(*unit).currentMemory, 3);
        Exchange(unit.get());
        EXPECT_EQ(CurrentMemory, 3);
        EXPECT_EQ(FindParam(fn, 6)->value, 180.0);
        EXPECT_EQ(FindParam(fn, 24)->value, 0.0);
    }
}

TEST_F(Qiv72simUnitModel, StoreKeepsTheOldNameWhereNoChunkCame) {
    auto unit = NewUnit(FunctionDualMono);
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(128, '@', '@', 'X').data()), HostOutcome::Accepted);
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(43, 2).data()), HostOutcome::Applied);
    EXPECT_EQ(std::string(CurrentFunctionState(*unit).memories[1].name, 10), "Xrums     ");
    // The chunks are used up by that store.
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(43, 4).data()), HostOutcome::Applied);
    EXPECT_EQ(std::string(CurrentFunctionState(*unit).memories[3].name, 10), "Piano     ");
}

TEST_F(Qiv72simUnitModel, MemoryNumbersOutsideOneToSixteenAreIgnored) {
    auto unit = NewUnit(FunctionDualMono);
    const UnitModel before = *unit;
    for (uint8_t slot : {0, 17, 255}) {
        EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(43, slot).data()), HostOutcome::Ignored);
        EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(44, slot).data()), HostOutcome::Ignored);
    }
    EXPECT_EQ(std::memcmp(unit->functions, before.functions, sizeof before.functions), 0);
    EXPECT_EQ(unit->stateVersion, before.stateVersion);
}

TEST_F(Qiv72simUnitModel, BootChangesFunctionAfterASilentPauseAndKeepsEachFunctionsState) {
    auto unit = NewUnit(FunctionDualMono, 1, 500000);
    Exchange(unit.get());
    ASSERT_TRUE(CommitUserValue(*FindParam(TableDualMono, 7), 222, 5));
    for (int i = 0; i < 10; ++i) Exchange(unit.get());
    ASSERT_EQ(UnitValue(*unit, 7), 222.0);

    struct Step {
        int request;      // BootRequest
        int command;      // what the program sends
        uint8_t code;     // byte 4
        int function;     // what the unit becomes
        size_t frameSize;
    };
    const Step steps[] = {
        {3, 45, 2, FunctionStereo, 160},
        {2, 33, 1, FunctionAnalyser, 108},
        {1, 20, 0, FunctionDualMono, 160},
    };
    for (const Step& s : steps) {
        BootRequest = s.request;
        const std::vector<Bytes> answers = Exchange(unit.get());
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0], HostFrame(static_cast<uint8_t>(s.command), s.code));
        EXPECT_TRUE(UnitIsBooting(*unit));
        // Silent for the pause: 500 ms of slots of the old function.
        const int64_t start = unit->nowUs;
        int silent = 0;
        Bytes frame;
        while ((frame = NextOutput(unit.get())).empty()) ++silent;
        EXPECT_GE(unit->nowUs - start, 500000);
        EXPECT_LE(unit->nowUs - start, 500000 + 2 * UnitLongFramePeriodUs);
        EXPECT_GE(silent, 10);
        EXPECT_EQ(frame.size(), s.frameSize);
        EXPECT_EQ(unit->function, s.function);
        Feed(frame);
        EXPECT_EQ(DeviceFunction, s.function);
        Exchange(unit.get());  // the end-of-changes mark, wherever it lands
    }
    // Back in Dual Mono with what it had before.
    EXPECT_EQ(UnitValue(*unit, 7), 222.0);
    Exchange(unit.get());
    EXPECT_EQ(FindParam(TableDualMono, 7)->value, 222.0);
}

TEST_F(Qiv72simUnitModel, ARebootingUnitIgnoresEverythingAndBadBootCodesAreIgnored) {
    auto unit = NewUnit(FunctionDualMono);
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(45, 3).data()), HostOutcome::Ignored);
    EXPECT_FALSE(UnitIsBooting(*unit));
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(45, 1).data()), HostOutcome::Applied);
    ASSERT_TRUE(UnitIsBooting(*unit));
    const UnitModel before = *unit;
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(7, 99).data()), HostOutcome::Ignored);
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(45, 2).data()), HostOutcome::Ignored);
    EXPECT_EQ(std::memcmp(unit->functions, before.functions, sizeof before.functions), 0);
    EXPECT_EQ(unit->bootTarget, FunctionAnalyser);
}

TEST_F(Qiv72simUnitModel, RequestsOfOtherFunctionsAreNotObeyed) {
    // The Analyser has no memories; 43 is no Stereo command; 20 is "Delay
    // Time Right" in Dual Mono, not a boot.
    auto analyser = NewUnit(FunctionAnalyser);
    for (const Bytes& f : {HostFrame(137, '@', '@', '@'), HostFrame(43, 1), HostFrame(44, 1), HostFrame(45, 0)})
        EXPECT_EQ(UnitApplyHostFrame(analyser.get(), f.data()), HostOutcome::Ignored);
    auto stereo = NewUnit(FunctionStereo);
    EXPECT_EQ(UnitApplyHostFrame(stereo.get(), HostFrame(43, 1).data()), HostOutcome::Ignored);
    auto dual = NewUnit(FunctionDualMono);
    EXPECT_EQ(UnitApplyHostFrame(dual.get(), HostFrame(20, 100).data()), HostOutcome::Applied);
    EXPECT_FALSE(UnitIsBooting(*dual));
    EXPECT_EQ(UnitValue(*dual, 23), 10.0);
}

TEST_F(Qiv72simUnitModel, ValuesOutsideARecordsLimitsAreKeptWithinThem) {
    auto unit = NewUnit(FunctionDualMono);
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(7, 255).data()), HostOutcome::Applied);
    EXPECT_EQ(UnitValue(*unit, 6), 250.0);
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(36, 9).data()), HostOutcome::Applied);  // sample rate
    EXPECT_EQ(UnitValue(*unit, 55), 7.0);
    EXPECT_EQ(UnitApplyHostFrame(unit.get(), HostFrame(9, 0, 0, 0).data()), HostOutcome::Applied);
    EXPECT_EQ(UnitValue(*unit, 9), -30.0);
}

TEST_F(Qiv72simUnitModel, InvalidHostFramesNeverChangeTheUnit) {
    auto unit = NewUnit(FunctionDualMono);
    UnitApplyHostFrame(unit.get(), HostFrame(131, 'a', 'b', 'c').data());  // a chunk waiting
    const std::vector<Bytes> valid = {
        HostFrame(0, 0x00, 0x00, 0x00), HostFrame(7, 99),  HostFrame(9, 0xCE, 0xFF, 0xFF),
        HostFrame(19, 164, 6),          HostFrame(137, 'Z', 'Z', 'Z'), HostFrame(43, 3),
        HostFrame(44, 5),               HostFrame(45, 2),  HostFrame(240, 0),
    };
    const UnitModel before = *unit;
    int invalid = 0;
    for (const Bytes& f : valid) {
        for (int bit = 0; bit < 64; ++bit) {
            Bytes bad = f;
            bad[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
            ASSERT_EQ(UnitApplyHostFrame(unit.get(), bad.data()), HostOutcome::Invalid);
            ++invalid;
        }
        // And through the byte stream, with garbage around it.
        Bytes bad = f;
        bad[7] ^= 0x55;
        HostReport report;
        int reports = 0;
        for (uint8_t b : Bytes{'x', 'Q'}) reports += UnitReceiveByte(unit.get(), b, &report);
        for (uint8_t b : bad) reports += UnitReceiveByte(unit.get(), b, &report);
        EXPECT_EQ(reports, 1);
        EXPECT_EQ(report.outcome, HostOutcome::Invalid);
        ++invalid;
    }
    EXPECT_EQ(std::memcmp(unit->functions, before.functions, sizeof before.functions), 0);
    EXPECT_EQ(std::memcmp(unit->storeName, before.storeName, sizeof before.storeName), 0);
    EXPECT_EQ(unit->chunksSeen, before.chunksSeen);
    EXPECT_EQ(unit->function, before.function);
    EXPECT_EQ(unit->bootTarget, 0);
    EXPECT_EQ(unit->stateVersion, before.stateVersion);
    EXPECT_EQ(unit->stats.hostInvalid, static_cast<uint64_t>(invalid));
    EXPECT_EQ(unit->stats.hostValid, before.stats.hostValid);
}

TEST_F(Qiv72simUnitModel, HostFramesAreFoundInAnyStream) {
    auto unit = NewUnit(FunctionDualMono);
    const Bytes f1 = HostFrame(7, 80), f2 = HostFrame(8, 90), f3 = HostFrame(17, 3);
    Bytes stream = {'x', 'Q', 'Q', 'E', 'Q', 'E'};    // false starts
    stream.insert(stream.end(), f1.begin(), f1.end());
    stream.insert(stream.end(), {'Q', 'E', 'N', 1, 2});  // a broken frame swallowing the next one's start
    stream.insert(stream.end(), f2.begin(), f2.end());
    stream.insert(stream.end(), f3.begin(), f3.end());
    std::vector<HostReport> reports;
    // Byte by byte, as a slow line delivers it.
    for (uint8_t b : stream) {
        HostReport r;
        if (UnitReceiveByte(unit.get(), b, &r)) reports.push_back(r);
    }
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(Bytes(reports[0].bytes, reports[0].bytes + 8), f1);
    EXPECT_EQ(reports[1].outcome, HostOutcome::Invalid);
    EXPECT_EQ(Bytes(reports[2].bytes, reports[2].bytes + 8), f2);
    EXPECT_EQ(Bytes(reports[3].bytes, reports[3].bytes + 8), f3);
    EXPECT_EQ(UnitValue(*unit, 6), 80.0);
    EXPECT_EQ(UnitValue(*unit, 7), 90.0);
    EXPECT_EQ(UnitValue(*unit, 19), 3.0);
}

TEST_F(Qiv72simUnitModel, TheSeedDrivesTheMetersAndNothingElse) {
    for (int fn : Functions) {
        auto a = NewUnit(fn, 5), b = NewUnit(fn, 5), c = NewUnit(fn, 6);
        EXPECT_EQ(std::memcmp(a->functions, c->functions, sizeof a->functions), 0);
        bool differs = false;
        for (int i = 0; i < 200; ++i) {
            const Bytes fa = NextOutput(a.get()), fb = NextOutput(b.get()), fc = NextOutput(c.get());
            ASSERT_EQ(fa, fb) << "slot " << i;
            differs = differs || fa != fc;
        }
        EXPECT_TRUE(differs);
    }
}

// Meters behave like programme material through a processor: they move,
// stay in range and follow the switches and settings.
TEST_F(Qiv72simUnitModel, MetersFollowProgrammeSwitchesAndSettings) {
    auto unit = NewUnit(FunctionDualMono, 3);
    double lo = 0, hi = -200, deepestExp = 0, deepestDe = 0, maxAlc = 0, corrSum = 0;
    const int frames = 2000;  // about 80 s
    for (int i = 0; i < frames; ++i) {
        NextOutput(unit.get());
        const UnitMeterReadings& r = unit->meters.shown;
        for (int ch = 0; ch < 2; ++ch) {
            lo = std::fmin(lo, r.levelDb[ch]);
            hi = std::fmax(hi, r.levelDb[ch]);
            EXPECT_LE(r.levelDb[ch], 0.0);
            EXPECT_GE(r.peakDb[ch], r.levelDb[ch] - 1e-9);
            deepestExp = std::fmin(deepestExp, r.expanderDb[ch]);
            deepestDe = std::fmin(deepestDe, r.deesserDb[ch]);
            maxAlc = std::fmax(maxAlc, r.alcDb[ch]);
            EXPECT_LE(r.alcDb[ch], 10.0 + 1e-9) << "ALC Maximum Gain";
            EXPECT_GE(r.deesserDb[ch], -20.0 - 1e-9) << "De-esser Ratio";
        }
        corrSum += r.correlation;
    }
    EXPECT_LT(lo, -45.0);
    EXPECT_GT(hi, -15.0);
    EXPECT_LT(deepestExp, -3.0);
    EXPECT_LT(deepestDe, -3.0);
    EXPECT_GT(maxAlc, 3.0);
    EXPECT_LT(std::fabs(corrSum / frames), 0.4) << "two microphones hardly correlate";

    // Expander, de-esser and ALC off: their meters rest at 0.
    UnitApplyHostFrame(unit.get(), HostFrame(0, 0x01, 0x00, 0x00).data());
    for (int i = 0; i < 300; ++i) {
        NextOutput(unit.get());
        const UnitMeterReadings& r = unit->meters.shown;
        for (int ch = 0; ch < 2; ++ch) {
            EXPECT_EQ(r.expanderDb[ch], 0.0);
            EXPECT_EQ(r.deesserDb[ch], 0.0);
            EXPECT_EQ(r.alcDb[ch], 0.0);
        }
    }
}

TEST_F(Qiv72simUnitModel, StereoCorrelatesAndPhaseInversionTurnsItAround) {
    auto unit = NewUnit(FunctionStereo, 4);
    auto mean = [&] {
        double sum = 0;
        for (int i = 0; i < 1500; ++i) {
            NextOutput(unit.get());
            const double c = unit->meters.shown.correlation;
            EXPECT_GE(c, -1.0);
            EXPECT_LE(c, 1.0);
            sum += c;
        }
        return sum / 1500;
    };
    EXPECT_GT(mean(), 0.4);
    ASSERT_TRUE(UnitSetSetting(unit.get(), 1, 1.0));  // phase invert left
    mean();                                            // settle
    EXPECT_LT(mean(), -0.4);
}

TEST_F(Qiv72simUnitModel, TheAnalyserShowsAMovingSpectrumInAllBands) {
    auto unit = NewUnit(FunctionAnalyser, 9);
    ASSERT_TRUE(UnitSetSetting(unit.get(), 33, 6));  // 30 bands
    std::vector<std::vector<double>> seen(BandCount);
    for (int i = 0; i < 600; ++i) {
        NextOutput(unit.get());
        for (int n = 0; n < BandCount; ++n) seen[n].push_back(unit->meters.shown.bandDb[n]);
    }
    for (int n = 0; n < BandCount; ++n) {
        double lo = 0, hi = -200, sum = 0;
        for (double v : seen[n]) {
            lo = std::fmin(lo, v);
            hi = std::fmax(hi, v);
            sum += v;
        }
        EXPECT_GT(hi - lo, 10.0) << "band " << n + 1 << " hardly moves";
        EXPECT_GE(lo, -127.0);
        EXPECT_LE(hi, 0.0);
        // Most of the time inside the default display (top level -50 dB).
        EXPECT_GT(sum / seen[n].size(), -45.0) << "band " << n + 1;
    }
    // At 32 kHz nothing above 16 kHz: the 16.1 kHz and 20 kHz bands fall silent.
    ASSERT_TRUE(UnitSetSetting(unit.get(), 55, 0));
    for (int i = 0; i < 200; ++i) NextOutput(unit.get());
    EXPECT_EQ(unit->meters.shown.bandDb[28], -127.0);
    EXPECT_EQ(unit->meters.shown.bandDb[29], -127.0);
    EXPECT_GT(unit->meters.shown.bandDb[27], -127.0);
}

}  // namespace
