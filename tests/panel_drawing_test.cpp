// The drawing rules of every control kind: which bitmap pieces land where,
// and what the generated bitmaps then show on the panel.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "panel/control_drawing.h"
#include "panel/panel_bitmaps.h"
#include "tests/panel_recorder.h"
#include "tests/test_support.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

std::vector<CopyCall> Draw(const ParamDesc& r) {
    Recorder rec;
    DrawControl(RecordingCanvas(&rec), r);
    return rec.copies;
}

ParamDesc& DmRecord(int id) { return *FindParam(TableDualMono, id); }

// A canvas over a plain target with the generated bitmaps.
struct Painted {
    SoftCanvas& canvas = ArtCanvas();
    static constexpr uint32_t Ground = 0x123456;
    explicit Painted(int w = 800, int h = 260) {
        canvas.target = RgbImage(w, h, Ground);
        canvas.outsideReads = 0;
        canvas.copies = 0;
    }
    void Draw(const ParamDesc& r) { DrawControl(CanvasOf(&canvas), r); }
    uint32_t At(int x, int y) const { return canvas.target.At(x, y); }
    // Whether the target at (x, y) shows the w x h piece of `slot` at (sx, sy).
    bool Shows(int x, int y, int slot, int sx, int sy, int w, int h) const {
        const RgbImage& src = canvas.slots[slot];
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (At(x + i, y + j) != src.At(sx + i, sy + j)) return false;
        return true;
    }
};

// ---- level bar ----

TEST(LevelBar, LitLengthsOfTheUnitsRange) {
    const struct {
        double v;
        int lit;
    } cases[] = {
        {-100, 0}, {-80, 0},   {-79, 4},     {-60, 80},          {-24, 228},       {-12, 324},
        {-1, 412}, {-0.1, 420}, {-0.0000021, 420}, {-0.000002, 432}, {-0.0000019, 432}, {0, 432},
        {6, 432},
    };
    for (const auto& c : cases) EXPECT_EQ(LevelBarLength(c.v, -80, 0, 432), c.lit) << "at " << c.v;
}

// Measures the bar on the panel: the columns that show the lit row, then
// the columns that show the dark row.
int LitColumnsOnPanel(const Painted& p, int x, int y, int w) {
    int lit = 0;
    while (lit < w && p.Shows(x + lit, y, SlotLevelBar, lit, 0, 1, 10)) ++lit;
    for (int c = lit; c < w; ++c)
        if (!p.Shows(x + c, y, SlotLevelBar, c, 10, 1, 10)) return -1;
    return lit;
}

TEST(LevelBar, PanelShowsLitAndDarkRowsAtTheLength) {
    FreshStart();
    const double values[] = {-79, -60, -24, -12, -1, -0.1, -0.000002, 0};
    const int expected[] = {4, 80, 228, 324, 412, 420, 432, 432};
    for (int i = 0; i < 8; ++i) {
        Painted p;
        ParamDesc bar = DmRecord(48);
        bar.value = values[i];
        p.Draw(bar);
        EXPECT_EQ(LitColumnsOnPanel(p, bar.x, bar.y, bar.width), expected[i]) << "at " << values[i];
        EXPECT_EQ(p.At(bar.x - 1, bar.y), Painted::Ground);
        EXPECT_EQ(p.At(bar.x + bar.width, bar.y), Painted::Ground);
        EXPECT_EQ(p.canvas.outsideReads, 0);
    }
}

TEST(LevelBar, OverloadZoneLightsOnlyAtFullScale) {
    FreshStart();
    ParamDesc bar = DmRecord(48);
    bar.value = -0.1;
    auto below = Draw(bar);
    ASSERT_EQ(below.size(), 2u);
    EXPECT_EQ(below[1], (CopyCall{SlotLevelBar, 420, 10, 12, 10, bar.x + 420, bar.y, BlitMode::Copy}));
    bar.value = 0;
    auto full = Draw(bar);
    ASSERT_EQ(full.size(), 1u);  // the dark piece is empty
    EXPECT_EQ(full[0], (CopyCall{SlotLevelBar, 0, 0, 432, 10, bar.x, bar.y, BlitMode::Copy}));
}

