// The mode refresh through its seam: menu states per mode, when the menu is
// touched at all, the question about unsaved data of the function that was
// left, the look-ahead indicators, and the analyser's freeze release,
// display repaint and hold reset.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "app/mode_refresh.h"
#include "app/shell_state.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "resources/resource_ids.h"
#include "tests/fakes.h"
#include "tests/test_support.h"

namespace {

// What the refresh did to the platform.
struct Recorded {
    std::map<unsigned, bool> menu;  // last state per command
    int menuCalls = 0;
    int closes = 0;
    int repaints = 0;
    int questions = 0;
    bool answerYes = false;
    std::vector<int> saves;
    int unsavedWhenSaving = -1;
};
Recorded Rec;

const ModeRefreshSeam Seam = {
    [](unsigned command, bool enabled) {
        Rec.menu[command] = enabled;
        ++Rec.menuCalls;
    },
    [] { ++Rec.closes; },
    [] { ++Rec.repaints; },
    [] {
        ++Rec.questions;
        return Rec.answerYes;
    },
    [](int function) {
        Rec.saves.push_back(function);
        Rec.unsavedWhenSaving = UnsavedChanges;
    },
};

constexpr unsigned FileItems[] = {CMD_OPEN_SETUP, CMD_SAVE_SETUP, CMD_SAVE_SETUP_AS, CMD_COMMENT};
constexpr unsigned RecallStore[] = {CMD_RECALL, CMD_STORE};
constexpr unsigned BootItems[] = {CMD_BOOT_DUAL_MONO, CMD_BOOT_STEREO, CMD_BOOT_ANALYSER};
constexpr unsigned OfflineItems[] = {CMD_OFFLINE_SMALL_WINDOW, CMD_OFFLINE_DUAL_MONO, CMD_OFFLINE_STEREO,
                                     CMD_OFFLINE_ANALYSER};

class ModeRefreshTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshStart();
        ResetShellState();
        ResetModeRefresh();
        Rec = Recorded{};
    }
    // One refresh in a mode.
    static void Refresh(int function, bool online) {
        DeviceFunction = function;
        Online = online ? 1 : 0;
        RunModeRefresh(Seam);
    }
    static ParamDesc& Record(int table, int id) { return *FindParam(table, id); }
    static void ClearFlags() {
        for (int t = TableDualMono; t <= TableAnalyserDisplay; ++t)
            for (int i = 0; i < TableRecordCount(t); ++i) TableByNumber(t)[i].flags = 0;
    }
};

struct MenuRow {
    int function;
    bool online;
    bool file, recallStore, boot, offline, analyser;
};

TEST_F(ModeRefreshTest, EachModeGetsTheMenuStatesOfItsRow) {
    const MenuRow rows[] = {
        {0, false, false, false, false, true, false}, {1, false, true, false, false, true, false},
        {2, false, true, false, false, true, false},  {3, false, true, false, false, true, true},
        {1, true, true, true, true, false, false},    {2, true, true, true, true, false, false},
        {3, true, true, false, true, false, true},
    };
    for (const MenuRow& r : rows) {
        SetUp();
        Refresh(r.function, r.online);
        const std::string mode = std::to_string(r.function) + (r.online ? " online" : " offline");
        EXPECT_EQ(Rec.menu.size(), 14u) << mode;
        for (unsigned id : FileItems) EXPECT_EQ(Rec.menu[id], r.file) << mode << " item " << id;
        for (unsigned id : RecallStore) EXPECT_EQ(Rec.menu[id], r.recallStore) << mode << " item " << id;
        for (unsigned id : BootItems) EXPECT_EQ(Rec.menu[id], r.boot) << mode << " item " << id;
        for (unsigned id : OfflineItems) EXPECT_EQ(Rec.menu[id], r.offline) << mode << " item " << id;
        EXPECT_EQ(Rec.menu[CMD_ANALYSER_SETTINGS], r.analyser) << mode;
        EXPECT_EQ(Rec.repaints, r.function == 3 ? 2 : 1) << mode << ": the change, and the analyser's first layout";
    }
}

