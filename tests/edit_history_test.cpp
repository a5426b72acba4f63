// Undo, redo and A/B compare of each device function, as the user sees them
// in the tables and on the wire (SendPending, TransmitCount).
#include <gtest/gtest.h>

#include <string>

#include "app/mode_menu.h"
#include "app/shell_state.h"
#include "link/edit_history.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"
#include "panel/panel_input.h"
#include "setup/setup_file.h"
#include "tests/test_support.h"

namespace {

constexpr int ThresholdLeft = 9;
constexpr int ThresholdRight = 13;
constexpr int LowCutLeft = 6;
constexpr int DelayLeft = 22;
constexpr int DragHold = 5;

ParamDesc& Dm(int id) { return *FindParam(TableDualMono, id); }
ParamDesc& St(int id) { return *FindParam(TableStereo, id); }

// A user's change of one record inside the open step, as the editing paths
// make it.
void Change(ParamDesc& r, double v, int hold = DragHold) {
    const double before = r.value;
    CommitUserValue(r, v, hold);
    NoteUserChange(r, before);
}

// One record changed on its own: a step of its own.
void Edit(ParamDesc& r, double v) {
    BeginUserStep(StepKind::Dialog, 10);
    Change(r, v, 10);
    EndUserStep();
}

// The unit's own report of a value: no step, nothing to send.
void UnitSets(ParamDesc& r, double v) { r.value = v; }

void ClearMarks() {
    for (ParamDesc& r : DualMonoTable) r.flags &= ~static_cast<uint32_t>(SendPending);
    TransmitCount = 0;
    UnsavedChanges = 0;
}

class EditHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(EditHistoryTest, ADragIsOneStepHoweverManyValuesItPassed) {
    Dm(ThresholdLeft).value = -50.0;
    BeginUserStep(StepKind::Drag, DragHold);
    for (int v = -49; v <= -40; ++v) Change(Dm(ThresholdLeft), v);
    EndUserStep();
    ClearMarks();

    ASSERT_TRUE(UndoStep(FunctionDualMono));
    EXPECT_EQ(Dm(ThresholdLeft).value, -50.0);
    EXPECT_TRUE(Dm(ThresholdLeft).flags & SendPending);
    EXPECT_EQ(TransmitCount, DragHold);
    EXPECT_EQ(UnsavedChanges, 1);
    EXPECT_FALSE(CanUndo(FunctionDualMono));