TEST(PeakMarker, FivePixelsBelowFullScaleNineInTheOverloadZone) {
    FreshStart();
    ParamDesc mark = DmRecord(59);
    mark.value = -12;  // bar length 324
    EXPECT_EQ(Draw(mark), (std::vector<CopyCall>{{SlotLevelBar, 319, 0, 5, 10, mark.x + 319, mark.y, BlitMode::Copy}}));
    mark.value = 0;
    EXPECT_EQ(Draw(mark), (std::vector<CopyCall>{{SlotLevelBar, 423, 0, 9, 10, mark.x + 423, mark.y, BlitMode::Copy}}));
    mark.value = -79;  // 4 pixels: the piece is cut to the bar
    EXPECT_EQ(Draw(mark), (std::vector<CopyCall>{{SlotLevelBar, 0, 0, 4, 10, mark.x, mark.y, BlitMode::Copy}}));
    mark.value = -80;
    EXPECT_TRUE(Draw(mark).empty());
}

// ---- text cells ----

TEST(ValueText, MinusHundredTenDbFillsEightCellsAndCutsTheNinth) {
    FreshStart();
    ParamDesc& thr = DmRecord(9);  // 50 pixels wide at x 270
    thr.value = -110;
    char text[ControlTextSize];
    ASSERT_EQ(ControlText(thr, text), 8);
    EXPECT_STREQ(text, "-110 dB ");
    auto glyph = [](char c) { return 6 * (c - 32); };
    const std::vector<CopyCall> expected = {
        {1, glyph(' '), 0, 6, 10, 314, 30, BlitMode::Copy}, {1, glyph('B'), 0, 6, 10, 308, 30, BlitMode::Copy},
        {1, glyph('d'), 0, 6, 10, 302, 30, BlitMode::Copy}, {1, glyph(' '), 0, 6, 10, 296, 30, BlitMode::Copy},
        {1, glyph('0'), 0, 6, 10, 290, 30, BlitMode::Copy}, {1, glyph('1'), 0, 6, 10, 284, 30, BlitMode::Copy},
        {1, glyph('1'), 0, 6, 10, 278, 30, BlitMode::Copy}, {1, glyph('-'), 0, 6, 10, 272, 30, BlitMode::Copy},
        {1, glyph(' ') + 4, 0, 2, 10, 270, 30, BlitMode::Copy},  // right-hand 2 pixels of a blank
    };
    EXPECT_EQ(Draw(thr), expected);

    Painted p;
    p.Draw(thr);
    EXPECT_TRUE(p.Shows(270, 30, 1, 4, 0, 2, 10));     // the cut cell
    EXPECT_TRUE(p.Shows(272, 30, 1, glyph('-'), 0, 6, 10));
    EXPECT_TRUE(p.Shows(308, 30, 1, glyph('B'), 0, 6, 10));
    EXPECT_EQ(p.At(269, 30), Painted::Ground);          // nothing left of the field
    EXPECT_EQ(p.At(320, 35), Painted::Ground);          // nor right of it
}

TEST(ValueText, LongerTextLosesItsFirstCharacters) {
    FreshStart();
    ParamDesc release = DmRecord(54);  // "dB/s", 60 pixels: exactly 10 cells
    release.width = 50;                // 8 cells and a cut one
    release.value = 1000;
    auto copies = Draw(release);
    ASSERT_EQ(copies.size(), 9u);
    // "1000 dB/s " from the right: the ninth cell shows the cut first '0',
    // the '1' is lost.
    EXPECT_EQ(copies[7].srcX, 6 * ('0' - 32));
    EXPECT_EQ(copies[8], (CopyCall{1, 6 * ('0' - 32) + 4, 0, 2, 10, release.x, release.y, BlitMode::Copy}));
}

