// The receiver: synchronisation, assembly across reads, the checksum and
// the per-frame sequence.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "link/frame_receiver.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/test_support.h"

namespace {

// A frame of the function with every data word 0 and a correct checksum.
std::vector<uint8_t> ZeroFrame(int function) {
    std::vector<uint8_t> f(function == FunctionAnalyser ? AnalyserFrameBytes : DualMonoFrameBytes, 0);
    for (const SyncWord& s : SyncWords)
        if (s.function == function)
            for (int i = 0; i < 4; ++i) f[i] = s.bytes[i];
    Reseal(f);
    return f;
}

class FrameReceiverTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
    int framesHandled() const { return Fake.titleUpdates; }
};

TEST_F(FrameReceiverTest, FrameCompletesAtItsLastChecksumByteWithoutThePadByte) {
    const std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionDualMono));
    for (int i = 0; i < 158; ++i) ReceiveByte(frame[i]);
    EXPECT_EQ(Online, 0);
    EXPECT_EQ(framesHandled(), 0);
    ReceiveByte(frame[158]);  // offset 158: the 155th byte after the sync word
    EXPECT_EQ(Online, 1);
    EXPECT_EQ(framesHandled(), 1);
    EXPECT_EQ(DeviceFunction, FunctionDualMono);
}

TEST_F(FrameReceiverTest, SyncTextInCharacterOrderIsNoSyncWord) {
    Feed({'6', '3', '8', '7'});
    EXPECT_EQ(DeviceFunction, FunctionNone);
    Feed({'7', '8', '3', '6'});
    EXPECT_EQ(DeviceFunction, FunctionDualMono);
    Feed({'7', '8', '1', '6'});
    EXPECT_EQ(DeviceFunction, FunctionStereo);
    Feed({'7', '6', '4', '6'});
    EXPECT_EQ(DeviceFunction, FunctionAnalyser);
}

TEST_F(FrameReceiverTest, WrongChecksumDropsTheFrameButTheSyncWordCounts) {
    std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionStereo));
    frame[156] ^= 0x01;
    SilenceTicks = 2;
    Feed(frame);
    EXPECT_EQ(DeviceFunction, FunctionStereo);
    EXPECT_EQ(Online, 0);
    EXPECT_EQ(SilenceTicks, 2);
    EXPECT_TRUE(Fake.written.empty());
    EXPECT_EQ(framesHandled(), 0);
    EXPECT_TRUE(Fake.redraws.empty());
}

TEST_F(FrameReceiverTest, SyncWordInsideAFrameRestartsCollection) {
    const std::vector<uint8_t> dual = FrameOf(DefaultState(FunctionDualMono));
    Feed(std::vector<uint8_t>(dual.begin(), dual.begin() + 60));
    Feed({'7', '8', '1'});
    EXPECT_EQ(DeviceFunction, FunctionDualMono);
    ReceiveByte('6');
    EXPECT_EQ(DeviceFunction, FunctionStereo);
    EXPECT_EQ(FrameReceiver.collectedCount, 1);
    EXPECT_EQ(FrameReceiver.collectedBytes[1], '6');
    EXPECT_EQ(FrameReceiver.expectedCount, 156);

    const std::vector<uint8_t> stereo = FrameOf(DefaultState(FunctionStereo));
    Feed(std::vector<uint8_t>(stereo.begin() + 4, stereo.end()));
    EXPECT_EQ(framesHandled(), 1);
    EXPECT_EQ(Online, 1);
}

TEST_F(FrameReceiverTest, FramesSplitOverReadsAssembleAsInOneRead) {
    std::vector<uint8_t> stream;
    for (int function : {FunctionDualMono, FunctionAnalyser, FunctionStereo, FunctionDualMono}) {
        const std::vector<uint8_t> f = FrameOf(DefaultState(function));
        stream.insert(stream.end(), f.begin(), f.end());
    }
    for (int chunk : {1, 2, 3, 5, 7, 159, 1024}) {
        FreshStart();
        Fake.portInput = stream;
        Fake.readChunk = chunk;
        while (Fake.portInputPos < Fake.portInput.size()) {
            const size_t before = Fake.portInputPos;
            const int fed = ReceiveFromPort();
            ASSERT_EQ(static_cast<size_t>(fed), Fake.portInputPos - before) << "read size " << chunk;
        }
        EXPECT_EQ(framesHandled(), 4) << "read size " << chunk;
        EXPECT_EQ(DeviceFunction, FunctionDualMono);
    }
}

