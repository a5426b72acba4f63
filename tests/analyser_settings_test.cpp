// The analyser settings window's rules: what F2 does in each state, and
// what the window's end leaves behind (its position, and the freeze released
// by the rule for a setting the unit reports).
#include <gtest/gtest.h>

#include "app/shell_state.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "panel/analyser_settings.h"
#include "tests/test_support.h"

namespace {

TEST(AnalyserSettingsCommand, OpensOnlyInTheAnalyserAndNeverASecondWindow) {
    struct Case {
        int function;
        bool open;
        AnalyserSettingsAction action;
    };
    const Case cases[] = {
        {FunctionNone, false, AnalyserSettingsAction::Nothing},
        {FunctionDualMono, false, AnalyserSettingsAction::Nothing},
        {FunctionStereo, false, AnalyserSettingsAction::Nothing},
        {FunctionAnalyser, false, AnalyserSettingsAction::Create},
        {FunctionAnalyser, true, AnalyserSettingsAction::Raise},
        // Until the mode refresh closes it, a window outlives its function.
        {FunctionDualMono, true, AnalyserSettingsAction::Raise},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnalyserSettingsCommand(c.function, c.open), c.action) << c.function << " " << c.open;
}

class AnalyserSettingsClose : public ::testing::Test {
protected:
    void SetUp() override {
        FreshStart();
        ResetShellState();
        UnsavedChanges = 0;
        TransmitCount = 0;
    }
    static ParamDesc& Freeze() { return *FindParam(TableAnalyser, 46); }
};

TEST_F(AnalyserSettingsClose, KeepsThePositionForTheNextWindowAndTheSettingsFile) {
    EXPECT_EQ(ProgramSettings.analyserSettingsPos.left, 300);
    EXPECT_EQ(ProgramSettings.analyserSettingsPos.top, 200);
    AnalyserSettingsClosed(ProgramSettings.analyserSettingsPos, -40, 1234);
    EXPECT_EQ(ProgramSettings.analyserSettingsPos.left, -40);
    EXPECT_EQ(ProgramSettings.analyserSettingsPos.top, 1234);
}

TEST_F(AnalyserSettingsClose, ReleasesTheFreezeByTheUnitsRule) {
    struct Case {
        uint32_t flags;
        int32_t transmit;
        double value;
        bool redraw, sendPending;
        int32_t transmitAfter;
        int unsavedAfter;
        const char* why;
    };
    const Case cases[] = {
        {0, 0, 0.0, true, false, 0, 1, "switched off, redrawn, the setup marked unsaved"},
        {SendPending, 0, 1.0, false, true, 0, 0, "a change of it waits to be sent: it stays"},
        {JustSent, 0, 1.0, false, false, 0, 0, "a change of it has just gone out: it stays"},
        {0, 3, 1.0, false, true, 4, 0, "while changes are sent, it is sent again instead"},
    };
    for (const Case& c : cases) {
        SetUp();
        Freeze().value = 1.0;
        Freeze().flags = c.flags;
        TransmitCount = c.transmit;
        AnalyserSettingsClosed(ProgramSettings.analyserSettingsPos, 0, 0);
        EXPECT_EQ(Freeze().value, c.value) << c.why;
        EXPECT_EQ((Freeze().flags & Redraw) != 0, c.redraw) << c.why;
        EXPECT_EQ((Freeze().flags & SendPending) != 0, c.sendPending) << c.why;
        EXPECT_EQ(TransmitCount, c.transmitAfter) << c.why;
        EXPECT_EQ(UnsavedChanges, c.unsavedAfter) << c.why;
    }
    // Held by the mouse (a press on the switch just before the close): the
    // user's value stays.
    SetUp();
    Freeze().value = 1.0;
    Freeze().flags = Dragging;
    AnalyserSettingsClosed(ProgramSettings.analyserSettingsPos, 0, 0);
    EXPECT_EQ(Freeze().value, 1.0);
    EXPECT_EQ(UnsavedChanges, 0);
}

TEST_F(AnalyserSettingsClose, AnUnfrozenDisplayStaysUntouched) {
    Freeze().flags = 0;
    AnalyserSettingsClosed(ProgramSettings.analyserSettingsPos, 10, 10);
    EXPECT_EQ(Freeze().value, 0.0);
    EXPECT_EQ(Freeze().flags, 0u);
    EXPECT_EQ(UnsavedChanges, 0);
}

}  // namespace
