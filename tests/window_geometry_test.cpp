// Dialog centring, fitting a window to its panel on the work area, saved
// rectangles, and the analyser panel's size.
#include <gtest/gtest.h>

#include <cmath>

#include "model/param_tables.h"
#include "panel/analyser_layout.h"
#include "panel/window_geometry.h"
#include "tests/test_support.h"

namespace {

TEST(CenterDialog, CentresOverTheMainWindowAndNeverGoesNegative) {
    ScreenPoint p = CenteredDialogPosition({100, 100, 902, 377}, 300, 101);
    EXPECT_EQ(p.left, 100 + (802 - 300) / 2);
    EXPECT_EQ(p.top, 100 + (277 - 101) / 2);
    p = CenteredDialogPosition({10, 5, 310, 25}, 400, 200);  // larger than the window
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    p = CenteredDialogPosition({-500, -400, -100, -100}, 50, 50);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    p = CenteredDialogPosition({0, 0, 101, 101}, 50, 50);  // 25.5 truncated
    EXPECT_EQ(p.left, 25);
    p = CenteredDialogPosition({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 10, 10);
    EXPECT_GE(p.left, 0);
}

TEST(SavedRectangle, BecomesPositionAndSizeWithoutOverflow) {
    Placement p = PlacementFromRect({10, 20, 500, 300});
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 20);
    EXPECT_EQ(p.width, 490);
    EXPECT_EQ(p.height, 280);
    p = PlacementFromRect({INT32_MAX, 0, INT32_MIN, 5});
    EXPECT_EQ(p.width, 0);
    EXPECT_EQ(p.x, 32767);
    p = PlacementFromRect({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    EXPECT_EQ(p.width, 32767);
    EXPECT_EQ(p.height, 32767);
}

// Frame of 3 pixels at the sides, 22 + 19 above (caption and menu).
PanelFitInput Window(int left, int top, int clientW, int clientH, int wantW, int wantH, bool force) {
    PanelFitInput in{};
    in.workWidth = 1280;
    in.workHeight = 1000;
    in.window = {left, top, left + clientW + 6, top + clientH + 44};
    in.clientWidth = clientW;
    in.clientHeight = clientH;
    in.wantedWidth = wantW;
    in.wantedHeight = wantH;
    in.force = force;
    return in;
}

TEST(FitWindowToPanel, AFittingWindowStays) {
    EXPECT_FALSE(ComputePanelFit(Window(100, 100, 799, 252, 799, 252, false)).move);
    EXPECT_TRUE(ComputePanelFit(Window(100, 100, 799, 252, 799, 252, true)).move);
}

TEST(FitWindowToPanel, DualMonoToStereoShrinksKeepingTopAndCentre) {
    const PanelFitResult r = ComputePanelFit(Window(100, 100, 799, 252, 799, 234, false));
    ASSERT_TRUE(r.move);
    EXPECT_EQ(r.placement.x, 100);
    EXPECT_EQ(r.placement.y, 100);
    EXPECT_EQ(r.placement.width, 805);
    EXPECT_EQ(r.placement.height, 252 + 44 - 18);
}

TEST(FitWindowToPanel, EmptyPanelKeepsTheHorizontalCentre) {
    const PanelFitResult r = ComputePanelFit(Window(100, 100, 799, 252, 300, 20, true));
    ASSERT_TRUE(r.move);
    EXPECT_EQ(r.placement.x, 100 + (799 - 300) / 2);
    EXPECT_EQ(r.placement.width, 306);
    EXPECT_EQ(r.placement.height, 64);
}

TEST(FitWindowToPanel, StaysOnTheWorkArea) {
    PanelFitResult r = ComputePanelFit(Window(100, 900, 799, 252, 799, 252, true));
    EXPECT_EQ(r.placement.y, 1000 - 252);
    r = ComputePanelFit(Window(-50, 100, 799, 252, 799, 252, true));
    EXPECT_EQ(r.placement.x, 0);
    r = ComputePanelFit(Window(1000, 100, 799, 252, 799, 252, true));
    EXPECT_EQ(r.placement.x, 1280 - 799);
}

TEST(FitWindowToPanel, NegativeSizesKeepTheSizeAndOnlyMoveWhenOutside) {
    PanelFitResult r = ComputePanelFit(Window(100, 100, 300, 20, -1, -1, true));
    ASSERT_TRUE(r.move);
    EXPECT_EQ(r.placement.x, 100);
    EXPECT_EQ(r.placement.y, 100);
    EXPECT_EQ(r.placement.width, 306);
    EXPECT_EQ(r.placement.height, 64);
    r = ComputePanelFit(Window(-30, 990, 300, 20, -1, -1, true));
    EXPECT_EQ(r.placement.x, 0);
    EXPECT_EQ(r.placement.y, 1000 - 64);
    EXPECT_EQ(r.placement.width, 306);
    EXPECT_FALSE(ComputePanelFit(Window(100, 100, 300, 20, -1, -1, false)).move);
}

// The main window in the Analyser function: its client area follows the
// analyser layout of the current settings, and a paint that finds it fitting
// leaves the window alone.
class AnalyserPanelFit : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
    static void Set(int id, double v) { FindParam(TableAnalyser, id)->value = v; }
    static std::pair<int, int> LaidOut() {
        const AnalyserLayout l = LayOutAnalyserPanel();
        return {l.clientWidth, l.clientHeight};
    }
};

TEST_F(AnalyserPanelFit, TheWindowTakesTheLayoutsSizeOnceAndThenStays) {
    struct Step {
        int id;
        double value;
        int width, height;
        const char* why;
    };
    const Step steps[] = {
        {-1, 0.0, 15 * 14 + 52, 165, "start-up: 10 bands, small, 30 dB, 1.0 dB, 44.1 kHz, meters on"},
        {51, 0.0, 192, 165, "meters off"},
        {33, 6.0, 30 * 14 + 52, 165, "30 bands"},
        {42, 0.0, 472, 163, "0.5 dB"},
        {51, 1.0, 542, 163, "meters on"},
        {43, 2.0, 35 * 24 + 52, 428 + 40, "big"},
        {37, 1.0, 892, 546, "50 dB"},
        {55, 0.0, 34 * 24 + 52, 546, "32 kHz drops a band"},
        {43, 0.0, 34 * 14 + 52, 203 + 40, "small again"},
    };
    // The Dual Mono panel was shown before.
    int clientW = DualMonoPanelWidth, clientH = DualMonoPanelHeight, left = 100, top = 50;
    for (const Step& s : steps) {
        if (s.id >= 0) Set(s.id, s.value);
        const auto size = LaidOut();
        EXPECT_EQ(size, std::make_pair(s.width, s.height)) << s.why;
        const PanelFitResult r = ComputePanelFit(Window(left, top, clientW, clientH, size.first, size.second, false));
        ASSERT_TRUE(r.move) << s.why;
        EXPECT_EQ(r.placement.width, s.width + 6) << s.why;
        EXPECT_EQ(r.placement.height, s.height + 44) << s.why;
        EXPECT_EQ(r.placement.y, top) << s.why << ": the top stays";
        left = r.placement.x;
        clientW = size.first;
        clientH = size.second;
        EXPECT_FALSE(ComputePanelFit(Window(left, top, clientW, clientH, size.first, size.second, false)).move)
            << s.why << ": the next paint does not resize";
    }
}

TEST_F(AnalyserPanelFit, TheBiggestPanelStaysOnASmallWorkArea) {
    Set(33, 6.0);
    Set(43, 2.0);
    Set(37, 1.0);
    Set(42, 0.0);
    const auto size = LaidOut();
    PanelFitInput in = Window(700, 500, 262, 165, size.first, size.second, false);
    in.workWidth = 1024;
    in.workHeight = 600;
    const PanelFitResult r = ComputePanelFit(in);
    ASSERT_TRUE(r.move);
    EXPECT_EQ(r.placement.x, 1024 - 892);
    EXPECT_EQ(r.placement.y, 600 - 546);
}

TEST_F(AnalyserPanelFit, OutOfRangeSettingsStillGiveAPanelInsideTheTables) {
    Set(43, 1e300);
    Set(33, -5.0);
    Set(37, std::nan(""));
    Set(51, 7.0);
    const auto s = LaidOut();
    EXPECT_EQ(s, std::make_pair(15 * 14 + 52, 125 + 40)) << "each counts as its first label, meters on";
}

}  // namespace