TEST_F(ModeRefreshTest, OnlyAChangeOfFunctionOrLinkTouchesTheMenu) {
    Refresh(FunctionNone, false);  // the first call always counts as a change
    EXPECT_EQ(Rec.menuCalls, 14);
    for (int tick = 0; tick < 5; ++tick) Refresh(FunctionNone, false);
    EXPECT_EQ(Rec.menuCalls, 14) << "offline ticks with nothing changed leave the menu alone";
    EXPECT_EQ(Rec.repaints, 1);

    Refresh(FunctionDualMono, false);
    EXPECT_EQ(Rec.menuCalls, 28);
    Refresh(FunctionDualMono, true);  // the unit answers
    EXPECT_EQ(Rec.menuCalls, 42);
    EXPECT_TRUE(Rec.menu[CMD_RECALL]);
    Refresh(FunctionDualMono, false);  // the link is lost
    EXPECT_FALSE(Rec.menu[CMD_RECALL]);
    EXPECT_TRUE(Rec.menu[CMD_OFFLINE_STEREO]);
    EXPECT_EQ(Rec.repaints, 4);
}

TEST_F(ModeRefreshTest, TheAnalyserSettingsWindowClosesWhenTheFunctionLeavesTheAnalyser) {
    Refresh(FunctionAnalyser, true);
    EXPECT_EQ(Rec.closes, 0);
    Refresh(FunctionAnalyser, false);
    EXPECT_EQ(Rec.closes, 0) << "losing the link keeps the window";
    for (int f : {FunctionDualMono, FunctionStereo, FunctionNone}) {
        Refresh(FunctionAnalyser, false);
        const int before = Rec.closes;
        Refresh(f, false);
        EXPECT_EQ(Rec.closes, before + 1) << f;
    }
}

struct SwitchCase {
    int from, to;
    bool fromOnline, toOnline;
    bool asks;
    const char* why;
};

TEST_F(ModeRefreshTest, LeavingAFunctionWithUnsavedDataAsksOnce) {
    const SwitchCase cases[] = {
        {1, 2, false, false, true, "Offline Mode Stereo from Dual Mono"},
        {2, 0, false, false, true, "Small Window from Stereo"},
        {3, 1, true, true, true, "the unit booted into another function"},
        {0, 1, false, false, false, "from no function never asks"},
        {1, 1, true, false, false, "losing the link is no change of function"},
        {1, 1, false, true, false, "the unit answering is no change of function"},
    };
    for (const SwitchCase& c : cases) {
        SetUp();
        Refresh(c.from, c.fromOnline);
        UnsavedChanges = 1;
        const int titles = Fake.titleUpdates;
        Refresh(c.to, c.toOnline);
        EXPECT_EQ(Rec.questions, c.asks ? 1 : 0) << c.why;
        EXPECT_EQ(UnsavedChanges, c.asks ? 0 : 1) << c.why << ": the answer No clears the modified mark";
        if (c.asks) {
            EXPECT_GT(Fake.titleUpdates, titles) << c.why << ": the title loses its '*'";
        }
        EXPECT_TRUE(Rec.saves.empty()) << c.why;
        Refresh(c.to, c.toOnline);
        EXPECT_EQ(Rec.questions, c.asks ? 1 : 0) << c.why << ": asked once only";
    }
}

TEST_F(ModeRefreshTest, YesSavesThePreviousFunctionAndClearsTheMarkWhateverTheSaveGave) {
    Refresh(FunctionDualMono, false);
    UnsavedChanges = 1;
    Rec.answerYes = true;
    Refresh(FunctionStereo, false);
    ASSERT_EQ(Rec.saves.size(), 1u);
    EXPECT_EQ(Rec.saves[0], FunctionDualMono);
    EXPECT_EQ(Rec.unsavedWhenSaving, 1);
    EXPECT_EQ(UnsavedChanges, 0) << "cleared even though the fake save wrote nothing";
}

TEST_F(ModeRefreshTest, NoQuestionWithoutSafeFileModeOrAtTheFirstCall) {
    UnsavedChanges = 1;
    Refresh(FunctionDualMono, false);
    EXPECT_EQ(Rec.questions, 0) << "the first call has no previous function";
    ProgramSettings.safeMode = 0;
    Refresh(FunctionStereo, false);
    EXPECT_EQ(Rec.questions, 0);
    EXPECT_EQ(UnsavedChanges, 1) << "without the question the data stay marked";
}

// Dual Mono and Stereo: the look-ahead indicators.
struct LookAhead {
    double delayOn, expanderOn, attackSlow, alcOn, left, right;
    double expLeft, expRight, alcLeft, alcRight;
    const char* why;
};