TEST_F(FrameReceiverTest, AnEmptyReadHasNoEffect) {
    EXPECT_EQ(ReceiveFromPort(), 0);
    EXPECT_EQ(Fake.portReads, 1);
    EXPECT_EQ(FrameReceiver.collectedCount, 0);
    EXPECT_EQ(framesHandled(), 0);
}

TEST_F(FrameReceiverTest, BackToBackFramesAreBothTakenAndTheTailIsIgnored) {
    std::vector<uint8_t> two = FrameOf(DefaultState(FunctionDualMono));
    const std::vector<uint8_t> second = two;
    two.insert(two.end(), second.begin(), second.end());
    for (size_t i = 0; i < 163; ++i) ReceiveByte(two[i]);
    // Pad byte of the checksum word and three sync bytes: collected, ignored.
    EXPECT_EQ(FrameReceiver.collectedCount, 160);
    EXPECT_EQ(framesHandled(), 1);
    Feed(std::vector<uint8_t>(two.begin() + 163, two.end()));
    EXPECT_EQ(framesHandled(), 2);
}

TEST_F(FrameReceiverTest, NoiseWithoutSyncIsCollectedUpToTheLimitAndNeverTested) {
    std::vector<uint8_t> noise(1000);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 37 + 11);
    Feed(noise);
    EXPECT_LE(FrameReceiver.collectedCount, MaxCollected);
    EXPECT_EQ(DeviceFunction, FunctionNone);
    EXPECT_EQ(framesHandled(), 0);
}

TEST_F(FrameReceiverTest, ZeroFramesNeedTheSyncValueAsChecksum) {
    std::vector<uint8_t> dual = ZeroFrame(FunctionDualMono);
    EXPECT_EQ(dual[156], 0x37);
    EXPECT_EQ(dual[157], 0x38);
    EXPECT_EQ(dual[158], 0x33);
    dual[7] = 0xAB;  // pad bytes are not part of the sum
    dual[159] = 0xCD;
    Feed(dual);
    EXPECT_EQ(framesHandled(), 1);

    std::vector<uint8_t> one = ZeroFrame(FunctionDualMono);
    SetWord(one, 1, 1);
    Reseal(one);
    EXPECT_EQ(one[156], 0x38);
    EXPECT_EQ(one[157], 0x38);
    EXPECT_EQ(one[158], 0x33);
    Feed(one);
    EXPECT_EQ(framesHandled(), 2);

    const std::vector<uint8_t> ana = ZeroFrame(FunctionAnalyser);
    EXPECT_EQ(ana[104], 0x37);
    EXPECT_EQ(ana[105], 0x36);
    EXPECT_EQ(ana[106], 0x34);
    Feed(ana);
    EXPECT_EQ(framesHandled(), 3);
}

TEST_F(FrameReceiverTest, TheSumWrapsAt24Bits) {
    std::vector<uint8_t> f = ZeroFrame(FunctionDualMono);
    for (int w = 18; w <= 37; ++w) SetWord(f, w, 0xFFFFFF);  // settings words: far past 2^24 in sum
    Reseal(f);
    Feed(f);
    EXPECT_EQ(framesHandled(), 1);
}

TEST_F(FrameReceiverTest, WaitingStoreIsAnsweredOnlyEveryThirdFrame) {
    StoreSlot = 3;
    StoreNameChunksLeft = 4;
    const std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionDualMono));
    Feed(frame);
    Feed(frame);
    EXPECT_TRUE(Fake.written.empty());
    Feed(frame);
    ASSERT_EQ(Fake.written.size(), 1u);
    EXPECT_EQ(Fake.written[0][3], 137);
    Feed(frame);
    Feed(frame);
    EXPECT_EQ(Fake.written.size(), 1u);
    Feed(frame);
    EXPECT_EQ(Fake.written.size(), 2u);
}

