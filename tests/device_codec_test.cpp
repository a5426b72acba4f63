// The unit side of the wire against the program side: whatever state a unit
// reports arrives in the tables exactly, and whatever the program sends the
// unit reads back as meant.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "link/device_codec.h"
#include "link/frame_decoder.h"
#include "link/frame_layout.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/test_support.h"

namespace {

// A small deterministic generator for varied states.
struct Lcg {
    uint32_t s;
    uint32_t Next() { return s = s * 1664525u + 1013904223u; }
    uint32_t Below(uint32_t n) { return (Next() >> 8) % n; }
};

// A random value that the field can carry exactly.
double RandomFieldValue(Lcg& rng, const SettingField& f) {
    const uint32_t raw = f.byte < 0 ? rng.Below(65536) : rng.Below(256);
    switch (f.conv) {
        case FieldConv::Tenths: return raw / 10.0;
        case FieldConv::Negative: return -static_cast<double>(raw);
        case FieldConv::None: break;
    }
    return raw;
}

class DeviceCodecTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(DeviceCodecTest, DualMonoAndStereoStatesArriveExactly) {
    Lcg rng{12345};
    for (int function : {FunctionDualMono, FunctionStereo}) {
        for (int round = 0; round < 50; ++round) {
            FreshStart();
            UnitFrameState s = DefaultState(function);
            for (const SettingField& f : DualMonoSettings) s.settings[f.id] = RandomFieldValue(rng, f);
            s.switchWord = rng.Next() & 0xFFFFFF;
            s.memoryNumber = 1 + static_cast<int>(rng.Below(16));
            for (char& c : s.memoryName) c = static_cast<char>('A' + rng.Below(26));
            s.memoryName[3] = ' ';
            s.currentMemory = static_cast<int>(rng.Below(17));
            Feed(FrameOf(s));

            const int t = function == FunctionDualMono ? TableDualMono : TableStereo;
            for (const SettingField& f : DualMonoSettings) {
                const int table = f.dualMonoOnly ? TableDualMono : t;
                EXPECT_EQ(FindParam(table, f.id)->value, s.settings[f.id]) << "id " << f.id;
            }
            for (const SwitchBit& b : DualMonoSwitches) {
                const ParamDesc* p = FindParam(t, b.id);
                if (p == nullptr) continue;  // ALC Link in Stereo
                EXPECT_EQ(p->value, (s.switchWord & b.mask) ? 1.0 : 0.0) << "switch " << b.id;
            }
            EXPECT_EQ(SwitchWord, s.switchWord);
            EXPECT_EQ(std::string(MemoryNames[s.memoryNumber], 10), std::string(s.memoryName, 10));
            EXPECT_EQ(CurrentMemory, s.currentMemory);
        }
    }
}

TEST_F(DeviceCodecTest, AnalyserStatesArriveExactly) {
    Lcg rng{777};
    for (int round = 0; round < 50; ++round) {
        FreshStart();
        FindParam(TableAnalyser, 44)->value = 1.0;  // instant hold keeps peaks simple
        UnitFrameState s = DefaultState(FunctionAnalyser);
        for (const SettingField& f : AnalyserSettings) s.settings[f.id] = RandomFieldValue(rng, f);
        s.switchWord = rng.Next() & 0xFFFFFF;
        for (uint8_t& b : s.meters.bands) b = static_cast<uint8_t>(1 + rng.Below(255));
        for (uint32_t& l : s.meters.analyserLevel) l = rng.Next() & 0xFFFFFF;
        Feed(FrameOf(s));

        for (const SettingField& f : AnalyserSettings)
            EXPECT_EQ(FindParam(TableAnalyser, f.id)->value, s.settings[f.id]) << "id " << f.id;
        for (const SwitchBit& b : AnalyserSwitches)
            EXPECT_EQ(FindParam(TableAnalyser, b.id)->value, (s.switchWord & b.mask) ? 1.0 : 0.0);
        for (int n = 1; n <= BandCount; ++n)
            EXPECT_EQ(FindParam(TableAnalyserDisplay, 2 * n - 2)->value, (s.meters.bands[n - 1] - 255) / 2.0)
                << "band " << n;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(FindParam(TableAnalyserDisplay, AnaLevelIds[i])->value, LevelDb(s.meters.analyserLevel[i]));
    }
}

TEST_F(DeviceCodecTest, FieldNumbersAreClampedToWhatTheFieldCarries) {
    EXPECT_EQ(SettingFieldNumber(300.0, static_cast<int>(FieldConv::None), false), 255u);
    EXPECT_EQ(SettingFieldNumber(-5.0, static_cast<int>(FieldConv::None), false), 0u);
    EXPECT_EQ(SettingFieldNumber(-50.0, static_cast<int>(FieldConv::Negative), false), 50u);
    EXPECT_EQ(SettingFieldNumber(170.0, static_cast<int>(FieldConv::Tenths), true), 1700u);
    EXPECT_EQ(SettingFieldNumber(1e9, static_cast<int>(FieldConv::Tenths), true), 65535u);
}

TEST_F(DeviceCodecTest, HostFramesWithBadMagicOrChecksumAreRejected) {
    const uint8_t good[8] = {'Q', 'E', 'N', 240, 0, 0, 0, 16};
    ParsedHostFrame p{};
    ASSERT_TRUE(ParseHostFrame(good, 8, &p));
    EXPECT_EQ(p.command, 240);

    uint8_t bad[8];
    std::memcpy(bad, good, 8);
    bad[7] = 17;
    EXPECT_FALSE(ParseHostFrame(bad, 8, &p));
    std::memcpy(bad, good, 8);
    bad[1] = 'X';
    EXPECT_FALSE(ParseHostFrame(bad, 8, &p));
    EXPECT_FALSE(ParseHostFrame(good, 7, &p));
}

TEST_F(DeviceCodecTest, EveryParameterCommandReadsBackAsTheProgramMeantIt) {
    for (int function = FunctionDualMono; function <= FunctionAnalyser; ++function) {
        const int table = function;  // tables 1 to 3 belong to functions 1 to 3
        int commands = 0;
        ParamDesc* records = TableByNumber(table);
        for (int i = 0; i < TableRecordCount(table); ++i) {
            ParamDesc& r = records[i];
            const ParamCommand* c = FindParamCommand(function, r.id);
            if (c == nullptr || c->encoding == Encoding::Switch) continue;
            for (double v : {r.min, r.max, (r.min + r.max) / 2}) {
                FreshStart();
                DeviceFunction = function;
                // Values the panel can produce: whole steps from min.
                const double stepped = r.min + std::floor((v - r.min) / r.step + 1e-9) * r.step;
                TableByNumber(table)[i].value = stepped;
                TableByNumber(table)[i].flags = SendPending;
                BuildAndSendReply();
                ASSERT_EQ(Fake.written.size(), 1u);
                ParsedHostFrame p{};
                ASSERT_TRUE(ParseHostFrame(Fake.written[0].data(), 8, &p));
                const ParamCommand* target = FindCommandTarget(function, p.command);
                ASSERT_NE(target, nullptr) << r.name;
                EXPECT_EQ(target->id, r.id) << r.name;
                const double expected = r.decimals > 0 ? std::round(stepped * 10) / 10 : std::trunc(stepped);
                EXPECT_NEAR(DecodeCommandValue(target->encoding, p), expected, 1e-9) << r.name << " " << stepped;
                ++commands;
            }
        }
        EXPECT_GT(commands, 0);
    }
}

TEST_F(DeviceCodecTest, RequestsAndSwitchCommandsAreNoParameterTargets) {
    for (int function = FunctionDualMono; function <= FunctionAnalyser; ++function) {
        for (int cmd : {0, 128, 131, 134, 137, 240, 255}) EXPECT_EQ(FindCommandTarget(function, cmd), nullptr);
        const DeviceRequestCommands r = RequestCommandsFor(function);
        EXPECT_EQ(FindCommandTarget(function, r.boot), nullptr);
    }
}

}  // namespace