TEST_F(ModeRefreshTest, LookAheadIndicatorsFollowDelayExpanderAndAlc) {
    const LookAhead cases[] = {
        {1, 1, 0, 1, 0.5, 1.0, 0, 1, 0, 0, "a fast attack needs at least 1 ms"},
        {1, 1, 1, 1, 24.9, 25.0, 0, 1, 1, 1, "a slow attack needs at least 25 ms"},
        {1, 1, 0, 1, 4.0, 4.1, 1, 1, 0, 1, "the ALC needs more than 4 ms"},
        {0, 1, 0, 1, 100, 100, 0, 0, 0, 0, "without the delay all four are off"},
        {1, 0, 0, 0, 100, 100, 0, 0, 0, 0, "expander and ALC off"},
        {1, 1, 0.5, 1, 100, 100, 0, 0, 1, 1, "an attack value of exactly 0.5 is neither slow nor fast"},
        {0.5, 1, 0, 1, 100, 100, 0, 0, 0, 0, "a switch at 0.5 is off"},
    };
    for (int table : {TableDualMono, TableStereo}) {
        for (const LookAhead& c : cases) {
            SetUp();
            Refresh(table, false);
            ClearFlags();
            Record(table, 21).value = c.delayOn;
            Record(table, 8).value = c.expanderOn;
            Record(table, 66).value = c.attackSlow;
            Record(table, 34).value = c.alcOn;
            Record(table, 22).value = c.left;
            Record(table, 23).value = c.right;
            const int32_t transmit = TransmitCount;
            Refresh(table, false);
            EXPECT_EQ(Record(table, 67).value, c.expLeft) << table << ": " << c.why;
            EXPECT_EQ(Record(table, 69).value, c.expRight) << table << ": " << c.why;
            EXPECT_EQ(Record(table, 68).value, c.alcLeft) << table << ": " << c.why;
            EXPECT_EQ(Record(table, 70).value, c.alcRight) << table << ": " << c.why;
            for (int id : {67, 68, 69, 70}) {
                const uint32_t expected = Record(table, id).value != 0.0 ? static_cast<uint32_t>(Redraw) : 0u;
                EXPECT_EQ(Record(table, id).flags, expected) << table << " id " << id << ": " << c.why;
            }
            EXPECT_EQ(TransmitCount, transmit) << "indicators are never sent";
        }
    }
}

TEST_F(ModeRefreshTest, AnUnchangedIndicatorIsNotRedrawnAgain) {
    Refresh(FunctionDualMono, false);
    Record(TableDualMono, 22).value = 30.0;
    Refresh(FunctionDualMono, false);
    ASSERT_EQ(Record(TableDualMono, 67).value, 1.0);
    ClearFlags();
    Refresh(FunctionDualMono, false);
    EXPECT_EQ(Record(TableDualMono, 67).flags, 0u);
}

// The analyser.
TEST_F(ModeRefreshTest, ChangingAnotherAnalyserSettingReleasesTheFreezeOnTheUnitToo) {
    Refresh(FunctionAnalyser, true);
    ParamDesc& freeze = Record(TableAnalyser, 46);
    freeze.value = 1.0;  // Space froze the display
    ClearFlags();
    TransmitCount = 0;
    Refresh(FunctionAnalyser, true);
    EXPECT_EQ(freeze.value, 1.0) << "the freeze itself is not a settings change";

    Record(TableAnalyser, 35).value = 20.0;  // rise time: no display change
    const int repaints = Rec.repaints;
    Refresh(FunctionAnalyser, true);
    EXPECT_EQ(freeze.value, 0.0);
    EXPECT_EQ(freeze.flags, static_cast<uint32_t>(UserChangeFlags)) << "the release goes to the unit";
    EXPECT_EQ(TransmitCount, 1);
    EXPECT_EQ(Rec.repaints, repaints) << "the rise time does not shape the display";
}

TEST_F(ModeRefreshTest, DisplayShapingSettingsRepaintTheWindowOnce) {
    Refresh(FunctionAnalyser, false);
    for (int id : {43, 44, 40, 37, 33, 42, 38, 55, 51}) {
        ParamDesc& r = Record(TableAnalyser, id);
        r.value = r.value == r.max ? r.min : r.value + 1.0;
        const int repaints = Rec.repaints;
        Refresh(FunctionAnalyser, false);
        EXPECT_EQ(Rec.repaints, repaints + 1) << id;
        Refresh(FunctionAnalyser, false);
        EXPECT_EQ(Rec.repaints, repaints + 1) << id << ": once per change";
    }
}