TEST_F(FrameReceiverTest, AnalyserAnswersEveryFrameEvenWithAStoreWaiting) {
    StoreSlot = 3;
    StoreNameChunksLeft = 4;
    FindParam(TableAnalyser, 35)->flags |= SendPending;
    FindParam(TableAnalyser, 36)->flags |= SendPending;
    const std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionAnalyser));
    Feed(frame);
    Feed(frame);
    ASSERT_EQ(Fake.written.size(), 2u);
    EXPECT_EQ(Fake.written[0][3], 10);
    EXPECT_EQ(Fake.written[1][3], 11);
    EXPECT_EQ(StoreSlot, 3) << "the Analyser neither sends nor clears a store";
}

TEST_F(FrameReceiverTest, EachAnsweredFrameCountsTheTransmitHoldDown) {
    TransmitCount = 2;
    const std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionDualMono));
    Feed(frame);
    EXPECT_EQ(TransmitCount, 1);
    Feed(frame);
    Feed(frame);
    EXPECT_EQ(TransmitCount, 0);
}

TEST_F(FrameReceiverTest, RedrawRequestsFollowTheFunction) {
    Feed(FrameOf(DefaultState(FunctionStereo)));
    ASSERT_EQ(Fake.redraws.size(), 1u);
    EXPECT_EQ(Fake.redraws[0].target, PanelTarget::MainWindow);
    EXPECT_EQ(Fake.redraws[0].table, StereoTable);
    EXPECT_EQ(Fake.redraws[0].count, 57);
    EXPECT_EQ(Fake.redraws[0].panelType, 0);

    Fake.redraws.clear();
    Feed(FrameOf(DefaultState(FunctionAnalyser)));
    ASSERT_EQ(Fake.redraws.size(), 2u);
    EXPECT_EQ(Fake.redraws[0].target, PanelTarget::AnalyserSettingsWindow);
    EXPECT_EQ(Fake.redraws[0].table, AnalyserTable);
    EXPECT_EQ(Fake.redraws[0].count, 28);
    EXPECT_EQ(Fake.redraws[0].panelType, 2);
    EXPECT_EQ(Fake.redraws[1].target, PanelTarget::MainWindow);
    EXPECT_EQ(Fake.redraws[1].table, AnalyserDisplayTable);
    EXPECT_EQ(Fake.redraws[1].count, 73);
    EXPECT_EQ(Fake.redraws[1].panelType, 3);
}

uint32_t WordOf(const std::vector<uint8_t>& hostFrame) {
    return hostFrame[4] | (hostFrame[5] << 8) | (static_cast<uint32_t>(hostFrame[6]) << 16);
}

TEST_F(FrameReceiverTest, TheAnswerIsBuiltBeforeTheFrameIsDecoded) {
    // Frame 1 reports Delay Time Left 20; the user set 30 before frame 1 is
    // answered: the answer carries 30 and the record keeps it (just sent).
    const std::vector<uint8_t> first = FrameOf(DefaultState(FunctionDualMono));
    Feed(first);
    UnitFrameState s = DefaultState(FunctionDualMono);
    s.settings[22] = 20.0;
    CommitUserValue(*FindParam(TableDualMono, 22), 30.0, 5);
    Feed(FrameOf(s));
    ASSERT_EQ(Fake.written.size(), 1u);
    EXPECT_EQ(Fake.written[0][3], 19);
    EXPECT_EQ(Fake.written[0][4], 44);  // 300 tenths
    EXPECT_EQ(FindParam(TableDualMono, 22)->value, 30.0);

    // A switch command answers frame n with the switch word of frame n - 1.
    s = DefaultState(FunctionDualMono);
    s.switchWord &= ~0x1u;  // the unit reports Full Bypass off in this frame
    CommitUserValue(*FindParam(TableDualMono, 21), 0.0, 5);
    Feed(FrameOf(s));
    ASSERT_EQ(Fake.written.size(), 2u);
    EXPECT_EQ(WordOf(Fake.written[1]), DefaultState(FunctionDualMono).switchWord & ~0x3000u);
    EXPECT_EQ(SwitchWord, s.switchWord);
}