TEST(ValueText, TextsOfEachKind) {
    FreshStart();
    char text[ControlTextSize];
    const struct {
        int id;
        double value;
        const char* shown;
    } cases[] = {
        {6, 50, "50 Hz "},           // Numeric, no decimals
        {10, 2, "2.0  "},            // no unit: blank, empty unit, blank
        {54, 80, "80 dB/s "},
        {11, 25.5, "25.5 s "},
        {12, -50, "-50 dB "},        // Readout
        {0, 2.9, "MicPh "},          // Choice: fraction cut
        {56, 1, "Cons. w/o Copyr."}, // CyclicChoice
        {67, 1, " on "},             // Indicator
        {0, 3, "-- "},               // no such label
        {0, -1, "-- "},
        {0, NaN, "-- "},
    };
    for (const auto& c : cases) {
        ParamDesc r = DmRecord(c.id);
        r.value = c.value;
        ControlText(r, text);
        EXPECT_STREQ(text, c.shown) << "id " << c.id << " at " << c.value;
    }
}

TEST(ValueText, CharactersWithoutAGlyphShowAsBlanks) {
    Recorder rec;
    const char text[] = {'a', '\x7f', '\x05', '\xe9'};
    DrawTextCells(RecordingCanvas(&rec), 1, text, 4, 0, 0, 24, BlitMode::Copy);
    ASSERT_EQ(rec.copies.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rec.copies[size_t(i)].srcX, 0);
    EXPECT_EQ(rec.copies[3].srcX, 6 * ('a' - 32));
}

// ---- switches ----

TEST(Toggle, UpperHalfOnLowerHalfOff) {
    FreshStart();
    ParamDesc sw = DmRecord(24);  // De-esser On/Off, 90 x 10
    sw.value = 1;
    EXPECT_EQ(Draw(sw), (std::vector<CopyCall>{{5, 0, 0, 90, 10, 360, 10, BlitMode::Copy}}));
    sw.value = 0.5;  // not above 0.5: off
    EXPECT_EQ(Draw(sw), (std::vector<CopyCall>{{5, 0, 10, 90, 10, 360, 10, BlitMode::Copy}}));
    Painted p;
    sw.value = 0.7;
    p.Draw(sw);
    EXPECT_TRUE(p.Shows(360, 10, 5, 0, 0, 90, 10));
}

// ---- vertical meters ----

TEST(RisingBar, SegmentsFromTheBottom) {
    // 0 to 55 over 55 pixels: one unit per pixel, segments of 3.
    const struct {
        double v;
        int lit;
    } cases[] = {{-3, 0}, {-1, 3}, {0, 3}, {5.9, 6}, {6, 9}, {54, 55}, {55, 55}, {100, 55}};
    for (const auto& c : cases) EXPECT_EQ(RisingLength(c.v, 0, 55, 55, 3, false), c.lit) << c.v;
    ParamDesc alc = Record(ControlKind::RisingBar, 3, 6, 0, 55, 3, 650, 30, 10, 55);
    EXPECT_EQ(Draw(alc), (std::vector<CopyCall>{{3, 10, 0, 10, 46, 650, 30, BlitMode::Copy},
                                                {3, 0, 46, 10, 9, 650, 76, BlitMode::Copy}}));
}

TEST(RisingOverBar, TopThreeSegmentsOnlyAtFullScale) {
    // 100 pixels, segments of 5: 85 pixels for the range below full scale.
    EXPECT_EQ(RisingLength(-1, -60, 0.5, 100, 5, true), 85);
    EXPECT_EQ(RisingLength(-0.000002, -60, 0.5, 100, 5, true), 100);
    EXPECT_EQ(RisingLength(0.4, -60, 0.5, 100, 5, true), 100);
}

