// The program's answers, byte for byte: parameter commands and their
// encodings, switches, store, recall, boot and the end-of-changes mark.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "link/host_encoder.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Frame(uint8_t cmd, uint8_t b4, uint8_t b5, uint8_t b6, uint8_t sum) {
    return {'Q', 'E', 'N', cmd, b4, b5, b6, sum};
}

class HostEncoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshStart();
        DeviceFunction = FunctionDualMono;
    }
    // Answers one frame; returns what was written, or nothing.
    Bytes Answer() {
        const size_t before = Fake.written.size();
        BuildAndSendReply();
        if (Fake.written.size() == before) return {};
        EXPECT_EQ(Fake.written.size(), before + 1);
        return Fake.written.back();
    }
    static void Mark(int table, int id, double v) {
        ParamDesc* p = FindParam(table, id);
        ASSERT_NE(p, nullptr);
        p->value = v;
        p->flags |= UserChangeFlags;
    }
};

TEST_F(HostEncoderTest, NothingDueMeansSilence) {
    EXPECT_TRUE(Answer().empty());
    EXPECT_TRUE(Answer().empty());
}

TEST_F(HostEncoderTest, ExamplesFromTheUnitsManual) {
    Mark(TableDualMono, 9, -50);
    EXPECT_EQ(Answer(), Frame(9, 0xCE, 0xFF, 0xFF, 43));
    EXPECT_EQ(Answer(), Frame(240, 0, 0, 0, 16));
    EXPECT_TRUE(Answer().empty());

    Mark(TableDualMono, 22, 170.0);
    EXPECT_EQ(Answer(), Frame(19, 164, 6, 0, 67));

    DeviceFunction = FunctionStereo;
    Mark(TableStereo, 22, 170.0);
    EXPECT_EQ(Answer(), Frame(14, 164, 6, 0, 72));
}

TEST_F(HostEncoderTest, ARecordWithoutCommandStillCostsAnAnswer) {
    FindParam(TableDualMono, 12)->flags |= SendPending;  // a readout
    EXPECT_EQ(Answer(), Frame(255, 0, 0, 0, 1));
    EXPECT_EQ(Answer(), Frame(240, 0, 0, 0, 16));
}

struct EncodingCase {
    int id;
    double value;
    uint8_t command, b4, b5, b6;
};

TEST_F(HostEncoderTest, EncodingsOfDualMonoSettings) {
    const EncodingCase cases[] = {
        {25, 0.7, 22, 7, 0, 0},      // tenths byte
        {11, 25.5, 11, 255, 0, 0},   // tenths byte at the top
        {10, 2.35, 10, 24, 0, 0},    // two decimals: rounded to the nearest tenth
        {10, 2.34, 10, 23, 0, 0},
        {10, 4.3999999999999995, 10, 44, 0, 0},  // 0.1 dragged up 43 steps
        {6, 12.9, 7, 12, 0, 0},      // byte: truncated
        {0, 2.0, 2, 2, 0, 0},        // selection: label index
        {27, -7.0, 24, 0xF9, 0xFF, 0xFF},
        {23, 0.1, 20, 1, 0, 0},      // tenths word
        {23, 25.6, 20, 0, 1, 0},
        {66, 1.0, 15, 1, 0, 0},
    };
    for (const EncodingCase& c : cases) {
        FreshStart();
        DeviceFunction = FunctionDualMono;
        Mark(TableDualMono, c.id, c.value);
        const Bytes got = Answer();
        ASSERT_EQ(got.size(), 8u) << c.id;
        EXPECT_EQ(got[3], c.command) << c.id;
        EXPECT_EQ(got[4], c.b4) << c.id << " " << c.value;
        EXPECT_EQ(got[5], c.b5) << c.id;
        EXPECT_EQ(got[6], c.b6) << c.id;
        EXPECT_EQ((got[3] + got[4] + got[5] + got[6] + got[7]) % 256, 0) << c.id;
    }
}