    ASSERT_TRUE(RedoStep(FunctionDualMono));
    EXPECT_EQ(Dm(ThresholdLeft).value, -40.0);
    EXPECT_FALSE(CanRedo(FunctionDualMono));
}

TEST_F(EditHistoryTest, APanelDragAndASwitchClickAreOneStepEach) {
    ParamDesc& t = Dm(ThresholdLeft);
    PanelDragState drag{};
    const int y = t.y + t.height / 2;
    PanelPress(DualMonoTable, DualMonoCount, t.x + 1, y, false, drag);
    for (int dy = 2; dy <= 20; dy += 2) PanelDragTo(DualMonoTable, DualMonoCount, y - dy, false, drag);
    PanelRelease(DualMonoTable, DualMonoCount, drag);
    EXPECT_EQ(t.value, -40.0);
    ParamDesc& expander = Dm(8);
    const double off = expander.value;
    PanelPress(DualMonoTable, DualMonoCount, expander.x + 1, expander.y + 1, false, drag);
    PanelRelease(DualMonoTable, DualMonoCount, drag);

    ASSERT_TRUE(UndoStep(FunctionDualMono));
    EXPECT_EQ(expander.value, off);
    ASSERT_TRUE(UndoStep(FunctionDualMono));
    EXPECT_EQ(t.value, -50.0);
    EXPECT_FALSE(CanUndo(FunctionDualMono));
}

TEST_F(EditHistoryTest, AFileLoadIsUndoneInOneStep) {
    const std::string text = "Expander Threshold Left=-40.000000\nLow Cut Frequency Left=80.000000\n"
                             "Delay Time Left=12.500000\nComment=kept\n";
    SetupReader reader{};
    char comment[SetupCommentSize] = {};
    ScreenRect window = {};
    BeginSetupLoad(reader, DualMonoTable, DualMonoCount, comment, window);
    FeedSetupBytes(reader, text.data(), text.size());
    FinishSetupLoad(reader);
    ASSERT_EQ(Dm(DelayLeft).value, 12.5);
    ClearMarks();

    ASSERT_TRUE(UndoStep(FunctionDualMono));
    EXPECT_EQ(Dm(ThresholdLeft).value, -50.0);
    EXPECT_EQ(Dm(LowCutLeft).value, 50.0);
    EXPECT_EQ(Dm(DelayLeft).value, 0.0);
    EXPECT_FALSE(CanUndo(FunctionDualMono));
    EXPECT_GE(TransmitCount, 3) << "sent like a load";
    EXPECT_EQ(UnsavedChanges, 1);
}

TEST_F(EditHistoryTest, EditMenuStatesFollowTheHistoryOfTheFunctionShown) {
    EXPECT_EQ(EditMenuStatesFor(FunctionNone), (EditMenuStates{false, false, false, false}));
    EXPECT_EQ(EditMenuStatesFor(FunctionDualMono), (EditMenuStates{false, false, true, false}));
    Edit(Dm(ThresholdLeft), -40.0);
    EXPECT_EQ(EditMenuStatesFor(FunctionDualMono), (EditMenuStates{true, false, true, false}));
    UndoStep(FunctionDualMono);
    ToggleCompare(FunctionDualMono);
    EXPECT_EQ(EditMenuStatesFor(FunctionDualMono), (EditMenuStates{true, false, true, true}))
        << "the compare cleared the redo";
    EXPECT_EQ(EditMenuStatesFor(FunctionStereo), (EditMenuStates{false, false, true, false}));
}

TEST_F(EditHistoryTest, ANewStepClearsRedoButAStepThatChangedNothingDoesNot) {
    const double lowCut = Dm(LowCutLeft).value;
    Edit(Dm(LowCutLeft), 60.0);
    Edit(Dm(LowCutLeft), 80.0);
    ASSERT_TRUE(UndoStep(FunctionDualMono));

    // A drag that came back to where it began is no step.
    const double start = Dm(DelayLeft).value;
    BeginUserStep(StepKind::Drag, DragHold);
    Change(Dm(DelayLeft), start + 10.0);
    Change(Dm(DelayLeft), start);
    EndUserStep();
    EXPECT_TRUE(CanRedo(FunctionDualMono));
    // Undo and redo wait while a step is open.
    BeginUserStep(StepKind::Drag, DragHold);
    EXPECT_FALSE(UndoStep(FunctionDualMono));
    EndUserStep();

    Edit(Dm(DelayLeft), start + 1.0);
    EXPECT_FALSE(CanRedo(FunctionDualMono));
    ASSERT_TRUE(UndoStep(FunctionDualMono));
    ASSERT_TRUE(UndoStep(FunctionDualMono));
    EXPECT_EQ(Dm(LowCutLeft).value, lowCut) << "the undone 80 Hz cannot come back";
    EXPECT_EQ(Dm(DelayLeft).value, start);
}

TEST_F(EditHistoryTest, UndoRestoresTheValueFromBeforeTheStepWhateverTheUnitDidSince) {
    Dm(ThresholdLeft).value = -50.0;
    Edit(Dm(ThresholdLeft), -40.0);
    UnitSets(Dm(ThresholdLeft), -30.0);  // its own front panel
    ClearMarks();
    ASSERT_TRUE(UndoStep(FunctionDualMono));
    EXPECT_EQ(Dm(ThresholdLeft).value, -50.0);
    EXPECT_TRUE(Dm(ThresholdLeft).flags & SendPending);
}

TEST_F(EditHistoryTest, EachFunctionKeepsItsOwnHistoryAcrossABoot) {
    Edit(Dm(ThresholdLeft), -40.0);
    DeviceFunction = FunctionStereo;  // booted
    Edit(St(ThresholdLeft), -35.0);
    ASSERT_TRUE(UndoStep(FunctionStereo));
    EXPECT_FALSE(CanUndo(FunctionStereo));
    DeviceFunction = FunctionDualMono;  // and back
    EXPECT_TRUE(CanUndo(FunctionDualMono));
    ASSERT_TRUE(UndoStep(FunctionDualMono));
    EXPECT_NE(Dm(ThresholdLeft).value, -40.0);
    EXPECT_TRUE(CanRedo(FunctionStereo));
    EXPECT_FALSE(CanUndo(FunctionAnalyser));
    EXPECT_FALSE(UndoStep(FunctionNone));
}

TEST_F(EditHistoryTest, KeepsAThousandStepsOfAnySizeAndDropsTheOldest) {
    for (int n = 0; n < HistoryStepCapacity + 10; ++n) {
        BeginUserStep(StepKind::Load, DragHold);
        for (ParamDesc& r : DualMonoTable)
            if (IsSavedKind(r.kind)) Change(r, r.value == r.min ? r.max : r.min);
        EndUserStep();
    }
    int undone = 0;
    while (UndoStep(FunctionDualMono)) ++undone;
    EXPECT_EQ(undone, HistoryStepCapacity);
    EXPECT_GE(undone, 1000);
}

TEST_F(EditHistoryTest, CompareFirstUseCopiesAThenSwitchesSendTheDifferences) {
    Dm(ThresholdLeft).value = -50.0;
    Dm(ThresholdRight).value = -50.0;
    EXPECT_FALSE(CompareInUse(FunctionDualMono));
    ToggleCompare(FunctionDualMono);  // B = A, shown
    EXPECT_TRUE(CompareInUse(FunctionDualMono));
    EXPECT_EQ(ShownCompareSide(FunctionDualMono), CompareSide::B);
    EXPECT_EQ(TransmitCount, 0) << "B starts equal to A: nothing to send";

    Edit(Dm(ThresholdLeft), -40.0);  // B differs in one value
    ClearMarks();
    ToggleCompare(FunctionDualMono);
    EXPECT_EQ(ShownCompareSide(FunctionDualMono), CompareSide::A);
    EXPECT_EQ(Dm(ThresholdLeft).value, -50.0);
    EXPECT_TRUE(Dm(ThresholdLeft).flags & SendPending);
    EXPECT_FALSE(Dm(ThresholdRight).flags & SendPending) << "equal on both sides";
    EXPECT_GT(TransmitCount, 0);
    ToggleCompare(FunctionDualMono);
    EXPECT_EQ(Dm(ThresholdLeft).value, -40.0);

    // A switch is one step: undo shows A again with its values.
    ASSERT_TRUE(UndoStep(FunctionDualMono));
    EXPECT_EQ(ShownCompareSide(FunctionDualMono), CompareSide::A);
    EXPECT_EQ(Dm(ThresholdLeft).value, -50.0);
    ToggleCompare(FunctionDualMono);  // B kept its edit
    EXPECT_EQ(Dm(ThresholdLeft).value, -40.0);
}

TEST_F(EditHistoryTest, CopiesMakeBothSidesEqual) {
    Dm(ThresholdLeft).value = -50.0;
    CopyCompareSide(FunctionDualMono, CompareSide::A);  // before first use: nothing
    EXPECT_FALSE(CanUndo(FunctionDualMono));
    ToggleCompare(FunctionDualMono);
    Edit(Dm(ThresholdLeft), -40.0);  // B

    CopyCompareSide(FunctionDualMono, CompareSide::A);  // B onto the hidden A
    EXPECT_EQ(Dm(ThresholdLeft).value, -40.0);
    ToggleCompare(FunctionDualMono);
    EXPECT_EQ(Dm(ThresholdLeft).value, -40.0) << "A now equals B";
    ASSERT_TRUE(UndoStep(FunctionDualMono));  // the switch
    ASSERT_TRUE(UndoStep(FunctionDualMono));  // the copy
    ToggleCompare(FunctionDualMono);
    EXPECT_EQ(Dm(ThresholdLeft).value, -50.0) << "A as it was before the copy";

    Edit(Dm(ThresholdLeft), -30.0);             // A
    CopyCompareSide(FunctionDualMono, CompareSide::A);  // onto the shown A
    EXPECT_EQ(Dm(ThresholdLeft).value, -40.0);
    EXPECT_TRUE(Dm(ThresholdLeft).flags & SendPending);
}

TEST_F(EditHistoryTest, UndoingTheFirstCompareHidesItAgain) {
    ToggleCompare(FunctionStereo);
    ASSERT_TRUE(UndoStep(FunctionStereo));
    EXPECT_FALSE(CompareInUse(FunctionStereo));
    ASSERT_TRUE(RedoStep(FunctionStereo));
    EXPECT_TRUE(CompareInUse(FunctionStereo));
    EXPECT_FALSE(CompareInUse(FunctionDualMono));
}

}  // namespace
