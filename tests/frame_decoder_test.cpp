// Decoding of device frames into the tables: conversions, the rules that
// protect the user's values, memory names and the analyser bands.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "link/frame_decoder.h"
#include "link/frame_receiver.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/test_support.h"

namespace {

double Value(int table, int id) { return FindParam(table, id)->value; }
uint32_t Flags(int table, int id) { return FindParam(table, id)->flags; }

class FrameDecoderTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(FrameDecoderTest, LevelMetersConvertToDecibels) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    s.meters.level[0] = 8388608;
    s.meters.level[1] = 0;
    s.meters.peak[0] = 1;
    s.meters.peak[1] = 4194304;
    Feed(FrameOf(s));
    EXPECT_DOUBLE_EQ(Value(TableDualMono, 48), 0.0);
    EXPECT_NEAR(Value(TableDualMono, 49), -138.47, 0.01);
    EXPECT_NEAR(Value(TableDualMono, 50), -138.47, 0.01);
    EXPECT_NEAR(Value(TableDualMono, 51), -6.02, 0.01);
    EXPECT_EQ(Value(TableDualMono, 59), Value(TableDualMono, 50));
    EXPECT_EQ(Value(TableDualMono, 60), Value(TableDualMono, 51));
}

TEST_F(FrameDecoderTest, CorrelationIsSignedSquareRoot) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    s.meters.correlation = -2097152;
    Feed(FrameOf(s));
    EXPECT_DOUBLE_EQ(Value(TableDualMono, 64), -0.5);
    s.meters.correlation = 8388607;
    Feed(FrameOf(s));
    EXPECT_NEAR(Value(TableDualMono, 64), 1.0, 1e-6);
}

TEST_F(FrameDecoderTest, MetersOfASwitchedOffSectionReadZero) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    s.switchWord &= ~(0x6u | 0xC0000u | 0xC000u);  // expander, de-esser, ALC off
    s.meters.expander[0] = s.meters.expander[1] = 1000;
    s.meters.deesser[0] = s.meters.deesser[1] = 4000000;
    s.meters.alc[0] = s.meters.alc[1] = 100;
    Feed(FrameOf(s));
    for (int id : {46, 12, 47, 16, 44, 28, 45, 32, 42, 37, 43, 40}) EXPECT_EQ(Value(TableDualMono, id), 0.0) << id;

    s.switchWord |= 0x6u;
    Feed(FrameOf(s));
    EXPECT_NEAR(Value(TableDualMono, 46), LevelDb(1000), 1e-9);
    EXPECT_NEAR(Value(TableDualMono, 16), LevelDb(1000), 1e-9);
}

TEST_F(FrameDecoderTest, InfiniteAndUndefinedMeterValuesAreStoredAsTheyCome) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    s.meters.alc[0] = 0;            // Gain(0): minus infinity
    s.meters.deesser[0] = 8388608;  // Reduction(8388608): minus infinity
    s.meters.deesser[1] = 9000000;  // above full scale: not a number
    Feed(FrameOf(s));
    EXPECT_TRUE(std::isinf(Value(TableDualMono, 42)));
    EXPECT_LT(Value(TableDualMono, 42), 0);
    EXPECT_TRUE(std::isinf(Value(TableDualMono, 44)));
    EXPECT_TRUE(std::isnan(Value(TableDualMono, 45)));
    EXPECT_TRUE(std::isnan(Value(TableDualMono, 32)));

    // The same NaN again is no change to draw.
    FindParam(TableDualMono, 45)->flags = 0;
    Feed(FrameOf(s));
    EXPECT_EQ(Flags(TableDualMono, 45) & Redraw, 0u);
}

TEST_F(FrameDecoderTest, ALevelChangeRedrawsTheBarAndItsPeakMarkTogether) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    Feed(FrameOf(s));
    for (ParamDesc& r : DualMonoTable) r.flags = 0;
    s.meters.level[1] = 5000;
    Feed(FrameOf(s));
    EXPECT_TRUE(Flags(TableDualMono, 49) & Redraw);
    EXPECT_TRUE(Flags(TableDualMono, 60) & Redraw);
    EXPECT_FALSE(Flags(TableDualMono, 48) & Redraw);
    EXPECT_FALSE(Flags(TableDualMono, 59) & Redraw);
}

