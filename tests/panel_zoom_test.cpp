// The panel zoom: the zoom a monitor and the Panel Size choice give, the
// step-down to the work area, screen and panel pixels both ways, the
// enlargement, and a drag counting panel pixels at every zoom.
#include <gtest/gtest.h>

#include <vector>

#include "panel/panel_input.h"
#include "panel/panel_zoom.h"
#include "tests/test_support.h"

namespace {

TEST(PanelZoomTest, TheChoiceAndTheMonitorGiveTheZoom) {
    const struct {
        PanelSize size;
        int32_t dpi;
        int halves;
    } cases[] = {
        {PanelSize::Auto, 96, 2},   {PanelSize::Auto, 72, 2},   {PanelSize::Auto, 0, 2},
        {PanelSize::Auto, 120, 2},  {PanelSize::Auto, 143, 2},  {PanelSize::Auto, 144, 3},
        {PanelSize::Auto, 168, 3},  {PanelSize::Auto, 192, 4},  {PanelSize::Auto, 288, 6},
        {PanelSize::Auto, 100000, ZoomHalvesMax},               {PanelSize::Percent100, 192, 2},
        {PanelSize::Percent150, 96, 3}, {PanelSize::Percent200, 96, 4}, {PanelSize::Percent300, 144, 6},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WantedZoomHalves(c.size, c.dpi), c.halves) << static_cast<int>(c.size) << " at " << c.dpi;
    EXPECT_EQ(PanelSizeFromNumber(150), PanelSize::Percent150);
    EXPECT_EQ(PanelSizeFromNumber(125), PanelSize::Auto);
}

// The Dual Mono panel (799 x 252) in a window with 8 x 46 pixels of frame,
// caption and menu.
TEST(PanelZoomTest, AZoomThatWouldNotFitStepsDownByHalves) {
    const struct {
        int wanted;
        int32_t workW, workH;
        int halves;
    } cases[] = {
        {4, 1920, 1040, 4},  // 1606 x 550
        {6, 1920, 1040, 4},  // 300 % is 2405 wide: 250 % 2005 too, 200 % fits
        {6, 2560, 1400, 6},  // 2405 x 802
        {4, 1280, 984, 3},   // 150 %: 1206 x 424
        {4, 1024, 728, 2},   // even 150 % (1206) is too wide
        {3, 800, 600, 2},    // never below 100 %, even when that does not fit
        {1, 3000, 3000, 2},
    };
    for (const auto& c : cases) {
        const ZoomFitInput in{c.wanted, 799, 252, 8, 46, c.workW, c.workH};
        EXPECT_EQ(FittingZoomHalves(in), c.halves) << c.wanted << " on " << c.workW << "x" << c.workH;
    }
    EXPECT_EQ(FittingZoomHalves({4, -1, -1, 8, 46, 100, 100}), 4) << "a panel of unknown size keeps the zoom";
}

TEST(PanelZoomTest, ScreenAndPanelPixelsMapBothWays) {
    const struct {
        int halves;
        std::vector<int32_t> screenOf;  // ScaleToScreen(0, 1, 2, ...)
    } cases[] = {
        {2, {0, 1, 2, 3, 4}},
        {3, {0, 1, 3, 4, 6, 7, 9}},
        {4, {0, 2, 4, 6, 8}},
        {6, {0, 3, 6, 9}},
    };
    for (const auto& c : cases) {
        for (size_t p = 0; p < c.screenOf.size(); ++p)
            EXPECT_EQ(ScaleToScreen(static_cast<int32_t>(p), c.halves), c.screenOf[p]) << c.halves << " p " << p;
        // Every screen pixel of panel pixel p's block maps back to p.
        for (int32_t p = -5; p < 900; ++p)
            for (int32_t s = ScaleToScreen(p, c.halves); s < ScaleToScreen(p + 1, c.halves); ++s)
                ASSERT_EQ(ScaleToPanel(s, c.halves), p) << c.halves << " s " << s;
    }
    EXPECT_EQ(ScaleToScreen(892, 6), 2676);
    EXPECT_EQ(ScaleToPanel(65535, 4), 32767) << "the largest mouse word";
}

TEST(PanelZoomTest, EachPanelPixelFillsItsBlockAndNothingElse) {
    // A 3 x 2 panel with six colours, of which the middle column is drawn.
    const uint32_t panel[6] = {1, 2, 3, 4, 5, 6};
    for (int halves : {3, 4}) {
        const int32_t w = ScaleToScreen(3, halves), h = ScaleToScreen(2, halves);
        std::vector<uint32_t> screen(static_cast<size_t>(w * h), 0);
        ZoomPixels(panel, 3, 1, 0, 1, 2, screen.data(), w, halves);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                const int32_t px = ScaleToPanel(x, halves), py = ScaleToPanel(y, halves);
                const uint32_t expected = px == 1 ? panel[py * 3 + px] : 0;
                ASSERT_EQ(screen[static_cast<size_t>(y * w + x)], expected) << halves << " at " << x << "," << y;
            }
        }
    }
}