TEST_F(ModeRefreshTest, ChangesThatCancelInTheSumStillLayTheDisplayOutButKeepTheFreeze) {
    Refresh(FunctionAnalyser, false);
    Record(TableAnalyser, 46).value = 1.0;
    Record(TableAnalyser, 33).value += 1.0;  // type up
    Record(TableAnalyser, 38).value -= 1.0;  // top level down
    const int repaints = Rec.repaints;
    Refresh(FunctionAnalyser, false);
    EXPECT_EQ(Rec.repaints, repaints + 1) << "the display follows the new type and top level";
    EXPECT_EQ(Record(TableAnalyser, 46).value, 1.0) << "the settings sum is the same: the freeze stays";
    Refresh(FunctionAnalyser, false);
    EXPECT_EQ(Rec.repaints, repaints + 1);

    // A change that the layout does not see (a fraction of a label, a
    // sample rate other than 32 and 64 kHz) repaints once for the sum.
    Record(TableAnalyser, 55).value = 2.0;
    Refresh(FunctionAnalyser, false);
    EXPECT_EQ(Rec.repaints, repaints + 2);
    Refresh(FunctionAnalyser, false);
    EXPECT_EQ(Rec.repaints, repaints + 2);
}

TEST_F(ModeRefreshTest, ASettingThatIsNotANumberDoesNotRepaintEveryPass) {
    Refresh(FunctionAnalyser, false);
    Record(TableAnalyser, 43).value = std::nan("");
    Refresh(FunctionAnalyser, false);
    const int repaints = Rec.repaints;
    for (int pass = 0; pass < 3; ++pass) Refresh(FunctionAnalyser, false);
    EXPECT_EQ(Rec.repaints, repaints);
}

TEST_F(ModeRefreshTest, HoldResetDropsTheHeldPeaksAndSwitchesItselfOff) {
    Refresh(FunctionAnalyser, true);
    for (int id = 1; id <= 60; ++id) Record(TableAnalyserDisplay, id).value = -20.0;
    ClearFlags();
    ParamDesc& reset = Record(TableAnalyser, 45);
    reset.value = 1.0;  // as the unit reported it
    TransmitCount = 3;
    UnsavedChanges = 0;
    Refresh(FunctionAnalyser, true);
    EXPECT_EQ(TransmitCount, 0);
    for (int id = 1; id <= 60; ++id) {
        const ParamDesc& r = Record(TableAnalyserDisplay, id);
        EXPECT_EQ(r.value, id % 2 == 1 ? -130.0 : -20.0) << id;
        EXPECT_EQ(r.flags, 0u) << id << ": the peaks are not marked";
    }
    EXPECT_EQ(reset.value, 0.0);
    EXPECT_EQ(reset.flags, static_cast<uint32_t>(Redraw));
    EXPECT_EQ(UnsavedChanges, 1);
}

TEST_F(ModeRefreshTest, AHoldResetWaitingToBeSentStaysOn) {
    Refresh(FunctionAnalyser, true);
    ParamDesc& reset = Record(TableAnalyser, 45);
    reset.value = 1.0;
    reset.flags = UserChangeFlags;  // the user clicked it
    Refresh(FunctionAnalyser, true);
    EXPECT_EQ(reset.value, 1.0);
    EXPECT_EQ(Record(TableAnalyserDisplay, 1).value, -130.0);
}

TEST_F(ModeRefreshTest, NoFunctionTouchesNoTable) {
    Refresh(FunctionNone, false);
    ClearFlags();
    Record(TableDualMono, 22).value = 30.0;
    Record(TableAnalyser, 45).value = 1.0;
    TransmitCount = 2;
    Refresh(FunctionNone, false);
    EXPECT_EQ(Record(TableDualMono, 67).value, 0.0);
    EXPECT_EQ(Record(TableAnalyser, 45).value, 1.0);
    EXPECT_EQ(TransmitCount, 2);
}

