// Mouse editing on the panels, the value dialogs' input rules, and the
// redraw after a device frame drawing only what changed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "link/link_state.h"
#include "model/param_tables.h"
#include "panel/control_drawing.h"
#include "panel/panel_input.h"
#include "tests/fakes.h"
#include "tests/panel_recorder.h"
#include "tests/test_support.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

ParamDesc& Dm(int id) { return *FindParam(TableDualMono, id); }

class PanelInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshStart();
        drag = PanelDragState{};
        TransmitCount = 0;
        UnsavedChanges = 0;
    }

    // A press in the middle of the record's rectangle, then moves to
    // y offsets from the press (negative is up).
    void Press(const ParamDesc& r, bool shift = false) {
        pressY = r.y + r.height / 2;
        PanelPress(DualMonoTable, DualMonoCount, r.x + r.width / 2, pressY, shift, drag);
    }
    void MoveBy(int dy, bool shift = false) { PanelDragTo(DualMonoTable, DualMonoCount, pressY + dy, shift, drag); }
    void Release() { PanelRelease(DualMonoTable, DualMonoCount, drag); }

    PanelDragState drag{};
    int pressY = 0;
};

// ---- dragging ----

TEST(DragSteps, DropTheRemainderTowardsZero) {
    const struct {
        int anchor, y, pixels, steps;
    } cases[] = {
        {100, 100, 2, 0}, {100, 99, 2, 0},  {100, 98, 2, 1},   {100, 80, 2, 10}, {100, 101, 2, 0},
        {100, 103, 2, -1}, {100, 88, 12, 1}, {100, 89, 12, 0}, {100, 64, 12, 3}, {100, 113, 12, -1},
        {0, 65535, 2, -32767}, {100, 90, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DragSteps(c.anchor, c.y, c.pixels), c.steps) << c.anchor << " to " << c.y << " by " << c.pixels;
}

TEST(WrapCyclic, WholeTurnsBackIntoTheList) {
    const struct {
        double candidate, min, max, wrapped;
    } cases[] = {
        {5, 0, 2, 2},  {3, 0, 2, 0},   {2, 0, 2, 2},       {-1, 0, 2, 2},   {-3, 0, 2, 0},
        {1, 0, 1, 1},  {2, 0, 1, 0},   {300001, 0, 2, 1},  {-300000, 0, 2, 0},
        {Inf, 0, 2, Inf},  // not a number of turns: the limits take it
        {4, 2, 1, 4},      // no turn: nothing to wrap
    };
    for (const auto& c : cases)
        EXPECT_EQ(WrapCyclic(c.candidate, c.min, c.max), c.wrapped) << c.candidate << " in " << c.min << ".." << c.max;
    EXPECT_TRUE(std::isnan(WrapCyclic(std::nan(""), 0, 2)));
}

TEST_F(PanelInputTest, ExpanderRatioMovesOneStepPerTwoPixelsAndTenWithShift) {
    ParamDesc& ratio = Dm(10);  // step 0.1, 1.2 to 5, at 2.0
    Press(ratio);
    MoveBy(-20);
    EXPECT_DOUBLE_EQ(ratio.value, 3.0);
    Release();

    ratio.value = 2.0;
    Press(ratio, true);
    MoveBy(-20, true);
    EXPECT_EQ(ratio.value, 5.0);  // 2 + 10, stopped at the top
}

TEST_F(PanelInputTest, ShiftPressedOrReleasedDuringADragReanchorsWithoutAJump) {
    ParamDesc& ratio = Dm(10);
    Press(ratio);
    MoveBy(-10);  // 5 steps
    EXPECT_DOUBLE_EQ(ratio.value, 2.5);
    MoveBy(-10, true);  // Shift down where the mouse is: no jump
    EXPECT_DOUBLE_EQ(ratio.value, 2.5);
    MoveBy(-12, true);  // one step of ten
    EXPECT_DOUBLE_EQ(ratio.value, 3.5);
    MoveBy(-12);  // Shift up: no jump
    EXPECT_DOUBLE_EQ(ratio.value, 3.5);
    MoveBy(-16);  // two single steps
    EXPECT_DOUBLE_EQ(ratio.value, 3.7);
    MoveBy(0);  // back down, six steps below the last anchor
    EXPECT_DOUBLE_EQ(ratio.value, 2.9);
}

TEST_F(PanelInputTest, CyclicChoiceWrapsAndChoiceStopsAtItsEnds) {
    ParamDesc& status = Dm(56);  // "Channel Status", labels 0 to 2
    const struct {
        double from;
        int dy;
        double to;
    } cyclic[] = {{2, -36, 2}, {2, -12, 0}, {0, 12, 2}, {1, -11, 1}, {0, -24, 2}, {1, 36, 1}};
    for (const auto& c : cyclic) {
        status.value = c.from;
        Press(status);
        MoveBy(c.dy);
        EXPECT_EQ(status.value, c.to) << "from " << c.from << " by " << c.dy;
        Release();
    }

    ParamDesc& rate = Dm(55);  // "Sample Rate", a Choice of 8 labels, at 1
    Press(rate);
    MoveBy(-120);
    EXPECT_EQ(rate.value, 7.0);
    MoveBy(120);
    EXPECT_EQ(rate.value, 0.0);
    MoveBy(-5);  // less than 12 pixels above the anchor: back to where it began
    EXPECT_EQ(rate.value, 1.0);
}

TEST_F(PanelInputTest, EveryNewValueIsMarkedHeldAndCountsAsAChange) {
    ParamDesc& lowCut = Dm(6);  // 50 Hz, step 1
    Press(lowCut);
    EXPECT_TRUE(lowCut.flags & Dragging);
    EXPECT_EQ(lowCut.flags & UserChangeFlags, 0u) << "a press alone changes nothing";
    EXPECT_EQ(TransmitCount, 0);

    MoveBy(-1);  // no whole step yet
    EXPECT_EQ(lowCut.value, 50.0);
    EXPECT_EQ(lowCut.flags & UserChangeFlags, 0u);

    MoveBy(-4);
    EXPECT_EQ(lowCut.value, 52.0);
    EXPECT_EQ(lowCut.flags & UserChangeFlags, UserChangeFlags);
    EXPECT_EQ(TransmitCount, DragHoldFrames);
    EXPECT_EQ(UnsavedChanges, 1);

    // The same value again is no new change.
    lowCut.flags &= ~UserChangeFlags;
    TransmitCount = 2;
    MoveBy(-5);
    EXPECT_EQ(lowCut.value, 52.0);
    EXPECT_EQ(lowCut.flags & UserChangeFlags, 0u);
    EXPECT_EQ(TransmitCount, 2);

    Release();
    EXPECT_FALSE(drag.dragging);
    EXPECT_EQ(lowCut.flags & Dragging, 0u);
    MoveBy(-40);  // after the release the mouse no longer drags
    EXPECT_EQ(lowCut.value, 52.0);
}

TEST_F(PanelInputTest, RangeLimitsApplyToEveryDraggedValue) {
    ParamDesc& threshold = Dm(9);  // -110 to -30, at -50
    Press(threshold);
    MoveBy(-100);
    EXPECT_EQ(threshold.value, -30.0);
    MoveBy(400);
    EXPECT_EQ(threshold.value, -110.0);
}

TEST_F(PanelInputTest, PressesHitTheEdgesAndMissHiddenRecordsAndReadouts) {
    ParamDesc& lowCut = Dm(6);  // 90, 45, 50 x 10
    const struct {
        int x, y;
        bool hit;
    } points[] = {{90, 45, true}, {140, 55, true}, {140, 45, true}, {90, 55, true},
                  {141, 50, false}, {89, 50, false}, {100, 56, false}, {100, 44, false}};
    for (const auto& p : points) {
        PanelPress(DualMonoTable, DualMonoCount, p.x, p.y, false, drag);
        EXPECT_EQ((lowCut.flags & Dragging) != 0, p.hit) << p.x << "," << p.y;
        Release();
    }

    lowCut.flags |= Hidden;
    PanelPress(DualMonoTable, DualMonoCount, 100, 50, false, drag);
    EXPECT_EQ(lowCut.flags & Dragging, 0u);
    EXPECT_FALSE(drag.dragging);
    lowCut.flags &= ~static_cast<uint32_t>(Hidden);

    ParamDesc& damping = Dm(12);  // a Readout: no drag
    Press(damping);
    EXPECT_FALSE(drag.dragging);
    MoveBy(-20);
    EXPECT_EQ(damping.value, -50.0);
}

TEST_F(PanelInputTest, ASwitchFlipsOnEveryPress) {
    ParamDesc& link = Dm(17);  // "Expander Link L/R", off
    EXPECT_TRUE(PanelPress(DualMonoTable, DualMonoCount, link.x + 1, link.y + 1, false, drag));
    EXPECT_EQ(link.value, 1.0);
    EXPECT_EQ(link.flags & UserChangeFlags, UserChangeFlags);
    EXPECT_EQ(TransmitCount, DragHoldFrames);
    EXPECT_EQ(UnsavedChanges, 1);
    EXPECT_FALSE(drag.dragging) << "a switch is not dragged";
    Release();  // the release does nothing to it
    EXPECT_EQ(link.value, 1.0);

    EXPECT_TRUE(PanelPress(DualMonoTable, DualMonoCount, link.x + 1, link.y + 1, false, drag));
    EXPECT_EQ(link.value, 0.0);

    link.value = 0.7;  // anything above 0.5 counts as on
    PanelPress(DualMonoTable, DualMonoCount, link.x, link.y, false, drag);
    EXPECT_EQ(link.value, 0.0);

    EXPECT_FALSE(PanelPress(DualMonoTable, DualMonoCount, 5, 5, false, drag)) << "nothing there";
}

TEST_F(PanelInputTest, APressElsewhereOrADoubleClickStopsEveryDrag) {
    ParamDesc& lowCut = Dm(6);
    Press(lowCut);
    PanelPress(DualMonoTable, DualMonoCount, 5, 5, false, drag);
    EXPECT_EQ(lowCut.flags & Dragging, 0u);

    Press(lowCut);
    ClearDragging(DualMonoTable, DualMonoCount);
    EXPECT_EQ(lowCut.flags & Dragging, 0u);
}

TEST(DialogForKind, EachKindOpensItsDialog) {
    EXPECT_EQ(DialogForKind(ControlKind::Numeric), ValueDialog::ValueIn);
    EXPECT_EQ(DialogForKind(ControlKind::Choice), ValueDialog::SelectIn);
    EXPECT_EQ(DialogForKind(ControlKind::CyclicChoice), ValueDialog::SelectIn);
    EXPECT_EQ(DialogForKind(ControlKind::Readout), ValueDialog::ValueOut);
    EXPECT_EQ(DialogForKind(ControlKind::Indicator), ValueDialog::ValueOut);
    // A switch flipped on the first press; the double-click opens nothing.
    for (ControlKind k : {ControlKind::Toggle, ControlKind::LevelBar, ControlKind::PeakMarker, ControlKind::RisingBar,
                          ControlKind::Scale, ControlKind::Legend, ControlKind::None})
        EXPECT_EQ(DialogForKind(k), ValueDialog::None) << static_cast<int>(k);
}

// ---- the value dialogs ----

TEST(ReadTypedNumber, TakesTheLongestDecimalPrefix) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"50", 50},      {"  42abc", 42},  {"\t 3", 3},     {"-3.5e1x", -35}, {"1e", 1},     {"2e+", 2},
        {".5", 0.5},     {"-.5", -0.5},    {"5.", 5},       {"+7", 7},        {"12.5 Hz", 12.5},
        {"abc", 0},      {"", 0},          {"-", 0},        {"- 5", 0},       {".", 0},      {"inf", 0},
        {"nan", 0},      {"0x10", 0},      {"1e-2", 0.01},  {"007", 7},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(ReadTypedNumber(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ReadTypedNumber("1e999"), Inf);
    EXPECT_EQ(ReadTypedNumber("-1e999"), -Inf);
    EXPECT_EQ(ReadTypedNumber(nullptr), 0.0);
    std::string longText(600, '1');
    EXPECT_GT(ReadTypedNumber(longText.c_str()), 1e250);
}