TEST_F(FrameDecoderTest, SettingsFollowTheUnitAndMarkTheSetupModified) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    s.settings[22] = 12.3;  // Delay Time Left, tenths word
    s.settings[9] = -77;    // Expander Threshold Left, negative
    s.settings[0] = 2;      // Input Select Left
    Feed(FrameOf(s));
    EXPECT_DOUBLE_EQ(Value(TableDualMono, 22), 12.3);
    EXPECT_EQ(Value(TableDualMono, 9), -77.0);
    EXPECT_EQ(Value(TableDualMono, 0), 2.0);
    EXPECT_TRUE(Flags(TableDualMono, 22) & Redraw);
    EXPECT_EQ(UnsavedChanges, 1);
}

TEST_F(FrameDecoderTest, MetersAloneDoNotMarkTheSetupModified) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    Feed(FrameOf(s));
    UnsavedChanges = 0;
    s.meters.level[0] = 123456;
    Feed(FrameOf(s));
    EXPECT_EQ(UnsavedChanges, 0);
}

TEST_F(FrameDecoderTest, ADraggedSettingIgnoresTheUnit) {
    ParamDesc* lowCut = FindParam(TableDualMono, 6);
    lowCut->value = 120;
    lowCut->flags = Dragging;
    UnitFrameState s = DefaultState(FunctionDualMono);
    s.settings[6] = 80;
    Feed(FrameOf(s));
    EXPECT_EQ(lowCut->value, 120.0);
}

// The user drags, then holds the mouse still: the last value went out once,
// its frame was lost, and the count ran out while the control was held. The
// unit's old value must not be taken over at the release; it is sent again.
TEST_F(FrameDecoderTest, ADraggedValueTheUnitLacksIsSentAgain) {
    UnitFrameState s = DefaultState(FunctionDualMono);  // reports 50
    Feed(FrameOf(s));
    ParamDesc* lowCut = FindParam(TableDualMono, 6);
    lowCut->flags |= Dragging;
    CommitUserValue(*lowCut, 120.0, 5);
    for (int i = 0; i < 8; ++i) Feed(FrameOf(s));  // the unit never gets it
    EXPECT_EQ(lowCut->value, 120.0);
    int sends = 0;
    for (const std::vector<uint8_t>& w : Fake.written) sends += w[3] == 7 && w[4] == 120;
    EXPECT_GE(sends, 2);

    lowCut->flags &= ~Dragging;  // released
    s.settings[6] = 120;         // a later frame got through
    for (int i = 0; i < 8; ++i) Feed(FrameOf(s));
    EXPECT_EQ(lowCut->value, 120.0);
    EXPECT_EQ(lowCut->flags & (SendPending | JustSent), 0u);
}

TEST_F(FrameDecoderTest, WhileTransmittingADifferingSwitchIsSentBackInstead) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    Feed(FrameOf(s));  // the tables now equal the unit
    Fake.written.clear();
    TransmitCount = 4;  // one is used by answering the next frame
    s.switchWord &= ~0x30u;  // the unit reports Low Cut off
    Feed(FrameOf(s));
    const ParamDesc* lowCutOn = FindParam(TableDualMono, 5);
    EXPECT_EQ(lowCutOn->value, 1.0);
    EXPECT_TRUE(lowCutOn->flags & SendPending);
    EXPECT_EQ(TransmitCount, 4);
}

TEST_F(FrameDecoderTest, WhileTransmittingAnEqualSettingIsNeverMarked) {
    TransmitCount = 6;
    Feed(FrameOf(DefaultState(FunctionDualMono)));
    for (const ParamDesc& r : DualMonoTable) {
        if (IsSavedKind(r.kind)) {
            EXPECT_EQ(r.flags & SendPending, 0u) << r.name;
        }
    }
    EXPECT_EQ(TransmitCount, 5);
}

