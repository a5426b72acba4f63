// The receiver: synchronisation, assembly across reads, the checksum and
// the per-frame sequence.
#include <gtest/gtest.h>

#include <vector>

#include "link/frame_receiver.h"
#include "link/link_state.h"
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
        while (Fake.portInputPos < Fake.portInput.size()) ReceiveFromPort();
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

TEST_F(FrameReceiverTest, TheAnswerIsBuiltBeforeTheFrameIsDecoded) {
    // The unit reports Full Bypass off in frame 1; the user turns Delay on
    // before frame 1 is answered, so the answer still carries the switch word
    // of the frame before (none yet: 0) with only the delay bits set.
    UnitFrameState s = DefaultState(FunctionDualMono);
    s.switchWord &= ~0x1u;
    CommitUserValue(*FindParam(TableDualMono, 21), 0.0, 5);
    CommitUserValue(*FindParam(TableDualMono, 21), 1.0, 5);
    Feed(FrameOf(s));
    ASSERT_EQ(Fake.written.size(), 1u);
    EXPECT_EQ(Fake.written[0][3], 0);
    EXPECT_EQ(Fake.written[0][4] | (Fake.written[0][5] << 8) | (Fake.written[0][6] << 16), 0x3000);
    EXPECT_EQ(SwitchWord, s.switchWord);
}

}  // namespace