// The first frame ever, or of another function, has no frame before it in
// this function: a switch command then takes this frame's switch word, never
// an empty one or another function's, which would switch everything else.
TEST_F(FrameReceiverTest, TheFirstAnswerInAFunctionUsesThatFunctionsSwitchWord) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    s.switchWord &= ~0x1u;  // bypass off
    CommitUserValue(*FindParam(TableDualMono, 21), 0.0, 5);  // delay off
    Feed(FrameOf(s));
    ASSERT_EQ(Fake.written.size(), 1u);
    EXPECT_EQ(Fake.written[0][3], 0);
    EXPECT_EQ(WordOf(Fake.written[0]), s.switchWord & ~0x3000u);

    // Booted into the Analyser: a phase switch changed while the unit
    // rebooted goes out in the Analyser's word, not in Dual Mono's.
    UnitFrameState a = DefaultState(FunctionAnalyser);
    a.switchWord = 0x200001;  // word clock, bypass
    CommitUserValue(*FindParam(TableAnalyser, 1), 1.0, 5);
    Feed(FrameOf(a));
    ASSERT_EQ(Fake.written.size(), 2u);
    EXPECT_EQ(Fake.written[1][3], 0);
    EXPECT_EQ(WordOf(Fake.written[1]), 0x200041u);
}

// Stereo frames fill the Dual Mono table's right-channel settings with
// Stereo's values. Back in Dual Mono, a change made right away must not push
// those back into the Dual Mono unit: its first frame is taken over.
TEST_F(FrameReceiverTest, TheFirstFrameOfAnotherFunctionIsTakenOverNotPushedBack) {
    const std::vector<uint8_t> dual = FrameOf(DefaultState(FunctionDualMono));  // 50 there
    Feed(dual);
    UnitFrameState stereo = DefaultState(FunctionStereo);
    stereo.settings[7] = 99;  // Low Cut Frequency Right of the Stereo unit
    Feed(FrameOf(stereo));
    ASSERT_EQ(FindParam(TableDualMono, 7)->value, 99.0);

    CommitUserValue(*FindParam(TableDualMono, 6), 120.0, 5);  // a change right away
    Fake.written.clear();
    Feed(dual);
    Feed(dual);
    Feed(dual);
    EXPECT_EQ(FindParam(TableDualMono, 7)->value, 50.0);
    EXPECT_EQ(FindParam(TableDualMono, 7)->flags & (SendPending | JustSent), 0u);
    for (const std::vector<uint8_t>& w : Fake.written) EXPECT_NE(w[3], 8) << "Low Cut Frequency Right sent";
    EXPECT_EQ(Fake.written.front()[3], 7) << "the user's change still goes out";
    EXPECT_GT(TransmitCount, 0);

    // A later frame of the same function is compared as usual.
    UnitFrameState changed = DefaultState(FunctionDualMono);
    changed.settings[6] = 120;  // the user's change has arrived
    changed.settings[7] = 80;
    Feed(FrameOf(changed));
    EXPECT_TRUE(FindParam(TableDualMono, 7)->flags & SendPending) << "pushed back while transmitting";
}

// A value sent just before the cable was pulled may never have arrived; the
// watchdog cleared TransmitCount, so nothing would send it again and the
// unit's old value would be taken over when it comes back.
TEST_F(FrameReceiverTest, ValuesSentJustBeforeTheLinkWasLostAreSentAgain) {
    const std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionDualMono));
    Feed(frame);
    CommitUserValue(*FindParam(TableDualMono, 6), 120.0, 5);
    Feed(frame);  // the answer carries it; the unit never gets it
    ASSERT_EQ(Fake.written.size(), 1u);
    ASSERT_TRUE(FindParam(TableDualMono, 6)->flags & JustSent);
    Online = 0;  // the watchdog: link lost
    TransmitCount = 0;

    Feed(frame);  // back, still reporting 50
    ASSERT_EQ(Fake.written.size(), 2u);
    EXPECT_EQ(Fake.written[1][3], 7);
    EXPECT_EQ(Fake.written[1][4], 120);
    EXPECT_EQ(FindParam(TableDualMono, 6)->value, 120.0);
}