TEST_F(PanelInputTest, TypedNumbersForAThresholdAreNegatedAndLimited) {
    const struct {
        const char* typed;
        double stored;
    } cases[] = {{"50", -50}, {"-50", -50}, {"0", -30}, {"200", -110}, {"1e999", -110}, {"40.5", -40.5}};
    for (const auto& c : cases) {
        ParamDesc& threshold = Dm(9);  // -110 to -30
        threshold.value = -70;
        CommitTypedValue(threshold, c.typed);
        EXPECT_EQ(threshold.value, c.stored) << c.typed;
    }
}

TEST_F(PanelInputTest, TypedValuesAreNotRoundedToTheStep) {
    ParamDesc& delay = Dm(22);  // 0 to 170, step 0.1, one decimal
    EXPECT_TRUE(CommitTypedValue(delay, "0.05"));
    EXPECT_EQ(delay.value, 0.05);
    char text[ControlTextSize];
    ControlText(delay, text);
    EXPECT_STREQ(text, "0.0 ms ");

    ParamDesc& ratio = Dm(10);
    EXPECT_TRUE(CommitTypedValue(ratio, "2.37"));
    EXPECT_EQ(ratio.value, 2.37);
    ControlText(ratio, text);
    EXPECT_STREQ(text, "2.3  ");
}