// A redraw enlarges and shows only what differs from what is shown.
TEST(PanelZoomTest, OnlyTheChangedPixelsAreShownAgain) {
    std::vector<uint32_t> panel(8 * 6, 7);
    const std::vector<uint32_t> shown = panel;
    EXPECT_EQ(ChangedPanelPixels(panel.data(), shown.data(), 8, 0, 0, 8, 6).w, 0) << "all shown";
    panel[2 * 8 + 3] = 9;  // (3, 2)
    panel[4 * 8 + 5] = 9;  // (5, 4)
    const PanelPixelRect r = ChangedPanelPixels(panel.data(), shown.data(), 8, 0, 0, 8, 6);
    EXPECT_EQ(r.x, 3);
    EXPECT_EQ(r.y, 2);
    EXPECT_EQ(r.w, 3);
    EXPECT_EQ(r.h, 3);
    EXPECT_EQ(ChangedPanelPixels(panel.data(), shown.data(), 8, 0, 0, 3, 6).w, 0)
        << "changes outside the asked rectangle do not count";
    const PanelPixelRect one = ChangedPanelPixels(panel.data(), shown.data(), 8, 5, 4, 3, 2);
    EXPECT_EQ(one.x, 5);
    EXPECT_EQ(one.y, 4);
    EXPECT_EQ(one.w, 1);
    EXPECT_EQ(one.h, 1);
}

// A bar redrawn at a new level: only the rows between the old and the new
// level may differ from what is shown; anything else drawn over a column
// makes its rows unknown again.
TEST(PanelZoomTest, ARedrawnBarComparesOnlyTheRowsThatMoved) {
    using Span = ShownPieces::RowSpan;
    const auto spans = [](const std::vector<Span>& v) {
        std::vector<std::pair<int32_t, int32_t>> out;
        for (const Span& s : v) out.emplace_back(s.y, s.h);
        return out;
    };
    using Spans = std::vector<std::pair<int32_t, int32_t>>;
    ShownPieces pieces;
    pieces.Reset(100);
    std::vector<Span> stale;
    // A bar 10 wide, 60 high at (5, 20): dark rows from x 10 of its bitmap, lit ones from x 0.
    const auto bar = [&](int lit, Spans* dark, Spans* lighted) {
        pieces.Copied(3, 10, 0, 5, 20, 10, 60 - lit, stale);
        *dark = spans(stale);
        pieces.Copied(3, 0, 60 - lit, 5, 80 - lit, 10, lit, stale);
        *lighted = spans(stale);
    };
    Spans dark, lit;
    bar(30, &dark, &lit);
    EXPECT_EQ(dark, (Spans{{20, 30}})) << "nothing known yet";
    EXPECT_EQ(lit, (Spans{{50, 30}}));
    bar(36, &dark, &lit);
    EXPECT_EQ(dark, Spans{}) << "the dark rows are the same";
    EXPECT_EQ(lit, (Spans{{44, 6}})) << "only the six rows that lit";
    bar(33, &dark, &lit);
    EXPECT_EQ(dark, (Spans{{44, 3}}));
    EXPECT_EQ(lit, Spans{});
    pieces.Copied(3, 0, 10, 5, 30, 10, 4, stale);  // a peak segment over the dark part, same column
    EXPECT_EQ(spans(stale), (Spans{{30, 4}}));
    pieces.Drawn(12, 60, 1, 2);  // a line across the column
    bar(33, &dark, &lit);
    EXPECT_EQ(dark, (Spans{{30, 4}})) << "the peak rows are dark again";
    EXPECT_EQ(lit, (Spans{{60, 2}})) << "the rows under the line are not known";
    pieces.Copied(3, 0, 0, 0, 0, 6, 9, stale);  // a glyph: compared, no column of its own
    EXPECT_EQ(spans(stale), (Spans{{0, 9}}));
    pieces.Copied(3, 0, 0, 0, 0, 6, 9, stale);
    EXPECT_EQ(spans(stale), (Spans{{0, 9}}));
    pieces.Reset(100);
    bar(33, &dark, &lit);
    EXPECT_EQ(dark, (Spans{{20, 27}})) << "a whole paint forgets everything";
}

// At 200 % a 20-pixel drag moves as far as a 10-pixel drag at 100 %, from
// wherever it starts.
TEST(PanelZoomTest, DragsCountPanelPixelsAtEveryZoom) {
    FreshStart();  // the drag rule lives beside the panel's link to the unit
    for (int32_t start : {0, 1, 57, 200}) {
        const int at100 = DragSteps(start, start + 10, 2);
        EXPECT_EQ(DragSteps(ScaleToPanel(2 * start, 4), ScaleToPanel(2 * start + 20, 4), 2), at100) << start;
        EXPECT_EQ(DragSteps(ScaleToPanel(3 * start, 6), ScaleToPanel(3 * start + 30, 6), 2), at100) << start;
        EXPECT_EQ(DragSteps(ScaleToPanel(2 * start, 4), ScaleToPanel(2 * start - 20, 4), 2), -at100) << start;
    }
}

}  // namespace