TEST(ReductionMeter, HangsFromTheTopAndGrowsTowardsMin) {
    FreshStart();
    ParamDesc m = DmRecord(46);  // -50 to 0, 10 x 55 at 330, 30
    m.value = 0;
    EXPECT_EQ(Draw(m), (std::vector<CopyCall>{{3, 10, 0, 10, 55, 330, 30, BlitMode::Copy}}));
    m.value = -50;
    EXPECT_EQ(Draw(m), (std::vector<CopyCall>{{3, 0, 0, 10, 55, 330, 30, BlitMode::Copy}}));
    m.value = -10;  // 44 pixels dark, raised to 45: 10 lit
    EXPECT_EQ(Draw(m), (std::vector<CopyCall>{{3, 0, 0, 10, 10, 330, 30, BlitMode::Copy},
                                              {3, 10, 10, 10, 45, 330, 40, BlitMode::Copy}}));
}

TEST(NeedleMeter, PointerOfUpToSixPixels) {
    FreshStart();
    ParamDesc m = DmRecord(64);  // -1 to 1, 10 x 55 at 600, 185
    m.value = 0;                 // level 30
    EXPECT_EQ(Draw(m), (std::vector<CopyCall>{{6, 10, 0, 10, 55, 600, 185, BlitMode::Copy},
                                              {6, 0, 25, 10, 6, 600, 210, BlitMode::Copy}}));
    m.value = 1;  // at the top the pointer is 4 pixels
    EXPECT_EQ(Draw(m)[1], (CopyCall{6, 0, 0, 10, 4, 600, 185, BlitMode::Copy}));
    m.value = -1;  // at the bottom it is cut to the 3 lit pixels
    EXPECT_EQ(Draw(m)[1], (CopyCall{6, 0, 52, 10, 3, 600, 237, BlitMode::Copy}));
}

TEST(SegmentKinds, PointPeakAndOverPeak) {
    ParamDesc r = Record(ControlKind::PointMeter, 13, -10, -30.5, 0.5, 2, 27, 10, 10, 125);
    // L = trunc(20.5 * 125 / 31) = 82, raised to 84: one segment at row 41.
    EXPECT_EQ(Draw(r), (std::vector<CopyCall>{{13, 10, 0, 10, 125, 27, 10, BlitMode::Copy},
                                              {13, 0, 41, 10, 2, 27, 51, BlitMode::Copy}}));
    r.kind = ControlKind::PeakSegment;
    EXPECT_EQ(Draw(r), (std::vector<CopyCall>{{13, 0, 41, 10, 2, 27, 51, BlitMode::Copy}}));
    r.kind = ControlKind::OverPeakSegment;
    r.value = 0;  // full scale: the three overload segments
    EXPECT_EQ(Draw(r), (std::vector<CopyCall>{{13, 0, 0, 10, 6, 27, 10, BlitMode::Copy}}));
}

// ---- scales and legends ----

TEST(Scale, NumbersFromMaxDownOredAboveTheirPlace) {
    ParamDesc s = Record(ControlKind::Scale, 9, 0, -40, 0, 10, 2, 35, 20, 123);
    const auto copies = Draw(s);
    // Five numbers, four cells each (three full, one cut to 2 pixels).
    ASSERT_EQ(copies.size(), 20u);
    const int places[] = {35, 65, 96, 127, 158};
    for (int n = 0; n < 5; ++n) {
        for (int c = 0; c < 4; ++c) {
            const CopyCall& call = copies[size_t(4 * n + c)];
            EXPECT_EQ(call.dstY, places[n] - 4);
            EXPECT_EQ(call.mode, BlitMode::Or);
        }
    }
    EXPECT_EQ(copies[0].srcX, 6 * ('0' - 32));   // "0" in the rightmost cell
    EXPECT_EQ(copies[4].srcX, 6 * ('0' - 32));   // "-10": its '0'
    EXPECT_EQ(copies[6].srcX, 6 * ('-' - 32));
    EXPECT_EQ(copies[3], (CopyCall{9, 4, 0, 2, 10, 2, 31, BlitMode::Or}));
}