// Under Windows the repaint runs the paint of the main window at once, and
// the question runs a message loop in which frames, timer ticks and paints
// arrive; all of them draw panels, and every drawing pass starts with the
// refresh. Such calls find a refresh under way and do nothing.
const ModeRefreshSeam* Reentrant = nullptr;
int NestedCalls = 0;
int FunctionDuringQuestion = -1;  // the unit changes function while the question is open

const ModeRefreshSeam DrawingSeam = {
    Seam.setMenuItem,
    Seam.closeAnalyserSettings,
    [] {
        ++Rec.repaints;
        ++NestedCalls;
        RunModeRefresh(*Reentrant);  // the paint's drawing pass
    },
    [] {
        ++Rec.questions;
        for (int frame = 0; frame < 3; ++frame) {
            if (FunctionDuringQuestion >= 0) DeviceFunction = FunctionDuringQuestion;
            ++NestedCalls;
            RunModeRefresh(*Reentrant);  // a frame's drawing pass
        }
        return Rec.answerYes;
    },
    Seam.savePrevious,
};

class ModeRefreshReentryTest : public ModeRefreshTest {
protected:
    void SetUp() override {
        ModeRefreshTest::SetUp();
        Reentrant = &DrawingSeam;
        NestedCalls = 0;
        FunctionDuringQuestion = -1;
    }
    static void RefreshDrawing(int function, bool online) {
        DeviceFunction = function;
        Online = online ? 1 : 0;
        RunModeRefresh(DrawingSeam);
    }
};

TEST_F(ModeRefreshReentryTest, ThePaintsDrawingPassDoesNotRefreshAgain) {
    RefreshDrawing(FunctionAnalyser, true);
    EXPECT_EQ(Rec.repaints, 2) << "the change of mode and the first layout, as without the nested passes";
    EXPECT_EQ(NestedCalls, 2);
    EXPECT_EQ(Rec.menuCalls, 14) << "the nested passes did not apply the menu again";
    EXPECT_FALSE(ModeMemory.running);

    Record(TableAnalyser, 43).value = 2.0;  // big
    RefreshDrawing(FunctionAnalyser, true);
    EXPECT_EQ(Rec.repaints, 3);
    RefreshDrawing(FunctionAnalyser, true);
    EXPECT_EQ(Rec.repaints, 3) << "the refresh after the nested ones runs as usual";
}

TEST_F(ModeRefreshReentryTest, FramesDuringTheQuestionAskNoSecondQuestion) {
    RefreshDrawing(FunctionDualMono, true);
    UnsavedChanges = 1;
    // The unit boots into the Analyser; while the question about the Dual
    // Mono data is open, it boots once more, into Stereo.
    FunctionDuringQuestion = FunctionStereo;
    RefreshDrawing(FunctionAnalyser, true);
    EXPECT_EQ(Rec.questions, 1);
    EXPECT_EQ(UnsavedChanges, 0);
    EXPECT_GE(NestedCalls, 3);
    ASSERT_EQ(DeviceFunction, FunctionStereo);

    // The next drawing pass sees the Stereo function: the menu follows it,
    // the analyser settings window closes, and the data, cleared by the
    // answer, are not asked about again.
    const int closes = Rec.closes;
    FunctionDuringQuestion = -1;
    RunModeRefresh(DrawingSeam);
    EXPECT_EQ(Rec.questions, 1);
    EXPECT_EQ(Rec.closes, closes + 1);
    EXPECT_FALSE(Rec.menu[CMD_ANALYSER_SETTINGS]);
    EXPECT_TRUE(Rec.menu[CMD_RECALL]);
}

TEST_F(ModeRefreshReentryTest, ChangesMadeDuringTheQuestionAreSeenByTheNextPass) {
    RefreshDrawing(FunctionAnalyser, true);
    UnsavedChanges = 1;
    FunctionDuringQuestion = FunctionAnalyser;  // back before the answer
    RefreshDrawing(FunctionDualMono, true);
    EXPECT_EQ(Rec.questions, 1);
    // The outer pass read the function again after the question: the
    // analyser part ran for the Analyser table, but the mode memory still
    // says Dual Mono, so the next pass applies the Analyser's mode.
    RunModeRefresh(DrawingSeam);
    EXPECT_TRUE(Rec.menu[CMD_ANALYSER_SETTINGS]);
    EXPECT_FALSE(Rec.menu[CMD_RECALL]);
    EXPECT_EQ(Rec.questions, 1) << "nothing unsaved is left to ask about";
}

}  // namespace