TEST_F(FrameDecoderTest, ARecordJustSentIgnoresTheFrameItAnswers) {
    UnitFrameState s = DefaultState(FunctionDualMono);      // reports 1
    CommitUserValue(*FindParam(TableDualMono, 19), 4.0, 5);  // NLC Gain Left
    Feed(FrameOf(s));
    ASSERT_EQ(Fake.written.size(), 1u);
    EXPECT_EQ(Fake.written[0][3], 17);
    EXPECT_EQ(Value(TableDualMono, 19), 4.0);
    EXPECT_EQ(Flags(TableDualMono, 19) & (JustSent | SendPending), JustSent);
    // Next frame: the walk clears JustSent first, then the decoder sees the
    // old value while transmitting and sends the user's value again.
    Feed(FrameOf(s));
    EXPECT_EQ(Value(TableDualMono, 19), 4.0);
    EXPECT_TRUE(Flags(TableDualMono, 19) & SendPending);
    s.settings[19] = 4.0;
    Feed(FrameOf(s));
    Feed(FrameOf(s));
    EXPECT_EQ(Flags(TableDualMono, 19) & (JustSent | SendPending), 0u);
}

struct MemoryCase {
    uint8_t tens, ones;
    int entry;
};

TEST_F(FrameDecoderTest, MemoryNumbersAndNames) {
    const MemoryCase cases[] = {{'1', '6', 16}, {'2', '3', 3}, {'1', '7', 0}, {'0', '1', 1},
                                {'0', '0', 0},  {'1', '0', 10}, {0xFF, 0x00, 0}};
    for (const MemoryCase& c : cases) {
        FreshStart();
        std::vector<uint8_t> f = FrameOf(DefaultState(FunctionDualMono));
        SetValueByte(f, 12, 2, c.tens);
        SetValueByte(f, 12, 1, c.ones);
        const char name[] = "V@c@l.xyz!";
        SetValueByte(f, 13, 0, name[0]);
        for (int i = 0; i < 3; ++i) {
            SetValueByte(f, 14, 2 - i, name[1 + i]);
            SetValueByte(f, 15, 2 - i, name[4 + i]);
            SetValueByte(f, 16, 2 - i, name[7 + i]);
        }
        Reseal(f);
        std::memset(MemoryNames[c.entry], 'Z', MemoryNameSize);
        Feed(f);
        EXPECT_EQ(std::string(MemoryNames[c.entry], 10), "V c l.xyz!") << int(c.tens) << int(c.ones);
        EXPECT_EQ(MemoryNames[c.entry][10], 'Z') << "the rest of the entry stays";
    }
}

TEST_F(FrameDecoderTest, CurrentMemoryComesFromWord38) {
    UnitFrameState s = DefaultState(FunctionStereo);
    s.currentMemory = 5;
    Feed(FrameOf(s));
    EXPECT_EQ(CurrentMemory, 5);
}

TEST_F(FrameDecoderTest, StereoRightChannelSettingsGoToTheDualMonoTable) {
    UnitFrameState s = DefaultState(FunctionStereo);
    s.settings[7] = 99;    // Low Cut Frequency Right
    s.settings[13] = -66;  // Expander Threshold Right
    s.settings[6] = 77;    // the common Low Cut Frequency
    Feed(FrameOf(s));
    EXPECT_EQ(Value(TableDualMono, 7), 99.0);
    EXPECT_EQ(Value(TableDualMono, 13), -66.0);
    EXPECT_EQ(Value(TableStereo, 6), 77.0);
    EXPECT_EQ(Value(TableDualMono, 6), 50.0) << "Dual Mono's left setting is not Stereo's";
}

TEST_F(FrameDecoderTest, BandBytesGiveHalfDecibelLevels) {
    UnitFrameState s = DefaultState(FunctionAnalyser);
    s.meters.bands[29] = 0;    // band 30
    s.meters.bands[28] = 1;    // band 29
    s.meters.bands[0] = 255;   // band 1
    s.meters.bands[14] = 200;  // band 15
    Feed(FrameOf(s));
    EXPECT_EQ(Value(TableAnalyserDisplay, 58), 0.0);
    EXPECT_EQ(Value(TableAnalyserDisplay, 56), -127.0);
    EXPECT_EQ(Value(TableAnalyserDisplay, 0), 0.0);
    EXPECT_EQ(Value(TableAnalyserDisplay, 28), -27.5);
}