TEST_F(HostEncoderTest, ValuesFarOutsideTheLimitsEncodeWithoutOverflow) {
    uint8_t out[3];
    for (Encoding e : {Encoding::Byte, Encoding::TenthsByte, Encoding::TenthsWord, Encoding::Signed24}) {
        for (double v : {1e300, -1e300, HUGE_VAL, -HUGE_VAL, std::nan("")}) {
            EncodeValueBytes(e, v, out);  // must not trap under the sanitizer
        }
    }
    EncodeValueBytes(Encoding::Signed24, -50.0, out);
    EXPECT_EQ(out[0], 0xCE);
    EXPECT_EQ(out[2], 0xFF);
}

TEST_F(HostEncoderTest, SwitchesGoOutInTheUnitsLastSwitchWord) {
    SwitchWord = 0x200001;  // word clock and bypass on
    Mark(TableDualMono, 8, 1.0);  // Expander on: both of its bits
    EXPECT_EQ(Answer(), Frame(0, 0x07, 0x00, 0x20, static_cast<uint8_t>(0 - (0x07 + 0x20))));
    Mark(TableDualMono, 61, 0.0);  // bypass off
    const Bytes off = Answer();
    EXPECT_EQ(off[3], 0);
    EXPECT_EQ(off[4], 0x06);
    EXPECT_EQ(off[6], 0x20);
}

// On the wire the unit's next frame is already under way when an answer
// arrives, so the frame decoded after answer n still shows the switch word
// from before it. The switch command of answer n + 1 must not send that old
// word back and switch off what answer n switched on.
TEST_F(HostEncoderTest, ASwitchCommandDoesNotUndoTheSwitchSentInTheAnswerBefore) {
    const uint32_t reported = 0x200001;  // word clock and bypass on
    FindParam(TableDualMono, 1)->value = 0.0;
    FindParam(TableDualMono, 3)->value = 0.0;
    SwitchWord = reported;
    Mark(TableDualMono, 1, 1.0);  // phase invert left on
    const Bytes first = Answer();
    EXPECT_EQ(first[4], 0x41);

    SwitchWord = reported;        // the next frame still shows it off
    Mark(TableDualMono, 3, 1.0);  // phase invert right on
    const Bytes second = Answer();
    EXPECT_EQ(second[3], 0);
    EXPECT_EQ(second[4], 0xC1) << "both phase switches on, bypass as reported";
    EXPECT_EQ(second[6], 0x20);

    // Once confirmed (the walk has passed it and nothing is marked), a
    // switch goes out as the unit reports it again.
    Answer();
    SwitchWord = reported | 0xC0;
    FindParam(TableDualMono, 61)->value = 1.0;
    Mark(TableDualMono, 61, 0.0);  // bypass off
    EXPECT_EQ(Answer()[4], 0xC0);
}

// A hand-edited setup file may hold a switch at exactly 0.5 (the reader
// limits values but never rounds them). The panel draws it off, so the unit
// gets it off too, whether it goes out on its own or rides along with the
// next switch command while it is unconfirmed.
TEST_F(HostEncoderTest, ASwitchAtExactlyOneHalfGoesOutOffAsThePanelDrawsIt) {
    SwitchWord = 0xC0;  // the unit has both phase switches on
    Mark(TableDualMono, 1, 0.5);
    EXPECT_FALSE(IsOn(FindParam(TableDualMono, 1)->value));
    EXPECT_EQ(Answer()[4], 0x80);

    SwitchWord = 0xC0;  // the next frame still shows it on
    Mark(TableDualMono, 3, 0.5);
    EXPECT_EQ(Answer()[4], 0x00);
}

TEST_F(HostEncoderTest, SwitchesMarkedLaterInTheTableGoOutWithTheProgramsValue) {
    SwitchWord = 0x200001;
    FindParam(TableDualMono, 65)->value = 1.0;
    FindParam(TableDualMono, 61)->value = 1.0;
    Mark(TableDualMono, 65, 0.0);  // word clock off, later in the table
    Mark(TableDualMono, 61, 0.0);  // bypass off, earlier: its command goes first
    const Bytes first = Answer();
    EXPECT_EQ(first[4], 0x00);
    EXPECT_EQ(first[6], 0x00) << "the word clock switch waiting behind it is not sent back on";
}

TEST_F(HostEncoderTest, TheEarlierRecordGoesFirstWithoutAnEndMarkBetween) {
    Mark(TableDualMono, 54, 90);  // Level Meter Release, late in the table
    Mark(TableDualMono, 6, 60);   // Low Cut Frequency Left, early
    EXPECT_EQ(Answer()[3], 7);
    EXPECT_EQ(Answer()[3], 41);
    EXPECT_EQ(Answer()[3], 240);
}