// A change made while the link was down goes out once it is back; if that
// frame is lost, the unit's old value must not be taken over: it is sent
// again.
TEST_F(FrameReceiverTest, AChangeMadeOfflineIsSentAgainWhenItsFrameIsLost) {
    const std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionDualMono));
    Feed(frame);
    Online = 0;  // the watchdog
    TransmitCount = 0;
    CommitUserValue(*FindParam(TableDualMono, 21), 0.0, 5);  // delay off
    TransmitCount = 0;  // the watchdog again, on the next tick
    for (int i = 0; i < 6; ++i) Feed(frame);  // back; the unit never gets it
    int sends = 0;
    for (const std::vector<uint8_t>& w : Fake.written) sends += w[3] == 0 && !(w[5] & 0x30);
    EXPECT_GE(sends, 2);
    EXPECT_EQ(FindParam(TableDualMono, 21)->value, 0.0);
}

// Several changes made while the link was down: each goes out with answers
// of its own left for being checked and sent again.
TEST_F(FrameReceiverTest, ChangesWaitingWhenTheLinkComesBackAreEachSentAgainIfLost) {
    const std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionDualMono));
    Feed(frame);
    Online = 0;
    for (int id : {6, 9, 19, 35}) {
        ParamDesc& r = *FindParam(TableDualMono, id);
        CommitUserValue(r, r.value + 2, 5);
    }
    TransmitCount = 0;  // the watchdog
    Feed(frame);
    EXPECT_EQ(TransmitCount, SendHoldFrames);
    for (int i = 0; i < 40; ++i) Feed(frame);  // the unit takes none of them
    for (int id : {6, 9, 19, 35}) {
        int sends = 0;
        const ParamCommand* c = FindParamCommand(FunctionDualMono, id);
        for (const std::vector<uint8_t>& w : Fake.written) sends += w[3] == c->command;
        EXPECT_GE(sends, 2) << FindParam(TableDualMono, id)->name;
    }
}

// A store or boot request travels ahead of waiting values; their answers
// use up the count, yet the value still gets its answers when it goes out.
TEST_F(FrameReceiverTest, AValueWaitingBehindRequestsStillGetsItsAnswers) {
    const std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionDualMono));
    Feed(frame);
    CommitUserValue(*FindParam(TableDualMono, 6), 120.0, 5);
    StoreSlot = 4;
    StoreNameChunksLeft = 4;
    std::memcpy(StoreName, "@@MIX@@@@@@@", StoreNameSize);
    BootRequest = 3;
    while (Fake.written.empty() || Fake.written.back()[3] != 7) Feed(frame);
    ASSERT_EQ(Fake.written.size(), 7u);  // 4 chunks, store, boot, the value
    EXPECT_EQ(TransmitCount, SendHoldFrames);
}

// Values the unit does not take as they are (a hand-edited setup file may
// hold values between the steps the unit knows) are sent again while the
// count runs, then the program follows the unit and falls silent.
TEST_F(FrameReceiverTest, ValuesTheUnitDoesNotTakeAreGivenUpWhenTheCountRunsOut) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    Feed(FrameOf(s));
    TransmitCount = 5;  // a setup load
    for (const auto& [id, v] : {std::pair<int, double>{58, 1.7}, {55, 2.5}, {6, 60.5}}) {
        ParamDesc* p = FindParam(TableDualMono, id);
        p->value = v;
        p->flags |= UserChangeFlags;
        ++TransmitCount;
    }
    s.settings[58] = 1;  // what the unit makes of them
    s.settings[55] = 2;
    s.settings[6] = 60;
    const std::vector<uint8_t> frame = FrameOf(s);
    int frames = 0;
    for (; frames < 500 && (TransmitCount > 0 || !Fake.written.empty()); ++frames) {
        Fake.written.clear();
        Feed(frame);
    }
    EXPECT_LT(frames, 100);
    EXPECT_EQ(FindParam(TableDualMono, 58)->value, 1.0);
    EXPECT_EQ(FindParam(TableDualMono, 55)->value, 2.0);
    EXPECT_EQ(FindParam(TableDualMono, 6)->value, 60.0);
}