TEST_F(FrameDecoderTest, AnalyserLevelMetersAndQuarterWords) {
    UnitFrameState s = DefaultState(FunctionAnalyser);
    s.meters.analyserLevel[0] = 8388608;
    s.meters.analyserLevel[3] = 4194304;
    s.meters.quarter[0] = 16777216 - 12 - 40;  // -10 dB
    s.meters.quarter[1] = 16777215;            // would be above -0.00002
    Feed(FrameOf(s));
    EXPECT_EQ(Value(TableAnalyserDisplay, 65), 0.0);
    EXPECT_NEAR(Value(TableAnalyserDisplay, 69), -6.02, 0.01);
    EXPECT_EQ(Value(TableAnalyserDisplay, 64), -10.0);
    EXPECT_EQ(Value(TableAnalyserDisplay, 67), -0.00002);
}

class BandPeakTest : public FrameDecoderTest {
protected:
    // Band 1 at the given byte; returns band 1's peak record.
    void SetUp() override {
        FrameDecoderTest::SetUp();
        // Peaks start at 0 dB and would fall first; start them at the floor.
        FindParam(TableAnalyserDisplay, 1)->value = -130.0;
    }
    ParamDesc* FeedBand1(uint8_t b) {
        UnitFrameState s = DefaultState(FunctionAnalyser);
        s.meters.bands[0] = b;
        Feed(FrameOf(s));
        return FindParam(TableAnalyserDisplay, 1);
    }
};

TEST_F(BandPeakTest, PeakHoldsForTheHoldTimeThenFallsOneDecibelPerFrame) {
    ASSERT_EQ(Value(TableAnalyser, 39), 1.0);  // Analyser Peak Hold 1.0 s: 20 frames
    ParamDesc* peak = FeedBand1(235);          // -10 dB
    EXPECT_EQ(peak->value, -10.0);
    EXPECT_EQ(peak->holdCount, 20);
    for (int i = 0; i < 20; ++i) FeedBand1(155);  // -50 dB
    EXPECT_EQ(peak->value, -10.0);
    EXPECT_EQ(peak->holdCount, 0);
    FeedBand1(155);
    EXPECT_EQ(peak->value, -11.0);
    for (int i = 0; i < 39; ++i) FeedBand1(155);
    EXPECT_EQ(peak->value, -50.0);
    FeedBand1(155);  // equal is not below: it falls once more...
    EXPECT_EQ(peak->value, -51.0);
    FeedBand1(155);  // ...then takes the level and holds again
    EXPECT_EQ(peak->value, -50.0);
    EXPECT_EQ(peak->holdCount, 20);
}

TEST_F(BandPeakTest, InstantHoldNeverFalls) {
    FindParam(TableAnalyser, 44)->value = 1.0;
    ParamDesc* peak = FeedBand1(235);
    for (int i = 0; i < 100; ++i) FeedBand1(155);
    EXPECT_EQ(peak->value, -10.0);
    EXPECT_EQ(peak->holdCount, 20);
}

TEST_F(BandPeakTest, FreezeKeepsEveryBand) {
    FeedBand1(235);
    FindParam(TableAnalyser, 46)->value = 1.0;
    const double level = Value(TableAnalyserDisplay, 0);
    for (int i = 0; i < 30; ++i) FeedBand1(100);
    EXPECT_EQ(Value(TableAnalyserDisplay, 0), level);
    EXPECT_EQ(Value(TableAnalyserDisplay, 1), -10.0);
}

TEST_F(BandPeakTest, AHugeHandEditedHoldTimeDoesNotOverflow) {
    FindParam(TableAnalyser, 39)->value = 1e12;
    ParamDesc* peak = FeedBand1(235);
    EXPECT_GT(peak->holdCount, 0);
    FindParam(TableAnalyser, 39)->value = std::nan("");
    FeedBand1(255);
    EXPECT_EQ(peak->holdCount, 0);
}

TEST_F(FrameDecoderTest, LookupsThatFindNothingAreSkipped) {
    DecodeSetting(1.0, 7, TableStereo);
    DecodeSwitch(true, 41, TableStereo);
    DecodeMeter(1.0, 70, TableAnalyser);
    DecodeMeter(1.0, 0, 9);
    EXPECT_EQ(UnsavedChanges, 0);
}

}  // namespace
