// Dialog centring, fitting a window to its panel on the work area, saved
// rectangles, and the analyser panel's size.
#include <gtest/gtest.h>

#include "app/window_geometry.h"
#include "model/param_tables.h"
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

class AnalyserPanelSize : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
    static void Set(int id, double v) { FindParam(TableAnalyser, id)->value = v; }
    static std::pair<int, int> Size() {
        int32_t w = 0, h = 0;
        AnalyserPanelClientSize(w, h);
        return {w, h};
    }
};

TEST_F(AnalyserPanelSize, FollowsTypeSizeRangeResolutionAndMeters) {
    // Start-up: 10 bands, small, 30 dB, 1.0 dB, 44.1 kHz, meters on.
    EXPECT_EQ(Size(), std::make_pair(15 * 14 + 52, 165));
    Set(51, 0.0);
    EXPECT_EQ(Size(), std::make_pair(192, 165));
    Set(33, 6.0);  // 30 bands
    Set(42, 0.0);  // 0.5 dB
    EXPECT_EQ(Size(), std::make_pair(472, 163));
    Set(51, 1.0);
    EXPECT_EQ(Size(), std::make_pair(542, 163));
    Set(43, 2.0);
    Set(37, 1.0);
    EXPECT_EQ(Size(), std::make_pair(892, 546));
    Set(55, 0.0);  // 32 kHz drops a band
    EXPECT_EQ(Size(), std::make_pair(34 * 24 + 52, 546));
}

TEST_F(AnalyserPanelSize, OutOfRangeSettingsStayInsideTheTables) {
    Set(43, 1e300);
    Set(33, -5.0);
    const auto s = Size();
    EXPECT_GT(s.first, 0);
    EXPECT_GT(s.second, 0);
}

}  // namespace