TEST(Scale, WithoutAWholeStepNothingIsDrawn) {
    // Before the analyser layout gives the scales a step they would loop
    // for ever; they draw nothing instead.
    for (double step : {0.0, 0.5, -10.0, NaN, Inf}) {
        ParamDesc s = Record(ControlKind::Scale, 9, 0, -40, 0, step, 2, 35, 20, 123);
        EXPECT_TRUE(Draw(s).empty()) << step;
    }
    ParamDesc s = Record(ControlKind::Scale, 9, 0, -Inf, 0, 10, 2, 35, 20, 123);
    EXPECT_TRUE(Draw(s).empty());
}

TEST(Legend, LabelsCentredOnTheirPlaces) {
    FreshStart();
    ParamDesc legend = AnalyserDisplayTable[2];  // BandLegend10A, x 30, 112 wide, max 4
    const auto copies = Draw(legend);
    // "31.5", "125", "500", "2k", "8k": 4 + 3 + 3 + 2 + 2 glyphs.
    ASSERT_EQ(copies.size(), 14u);
    // "31.5" centred on 30: right end 30 + 12, glyphs from the right.
    EXPECT_EQ(copies[0], (CopyCall{9, 6 * ('5' - 32), 0, 6, 10, 36, 140, BlitMode::Or}));
    EXPECT_EQ(copies[3], (CopyCall{9, 6 * ('3' - 32), 0, 6, 10, 18, 140, BlitMode::Or}));
    // "8k" centred on 30 + 112: right end 142 + 6.
    EXPECT_EQ(copies[12], (CopyCall{9, 6 * ('k' - 32), 0, 6, 10, 142, 140, BlitMode::Or}));
}

TEST(Legend, SingleLabelEndsAtTheRightEdge) {
    FreshStart();
    ParamDesc over = AnalyserDisplayTable[6];  // "OVR", max 0, 20 wide at 30
    EXPECT_EQ(Draw(over).front(), (CopyCall{9, 6 * ('R' - 32), 0, 6, 10, 44, 140, BlitMode::Or}));
    over.max = 0.5;  // no whole second label: drawn as the single one
    EXPECT_EQ(Draw(over).size(), 3u);
}

// ---- values that are no numbers ----

TEST(NonFinite, MetersShowEmptyOrFull) {
    EXPECT_EQ(LevelBarLength(NaN, -80, 0, 432), 0);
    EXPECT_EQ(LevelBarLength(Inf, -80, 0, 432), 432);
    EXPECT_EQ(LevelBarLength(-Inf, -80, 0, 432), 0);
    EXPECT_EQ(RisingLength(NaN, 0, 24, 55, 3, false), 0);
    EXPECT_EQ(RisingLength(Inf, 0, 24, 55, 3, false), 55);
    EXPECT_EQ(RisingLength(-Inf, 0, 24, 55, 3, true), 0);
    EXPECT_EQ(NeedleLength(NaN, -1, 1, 55), 0);
    EXPECT_EQ(NeedleLength(Inf, -1, 1, 55), 55);
    // The reduction meter's dark length: NaN lights nothing, -inf all.
    EXPECT_EQ(ReductionLength(NaN, -50, 0, 55), 55);
    EXPECT_EQ(ReductionLength(-Inf, -50, 0, 55), 0);
    EXPECT_EQ(ReductionLength(1e300, -50, 0, 55), 55);
    // Limits that are equal or no numbers.
    EXPECT_EQ(RisingLength(5, 3, 3, 55, 3, false), 55);
    EXPECT_EQ(RisingLength(3, 3, 3, 55, 3, false), 0);
    EXPECT_EQ(LevelBarLength(-10, NaN, 0, 432), 0);
}