TEST_F(PanelInputTest, TypedValuesAreHeldLongerThanDraggedOnes) {
    ParamDesc& lowCut = Dm(6);  // 2 to 250
    EXPECT_TRUE(CommitTypedValue(lowCut, "12.5 Hz"));
    EXPECT_EQ(lowCut.value, 12.5);
    EXPECT_EQ(lowCut.flags & UserChangeFlags, UserChangeFlags);
    EXPECT_EQ(TransmitCount, DialogHoldFrames);
    EXPECT_EQ(UnsavedChanges, 1);

    EXPECT_TRUE(CommitTypedValue(lowCut, "Hz"));  // letters read as 0
    EXPECT_EQ(lowCut.value, 2.0);
}

TEST_F(PanelInputTest, TheValueAlreadyThereChangesNothing) {
    ParamDesc& lowCut = Dm(6);
    TransmitCount = 3;
    EXPECT_FALSE(CommitTypedValue(lowCut, "50"));
    EXPECT_EQ(lowCut.flags, 0u);
    EXPECT_EQ(TransmitCount, 3);
    EXPECT_EQ(UnsavedChanges, 0);
}

TEST_F(PanelInputTest, APickedLabelIsLimitedAndHeld) {
    ParamDesc& rate = Dm(55);  // 8 labels
    EXPECT_EQ(SelectionLabelCount(rate), 8);
    EXPECT_TRUE(CommitSelection(rate, 6));  // "96.0 kHz "
    EXPECT_EQ(rate.value, 6.0);
    EXPECT_EQ(TransmitCount, DialogHoldFrames);
    EXPECT_EQ(rate.flags & UserChangeFlags, UserChangeFlags);

    rate.flags = 0;
    TransmitCount = 0;
    EXPECT_FALSE(CommitSelection(rate, -1)) << "nothing selected";
    EXPECT_EQ(rate.value, 6.0);
    EXPECT_EQ(rate.flags, 0u);
    EXPECT_EQ(TransmitCount, 0);

    EXPECT_TRUE(CommitSelection(rate, 20));
    EXPECT_EQ(rate.value, 7.0);
}