TEST_F(HostEncoderTest, JustSentIsClearedOnlyOnRecordsTheWalkPasses) {
    Mark(TableDualMono, 54, 90);
    Answer();
    ParamDesc* release = FindParam(TableDualMono, 54);
    EXPECT_EQ(release->flags & (JustSent | SendPending), JustSent);
    Mark(TableDualMono, 6, 60);  // earlier in the table: the walk stops before 54
    Answer();
    EXPECT_TRUE(release->flags & JustSent);
    Answer();  // nothing marked: the walk passes every record
    EXPECT_EQ(release->flags & JustSent, 0u);
    EXPECT_EQ(FindParam(TableDualMono, 6)->flags & JustSent, 0u);
}

TEST_F(HostEncoderTest, StoringVocalInMemoryThree) {
    StoreSlot = 3;
    StoreNameChunksLeft = 4;
    std::memcpy(StoreName, "@@Vocal@@@@@", StoreNameSize);
    Mark(TableDualMono, 6, 60);  // waits until the store command is out
    EXPECT_EQ(Answer(), Frame(137, '@', '@', '@', static_cast<uint8_t>(0 - (137 + 3 * '@'))));
    EXPECT_EQ(Answer(), Frame(134, 'l', '@', '@', static_cast<uint8_t>(0 - (134 + 'l' + 2 * '@'))));
    EXPECT_EQ(Answer(), Frame(131, 'o', 'c', 'a', static_cast<uint8_t>(0 - (131 + 'o' + 'c' + 'a'))));
    EXPECT_EQ(Answer(), Frame(128, '@', '@', 'V', static_cast<uint8_t>(0 - (128 + 2 * '@' + 'V'))));
    EXPECT_EQ(Answer(), Frame(43, 3, 0, 0, 210));
    EXPECT_EQ(StoreSlot, 0);
    EXPECT_EQ(Answer()[3], 7);
    EXPECT_EQ(Answer()[3], 240);
}

TEST_F(HostEncoderTest, StoreChunkCountBeyondTheNameStaysInside) {
    StoreSlot = 1;
    StoreNameChunksLeft = 9;
    std::memcpy(StoreName, "@@ABCDEFGHIJ", StoreNameSize);
    const Bytes first = Answer();
    EXPECT_EQ(first[3], 137);
    EXPECT_EQ(first[4], 'H');
}

TEST_F(HostEncoderTest, RecallAndBootCommandsPerFunction) {
    RecallSlot = 5;
    EXPECT_EQ(Answer(), Frame(44, 5, 0, 0, static_cast<uint8_t>(0 - 49)));
    EXPECT_EQ(RecallSlot, 0);
    BootRequest = 3;  // Stereo
    EXPECT_EQ(Answer(), Frame(45, 2, 0, 0, static_cast<uint8_t>(0 - 47)));
    EXPECT_EQ(BootRequest, 0);

    DeviceFunction = FunctionStereo;
    RecallSlot = 2;
    EXPECT_EQ(Answer()[3], 32);
    BootRequest = 2;  // Analyser
    const Bytes boot = Answer();
    EXPECT_EQ(boot[3], 33);
    EXPECT_EQ(boot[4], 1);

    DeviceFunction = FunctionAnalyser;
    BootRequest = 1;
    const Bytes back = Answer();
    EXPECT_EQ(back[3], 20);
    EXPECT_EQ(back[4], 0);
}

TEST_F(HostEncoderTest, RecallWaitsBehindAStoreAndBootBehindARecall) {
    StoreSlot = 2;
    StoreNameChunksLeft = 0;
    RecallSlot = 4;
    BootRequest = 2;
    EXPECT_EQ(Answer()[3], 43);
    EXPECT_EQ(Answer()[3], 44);
    EXPECT_EQ(Answer()[3], 45);
    EXPECT_EQ(Answer()[3], 240);
}

