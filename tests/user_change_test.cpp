// The one rule for a value the user sets, and every path that enters it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "app/settings_file.h"
#include "link/host_encoder.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"
#include "panel/panel_input.h"
#include "setup/setup_file.h"
#include "tests/fakes.h"
#include "tests/test_support.h"

namespace {

class UserChangeTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(UserChangeTest, UserChangeIsClampedMarkedAndCounted) {
    ParamDesc& lowCut = DualMonoTable[6];
    EXPECT_TRUE(CommitUserValue(lowCut, 300.0, 5));
    EXPECT_EQ(lowCut.value, 250.0);
    EXPECT_EQ(lowCut.flags, UserChangeFlags);
    EXPECT_EQ(TransmitCount, 5);
    EXPECT_EQ(UnsavedChanges, 1);

    EXPECT_TRUE(CommitUserValue(lowCut, 1.0, 10));
    EXPECT_EQ(lowCut.value, 2.0);
    EXPECT_EQ(TransmitCount, 10);

    // A new value, not a retry of one the unit reported otherwise.
    lowCut.flags |= Resend;
    EXPECT_TRUE(CommitUserValue(lowCut, 60.0, 5));
    EXPECT_EQ(lowCut.flags & Resend, 0u);

    // Not a number is no value: it clamps to min like anything not above it.
    EXPECT_TRUE(CommitUserValue(lowCut, 100.0, 5));
    EXPECT_TRUE(CommitUserValue(lowCut, std::nan(""), 5));
    EXPECT_EQ(lowCut.value, 2.0);
}

TEST_F(UserChangeTest, UserChangeToTheShownValueChangesNothing) {
    ParamDesc& lowCut = DualMonoTable[6];
    TransmitCount = 2;
    EXPECT_FALSE(CommitUserValue(lowCut, 50.0, 5));
    EXPECT_FALSE(CommitUserValue(lowCut, 50.0, 10));
    EXPECT_EQ(lowCut.flags, 0u);
    EXPECT_EQ(TransmitCount, 2);
    EXPECT_EQ(UnsavedChanges, 0);
}

struct UserPath {
    const char* name;
    int function;
    int id;
    std::function<void(ParamDesc&)> change;
};

void Click(ParamDesc& r, int dy) {
    PanelDragState drag{};
    PanelPress(DualMonoTable, DualMonoCount, r.x + 1, r.y + 1, false, drag);
    PanelDragTo(DualMonoTable, DualMonoCount, r.y + 1 + dy, false, drag);
    PanelRelease(DualMonoTable, DualMonoCount, drag);
}

void LoadSetup(const char* text) {
    SetupReader reader{};
    char comment[SetupCommentSize] = {};
    ScreenRect window{};
    BeginSetupLoad(reader, DualMonoTable, DualMonoCount, comment, window);
    FeedSetupBytes(reader, text, std::strlen(text));
    FinishSetupLoad(reader);
}

// The decoder marks a record as a retry when the unit reports another value
// while a hold runs. A user change of that record before it goes out is a
// new value, whichever way it comes: it goes out with the answers of a change
// behind it, however far the count ran down meanwhile, so that on a lossy
// line the unit's older reports are sent back rather than taken over.
TEST_F(UserChangeTest, EveryUserPathTurnsARetryIntoANewValue) {
    const UserPath paths[] = {
        {"drag", FunctionDualMono, 6, [](ParamDesc& r) { Click(r, -10); }},
        {"switch click", FunctionDualMono, 17, [](ParamDesc& r) { Click(r, 0); }},
        {"value dialog", FunctionDualMono, 6, [](ParamDesc& r) { CommitTypedValue(r, "60"); }},
        {"setup file", FunctionDualMono, 6, [](ParamDesc&) { LoadSetup("Low Cut Frequency Left=60\n"); }},
        {"Analyser settings window", FunctionAnalyser, 34,
         [](ParamDesc&) { RequestParamChange(2.0, 34, TableAnalyser); }},
        {"settings file", FunctionAnalyser, 34, [](ParamDesc&) {
             ProgramSettingsData s;
             ApplySettingsLine("Analyser Input Select=2", s);
         }},
    };
    for (const UserPath& path : paths) {
        FreshStart();
        DeviceFunction = path.function;
        ParamDesc& r = *FindParam(path.function, path.id);
        r.flags |= SendPending | Resend;
        TransmitCount = 1;
        path.change(r);
        TransmitCount = 1;  // run down by the answers of values sent before it
        BuildAndSendReply();
        ASSERT_EQ(Fake.written.size(), 1u) << path.name;
        EXPECT_EQ(Fake.written[0][3], FindParamCommand(path.function, path.id)->command) << path.name;
        EXPECT_EQ(TransmitCount, SendHoldFrames) << path.name;
    }
}

}  // namespace