TEST_F(PanelInputTest, SelectionListsStopAtTheirMaxAndAtTheirLabels) {
    EXPECT_EQ(SelectionLabelCount(Dm(56)), 3);  // Channel Status
    EXPECT_EQ(SelectionLabelCount(Dm(0)), 3);   // Input Select Left
    ParamDesc odd = Dm(56);
    odd.max = 1.0;
    EXPECT_EQ(SelectionLabelCount(odd), 2);
    odd.max = 40.0;  // more than the list holds
    EXPECT_EQ(SelectionLabelCount(odd), 3);
    odd.max = -1.0;
    EXPECT_EQ(SelectionLabelCount(odd), 0);
    odd.max = std::nan("");
    EXPECT_EQ(SelectionLabelCount(odd), 0);
    EXPECT_EQ(SelectionLabelCount(Dm(6)), 0);  // a number has no labels
}

TEST_F(PanelInputTest, DialogTextsShowLimitsWithTheirUnit) {
    char text[64];
    const ParamDesc& damping = Dm(12);  // Readout, -120 to 0 dB
    FormatDialogLimit(damping, damping.min, text, sizeof text);
    EXPECT_STREQ(text, "-120 dB");
    FormatDialogLimit(damping, damping.max, text, sizeof text);
    EXPECT_STREQ(text, "0 dB");

    const ParamDesc& ratio = Dm(10);  // no unit: the number and a blank
    FormatDialogLimit(ratio, ratio.min, text, sizeof text);
    EXPECT_STREQ(text, "1.2 ");
    FormatDialogNumber(ratio, ratio.value, text, sizeof text);
    EXPECT_STREQ(text, "2.0");

    const ParamDesc& release = Dm(54);  // "dB/s"
    EXPECT_EQ(FormatDialogLimit(release, release.max, text, 6), 5);
    EXPECT_STREQ(text, "100 d");

    const ParamDesc& lookAhead = Dm(68);  // an Indicator shows its labels
    EXPECT_STREQ(LabelOf(lookAhead, 0.0), " off");
    EXPECT_STREQ(LabelOf(lookAhead, lookAhead.max), " on ");
}