// A recall replaces the unit's settings; neither the count of a change made
// just before nor that of one made right after may push the old values back
// over it while the unit's frames still show them or already show the
// recalled ones.
TEST_F(FrameReceiverTest, ARecalledSetupIsTakenOverNotPushedBack) {
    UnitFrameState before = DefaultState(FunctionDualMono);
    before.settings[6] = 120;
    const std::vector<uint8_t> frame = FrameOf(before);
    Feed(FrameOf(DefaultState(FunctionDualMono)));
    CommitUserValue(*FindParam(TableDualMono, 6), 120.0, 10);
    Feed(frame);  // sent
    RecallSlot = 3;
    for (int i = 0; i < 3; ++i) Feed(frame);  // the recall goes out with the third
    ASSERT_EQ(Fake.written.back()[3], 44);
    EXPECT_EQ(TransmitCount, 0);

    CommitUserValue(*FindParam(TableDualMono, 0), 2.0, 5);  // right after: Input Select Left
    before.settings[0] = 0;
    Feed(FrameOf(before));  // on the wire before the recall arrived
    UnitFrameState recalled = DefaultState(FunctionDualMono);
    recalled.settings[0] = 0;  // the user's change has not arrived yet
    recalled.settings[6] = 90;
    recalled.settings[9] = -70;
    Feed(FrameOf(recalled));
    recalled.settings[0] = 2;
    for (int i = 0; i < RecallSettleFrames; ++i) Feed(FrameOf(recalled));
    EXPECT_EQ(FindParam(TableDualMono, 6)->value, 90.0);
    EXPECT_EQ(FindParam(TableDualMono, 9)->value, -70.0);
    EXPECT_EQ(FindParam(TableDualMono, 9)->flags & SendPending, 0u);
    EXPECT_EQ(FindParam(TableDualMono, 0)->value, 2.0) << "the change made after the recall stays";
    for (const std::vector<uint8_t>& w : Fake.written) EXPECT_NE(w[3], 9) << "expander threshold pushed back";
}

// A change made right after a recall waits until the unit shows the
// recalled setup, then goes out with its full count: a switch command then
// carries the recalled switch word, and a lost frame is sent again.
TEST_F(FrameReceiverTest, AChangeMadeRightAfterARecallWaitsForTheRecalledSetup) {
    const std::vector<uint8_t> frame = FrameOf(DefaultState(FunctionDualMono));
    Feed(frame);
    RecallSlot = 2;
    for (int i = 0; i < 3; ++i) Feed(frame);
    ASSERT_EQ(Fake.written.back()[3], 44);
    CommitUserValue(*FindParam(TableDualMono, 1), 1.0, 5);  // phase invert left
    CommitUserValue(*FindParam(TableDualMono, 6), 120.0, 5);
    UnitFrameState recalled = DefaultState(FunctionDualMono);
    recalled.switchWord ^= 0x8;  // the recalled memory has expander link on
    recalled.switchWord &= ~0x40u;  // the changes have not arrived
    recalled.settings[6] = 50;
    // The frame answered with the recall is the first taken over as it is.
    Feed(frame);  // still the old setup
    for (int i = 2; i < RecallSettleFrames; ++i) Feed(FrameOf(recalled));
    for (const std::vector<uint8_t>& w : Fake.written) EXPECT_NE(w[3], 0) << "a switch command while settling";
    EXPECT_EQ(TransmitCount, 5) << "not counted down while settling";

    const size_t before = Fake.written.size();
    Feed(FrameOf(recalled));
    ASSERT_EQ(Fake.written.size(), before + 1);
    EXPECT_EQ(Fake.written.back()[3], 0);
    EXPECT_EQ(WordOf(Fake.written.back()), recalled.switchWord | 0x40) << "the recalled word and the change";
    Feed(FrameOf(recalled));  // the second change; the unit missed it
    EXPECT_EQ(Fake.written.back()[3], 7);
    recalled.switchWord |= 0x40;
    for (int i = 0; i < 6; ++i) Feed(FrameOf(recalled));
    EXPECT_EQ(FindParam(TableDualMono, 6)->value, 120.0);
    int sends = 0;
    for (const std::vector<uint8_t>& w : Fake.written) sends += w[3] == 7 && w[4] == 120;
    EXPECT_GE(sends, 2) << "sent again";
    EXPECT_EQ(FindParam(TableDualMono, 17)->value, 1.0) << "expander link as recalled";
}

}  // namespace