TEST_F(HostEncoderTest, TheAnalyserSendsNeitherStoreNorRecall) {
    DeviceFunction = FunctionAnalyser;
    StoreSlot = 3;
    StoreNameChunksLeft = 4;
    RecallSlot = 2;
    Mark(TableAnalyser, 33, 6);
    EXPECT_EQ(Answer(), Frame(7, 6, 0, 0, static_cast<uint8_t>(0 - 13)));
    EXPECT_EQ(StoreSlot, 3);
    EXPECT_EQ(StoreNameChunksLeft, 4);
    EXPECT_EQ(RecallSlot, 2);
}

TEST_F(HostEncoderTest, ProgramChangesAreClampedAndCountedButNotUnsaved) {
    DeviceFunction = FunctionAnalyser;
    RequestParamChange(5.0, 34, TableAnalyser);  // Analyser Input Select, max 3
    const ParamDesc* input = FindParam(TableAnalyser, 34);
    EXPECT_EQ(input->value, 3.0);
    EXPECT_EQ(input->flags, UserChangeFlags);
    EXPECT_EQ(TransmitCount, 1);
    EXPECT_EQ(UnsavedChanges, 0);
    RequestParamChange(3.0, 34, TableAnalyser);
    EXPECT_EQ(TransmitCount, 1);
    EXPECT_EQ(Answer()[3], 8);
    EXPECT_EQ(TransmitCount, SendHoldFrames) << "the value went out: its answers follow";

    RequestParamChange(1.0, 46, TableAnalyser);  // Freeze has no command
    EXPECT_EQ(TransmitCount, SendHoldFrames + 1);
    EXPECT_EQ(Answer(), Frame(255, 0, 0, 0, 1));
    RequestParamChange(1.0, 7, TableStereo);  // no such record: nothing
    EXPECT_EQ(TransmitCount, SendHoldFrames + 1);
}

// A changed value that goes out the first time leaves at least the hold of
// a panel change behind it, however low the count was: a menu command's
// single count is used up by the very answer that carries it, the watchdog
// clears it for changes made offline, a later click sets it down to 5 while
// a setup load's values still wait. Without those answers the unit's next,
// older report would be taken over and a lost frame never sent again.
// Values sent again after a differing report keep the count as it is, so
// that one the unit does not take is given up when the count runs out.
TEST_F(HostEncoderTest, AChangedValueGoesOutWithItsAnswersAfterItARetryDoesNot) {
    TransmitCount = 0;
    Mark(TableDualMono, 6, 60);
    EXPECT_EQ(Answer()[3], 7);
    EXPECT_EQ(TransmitCount, SendHoldFrames);
    EXPECT_EQ(FindParam(TableDualMono, 6)->flags & (SendPending | JustSent | Resend), JustSent);

    TransmitCount = 8;
    Mark(TableDualMono, 6, 70);
    Answer();
    EXPECT_EQ(TransmitCount, 8) << "a higher count is left as it is";

    TransmitCount = 1;
    FindParam(TableDualMono, 6)->flags |= SendPending | Resend;  // the unit reported 60
    EXPECT_EQ(Answer()[3], 7);
    EXPECT_EQ(TransmitCount, 1);
    EXPECT_EQ(FindParam(TableDualMono, 6)->flags & (SendPending | Resend), 0u);

    // Changed again before the retry went out: a new value after all.
    DeviceFunction = FunctionAnalyser;
    FindParam(TableAnalyser, 34)->flags |= SendPending | Resend;
    TransmitCount = 0;
    RequestParamChange(2.0, 34, TableAnalyser);
    EXPECT_EQ(Answer()[3], 8);
    EXPECT_EQ(TransmitCount, SendHoldFrames);
}

TEST_F(HostEncoderTest, EveryCommandOfTheThreeFunctionsHasADistinctNumber) {
    for (int f = FunctionDualMono; f <= FunctionAnalyser; ++f) {
        bool used[128] = {};
        for (int id = 0; id < IdSlots; ++id) {
            const ParamCommand* c = FindParamCommand(f, id);
            if (c == nullptr || c->encoding == Encoding::Switch) continue;
            EXPECT_FALSE(used[c->command]) << "function " << f << " command " << c->command;
            used[c->command] = true;
            const DeviceRequestCommands r = RequestCommandsFor(f);
            EXPECT_NE(c->command, r.store);
            EXPECT_NE(c->command, r.recall);
            EXPECT_NE(c->command, r.boot);
        }
    }
}

}  // namespace