// ---- the redraw after a device frame ----

// Whether every copy lands inside the record's rectangle.
bool AllInside(const std::vector<CopyCall>& copies, const ParamDesc& r) {
    for (const CopyCall& c : copies)
        if (c.dstX < r.x || c.dstY < r.y || c.dstX + c.width > r.x + r.width ||
            c.dstY + c.height > r.y + r.height)
            return false;
    return !copies.empty();
}

TEST_F(PanelInputTest, ARedrawAfterAFrameDrawsOnlyWhatChanged) {
    UnitFrameState s = DefaultState(FunctionDualMono);
    Feed(FrameOf(s));
    Recorder first;
    DrawMarkedControls(RecordingCanvas(&first), DualMonoTable, DualMonoCount, false);

    // The same frame again: nothing has changed, nothing is drawn.
    Feed(FrameOf(s));
    Recorder same;
    DrawMarkedControls(RecordingCanvas(&same), DualMonoTable, DualMonoCount, false);
    EXPECT_TRUE(same.copies.empty()) << same.copies.size() << " copies, the first is " << same.copies.front();

    // One setting from the unit: that control alone.
    s.settings[7] = 120;  // Low Cut Frequency Right
    Feed(FrameOf(s));
    Recorder one;
    DrawMarkedControls(RecordingCanvas(&one), DualMonoTable, DualMonoCount, false);
    EXPECT_TRUE(AllInside(one.copies, Dm(7)));
    for (int i = 0; i < DualMonoCount; ++i) EXPECT_EQ(DualMonoTable[i].flags & Redraw, 0u) << i;

    // One meter: the bar and its peak mark, nothing else.
    s.meters.level[1] = 4194304;
    Feed(FrameOf(s));
    Recorder meter;
    DrawMarkedControls(RecordingCanvas(&meter), DualMonoTable, DualMonoCount, false);
    EXPECT_TRUE(AllInside(meter.copies, Dm(49)));
}

}  // namespace