TEST(NonFinite, NothingLightsForNaN) {
    ParamDesc bar = Record(ControlKind::LevelBar, 4, NaN, -80, 0, 0, 0, 0, 432, 10);
    EXPECT_EQ(Draw(bar), (std::vector<CopyCall>{{4, 0, 10, 432, 10, 0, 0, BlitMode::Copy}}));
    ParamDesc mark = bar;
    mark.kind = ControlKind::PeakMarker;
    EXPECT_TRUE(Draw(mark).empty());
    ParamDesc red = Record(ControlKind::ReductionMeter, 3, NaN, -50, 0, 3, 0, 0, 10, 55);
    EXPECT_EQ(Draw(red), (std::vector<CopyCall>{{3, 10, 0, 10, 55, 0, 0, BlitMode::Copy}}));
}

// ---- the drawing pass and the hit test ----

TEST(DrawMarkedControls, DrawsMarkedRecordsAndClearsTheirBits) {
    FreshStart();
    DualMonoTable[5].flags |= Redraw;                 // Low Cut On/Off
    DualMonoTable[58].flags |= Redraw | Hidden;       // level bar, hidden
    DualMonoTable[6].flags |= SendPending;            // not marked: stays
    Recorder rec;
    DrawMarkedControls(RecordingCanvas(&rec), DualMonoTable, DualMonoCount, false);
    ASSERT_EQ(rec.copies.size(), 1u);
    EXPECT_EQ(rec.copies[0].dstX, 90);
    EXPECT_EQ(DualMonoTable[5].flags & Redraw, 0u);
    EXPECT_EQ(DualMonoTable[58].flags, uint32_t(Hidden));  // cleared but not drawn
    EXPECT_EQ(DualMonoTable[6].flags, uint32_t(SendPending));

    rec.copies.clear();
    DrawMarkedControls(RecordingCanvas(&rec), DualMonoTable, DualMonoCount, true);
    for (const CopyCall& c : rec.copies) {
        const ParamDesc& bar = DualMonoTable[58];
        const bool insideHidden = c.dstY == bar.y && c.dstX >= bar.x && c.height == 10 && c.slot == 4 &&
                                  c.width > 9;  // the hidden bar's own pieces
        EXPECT_FALSE(insideHidden) << c;
    }
}

TEST(DrawMarkedControls, HiddenRecordLeavesThePanelUntouched) {
    FreshStart();
    Painted p;
    DualMonoTable[9].flags |= Hidden;  // Expander Threshold Left
    DrawMarkedControls(CanvasOf(&p.canvas), DualMonoTable, DualMonoCount, true);
    for (int y = 30; y < 40; ++y)
        for (int x = 270; x < 320; ++x) ASSERT_EQ(p.At(x, y), Painted::Ground) << x << "," << y;
    EXPECT_NE(p.At(272, 45), Painted::Ground);  // the ratio below is drawn
}

TEST(HitTest, EdgesIncludedHiddenNeverHit) {
    FreshStart();
    const ParamDesc& thr = DmRecord(9);  // 270, 30, 50 x 10
    EXPECT_TRUE(HitsControl(thr, 270, 30));
    EXPECT_TRUE(HitsControl(thr, 320, 40));  // right and bottom edge
    EXPECT_FALSE(HitsControl(thr, 269, 35));
    EXPECT_FALSE(HitsControl(thr, 321, 35));
    EXPECT_FALSE(HitsControl(thr, 300, 41));
    EXPECT_EQ(NextHitControl(DualMonoTable, DualMonoCount, 0, 300, 35), 9);
    DualMonoTable[9].flags |= Hidden;
    EXPECT_FALSE(HitsControl(DualMonoTable[9], 300, 35));
    EXPECT_EQ(NextHitControl(DualMonoTable, DualMonoCount, 0, 300, 35), -1);
}

TEST(HitTest, EveryRecordUnderThePointInTableOrder) {
    FreshStart();
    // A level bar and its peak mark share their rectangle.
    int first = NextHitControl(DualMonoTable, DualMonoCount, 0, 200, 190);
    ASSERT_EQ(first, 58);
    EXPECT_EQ(NextHitControl(DualMonoTable, DualMonoCount, first + 1, 200, 190), 60);
    EXPECT_EQ(NextHitControl(DualMonoTable, DualMonoCount, 61, 200, 190), -1);
    EXPECT_EQ(NextHitControl(nullptr, 5, 0, 200, 190), -1);
}

