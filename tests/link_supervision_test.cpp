// The 400 ms watchdog: when the link counts as lost, what it clears, and the
// meters at rest.
#include <gtest/gtest.h>

#include "app/link_supervision.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/test_support.h"

namespace {

class LinkSupervisionTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(LinkSupervisionTest, LostOnTheThirdSilentTickAndOnEveryTickAfter) {
    Online = 1;
    TransmitCount = 4;
    StoreSlot = 3;
    StoreNameChunksLeft = 2;
    RecallSlot = 5;
    BootRequest = 3;
    EXPECT_FALSE(LinkSupervisionTick());
    EXPECT_FALSE(LinkSupervisionTick());
    EXPECT_EQ(Online, 1);
    EXPECT_EQ(StoreSlot, 3);
    EXPECT_TRUE(LinkSupervisionTick());
    EXPECT_EQ(Online, 0);
    EXPECT_EQ(TransmitCount, 0);
    EXPECT_EQ(StoreSlot, 0);
    EXPECT_EQ(StoreNameChunksLeft, 0);
    EXPECT_EQ(RecallSlot, 0);
    EXPECT_EQ(BootRequest, 3) << "a waiting boot request stays";
    EXPECT_TRUE(LinkSupervisionTick());
}

TEST_F(LinkSupervisionTest, AFrameResetsTheCount) {
    LinkSupervisionTick();
    LinkSupervisionTick();
    SilenceTicks = 0;  // what every valid frame does
    Online = 1;
    EXPECT_FALSE(LinkSupervisionTick());
    EXPECT_FALSE(LinkSupervisionTick());
    EXPECT_EQ(Online, 1);
}

TEST_F(LinkSupervisionTest, SilenceTicksStopsAt254) {
    for (int i = 0; i < 1000; ++i) LinkSupervisionTick();
    EXPECT_EQ(SilenceTicks, 254);
    EXPECT_TRUE(LinkSupervisionTick());
}

TEST_F(LinkSupervisionTest, DualMonoMetersRestAndRedraw) {
    for (int id : {46, 12, 47, 16, 44, 28, 45, 32, 42, 37, 43, 40}) FindParam(TableDualMono, id)->value = -7.0;
    for (int id : {50, 51, 59, 60, 48, 49}) FindParam(TableDualMono, id)->value = -3.0;
    PutMetersAtRest(FunctionDualMono);
    for (int id : {46, 12, 47, 16, 44, 28, 45, 32, 42, 37, 43, 40}) {
        EXPECT_EQ(FindParam(TableDualMono, id)->value, 0.0) << id;
        EXPECT_TRUE(FindParam(TableDualMono, id)->flags & Redraw) << id;
    }
    for (int id : {50, 51, 59, 60, 48, 49}) EXPECT_EQ(FindParam(TableDualMono, id)->value, -138.0) << id;
    ASSERT_EQ(Fake.redraws.size(), 1u);
    EXPECT_EQ(Fake.redraws[0].target, PanelTarget::MainWindow);
    EXPECT_EQ(Fake.redraws[0].table, DualMonoTable);
    EXPECT_EQ(Fake.redraws[0].count, DualMonoCount);
    EXPECT_EQ(Fake.redraws[0].panelType, 0);
    EXPECT_EQ(TransmitCount, 0) << "nothing is sent for meters";
}

TEST_F(LinkSupervisionTest, StereoSkipsTheIdsItLacks) {
    PutMetersAtRest(FunctionStereo);
    EXPECT_EQ(FindParam(TableStereo, 40), nullptr);
    EXPECT_EQ(FindParam(TableStereo, 48)->value, -138.0);
    ASSERT_EQ(Fake.redraws.size(), 1u);
    EXPECT_EQ(Fake.redraws[0].table, StereoTable);
    EXPECT_EQ(Fake.redraws[0].count, StereoCount);
}

TEST_F(LinkSupervisionTest, AnalyserDisplayRestsAndEveryRecordIsRedrawn) {
    for (int i = 0; i < AnalyserDisplayCount; ++i) AnalyserDisplayTable[i].flags &= ~Redraw;
    AnalyserDisplayTable[7].value = -138.0;  // already at rest: still redrawn
    PutMetersAtRest(FunctionAnalyser);
    for (int i = 7; i < AnalyserDisplayCount; ++i) {
        EXPECT_EQ(AnalyserDisplayTable[i].value, -138.0) << i;
        EXPECT_TRUE(AnalyserDisplayTable[i].flags & Redraw) << i;
    }
    for (int i = 0; i < 7; ++i) EXPECT_FALSE(AnalyserDisplayTable[i].flags & Redraw) << i;
    ASSERT_EQ(Fake.redraws.size(), 2u);
    EXPECT_EQ(Fake.redraws[0].target, PanelTarget::AnalyserSettingsWindow);
    EXPECT_EQ(Fake.redraws[0].panelType, 2);
    EXPECT_EQ(Fake.redraws[1].target, PanelTarget::MainWindow);
    EXPECT_EQ(Fake.redraws[1].table, AnalyserDisplayTable);
    EXPECT_EQ(Fake.redraws[1].panelType, 3);
}

TEST_F(LinkSupervisionTest, NoFunctionNoMeters) {
    PutMetersAtRest(FunctionNone);
    EXPECT_TRUE(Fake.redraws.empty());
}

}  // namespace

namespace {

TEST(PortFailureNotice, TheUserHearsOfAPortThatCannotBeUsedAndOfNoReportedBytes) {
    const char* const notAvailable =
        "Selected COM-Port is not available.\nCheck setup or stop other applications\n using this port!";
    struct Case {
        PortError error;
        const char* text;  // null: nothing is shown
        const char* caption;
        bool owned, beep;
    };
    const Case cases[] = {
        {PortError::None, nullptr, nullptr, false, false},
        {PortError::OpenFailed, notAvailable, nullptr, true, true},
        {PortError::ConfigFailed, notAvailable, nullptr, true, true},
        {PortError::ThreadFailed, nullptr, nullptr, false, false},
        {PortError::EventFailed, "Failed to create event for thread!", "TTY Error!", false, false},
    };
    for (const Case& c : cases) {
        const PortFailureNotice* n = PortFailureNoticeFor(c.error);
        const int e = static_cast<int>(c.error);
        if (c.text == nullptr) {
            EXPECT_EQ(n, nullptr) << e;
            continue;
        }
        ASSERT_NE(n, nullptr) << e;
        EXPECT_STREQ(n->text, c.text) << e;
        if (c.caption == nullptr)
            EXPECT_EQ(n->caption, nullptr) << e;
        else
            EXPECT_STREQ(n->caption, c.caption) << e;
        EXPECT_EQ(n->ownedByWindow, c.owned) << e;
        EXPECT_EQ(n->beep, c.beep) << e;
    }
}

}  // namespace