// ---- nothing reads outside a bitmap ----

TEST(Bounds, EveryRectangleFitsItsBitmap) {
    FreshStart();
    for (int t = TableDualMono; t <= TableAnalyser; ++t) {
        const ParamDesc* table = TableByNumber(t);
        for (int i = 0; i < TableRecordCount(t); ++i) {
            const ParamDesc& r = table[i];
            const PanelBitmapSlot* slot = BitmapSlot(r.bitmap);
            ASSERT_NE(slot, nullptr) << r.name;
            switch (r.kind) {
                case ControlKind::Toggle:
                    EXPECT_LE(r.width, slot->width) << r.name;
                    EXPECT_LE(2 * r.height, slot->height) << r.name;
                    break;
                case ControlKind::LevelBar:
                case ControlKind::PeakMarker:
                    EXPECT_LE(r.width, slot->width) << r.name;
                    EXPECT_LE(r.height, 10) << r.name;
                    break;
                case ControlKind::RisingBar:
                case ControlKind::ReductionMeter:
                case ControlKind::NeedleMeter:
                    EXPECT_LE(r.width, 10) << r.name;
                    EXPECT_LE(r.height, slot->height) << r.name;
                    break;
                default:
                    EXPECT_LE(r.height, GlyphHeight) << r.name;
            }
        }
    }
}

TEST(Bounds, NoValueMakesTheDrawingReadOutsideABitmap) {
    const double values[] = {0, 0.5, 1, -1, 2.9, 7, 8, 99, -0.000002, -24, -80, -130,
                             1e300, -1e300, Inf, -Inf, NaN, 1e-300, 16777215, -16777216};
    for (int t = TableDualMono; t <= TableAnalyserDisplay; ++t) {
        FreshStart();
        ParamDesc* table = TableByNumber(t);
        const int count = TableRecordCount(t);
        for (double v : values) {
            Painted p(900, 600);
            for (int i = 0; i < count; ++i) table[i].value = v;
            DrawMarkedControls(CanvasOf(&p.canvas), table, count, true);
            EXPECT_EQ(p.canvas.outsideReads, 0) << "table " << t << " at " << v;
        }
    }
    // Rectangles larger than their images are cut to the image.
    Painted p;
    ParamDesc big = Record(ControlKind::Toggle, 2, 1, 0, 1, 1, 0, 0, 200, 30);
    p.Draw(big);
    ParamDesc tall = Record(ControlKind::ReductionMeter, 3, -20, -50, 0, 3, 0, 0, 30, 80);
    p.Draw(tall);
    ParamDesc none = Record(ControlKind::Numeric, 10, 5, 0, 9, 1, 0, 0, 30, 10);
    p.Draw(none);
    EXPECT_EQ(p.canvas.outsideReads, 0);
    EXPECT_EQ(p.canvas.copies, 3);  // toggle and both meter pieces; slot 10 has no bitmap
}

TEST(SunkenFrame, ShadowLeftAndAboveLightRightAndBelow) {
    Painted p(40, 40);
    DrawSunkenFrame(CanvasOf(&p.canvas), 10, 10, 20, 20);
    EXPECT_EQ(p.At(9, 9), PanelFrameShadow);
    EXPECT_EQ(p.At(9, 15), PanelFrameShadow);
    EXPECT_EQ(p.At(15, 9), PanelFrameShadow);
    EXPECT_EQ(p.At(20, 9), PanelFrameLight);   // the light line starts where the shadow ended
    EXPECT_EQ(p.At(20, 15), PanelFrameLight);
    EXPECT_EQ(p.At(15, 20), PanelFrameLight);
    EXPECT_EQ(p.At(9, 20), PanelFrameShadow);  // the left line's start
    EXPECT_EQ(p.At(15, 15), Painted::Ground);
}

}  // namespace
