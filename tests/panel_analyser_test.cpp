// The analyser panel's layout: band count and hidden bands, the 18 display
// sizes, display modes, top level, scales, legends, level meters, client
// size and background; and that any settings at all, also ones the program
// never writes, lay out inside the tables and draw inside the bitmaps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "panel/analyser_layout.h"
#include "panel/control_drawing.h"
#include "panel/panel_bitmaps.h"
#include "tests/panel_recorder.h"
#include "tests/test_support.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Label indices of the settings, as the settings panel holds them.
enum { Band10Q14 = 0, Band10Q25, Band15Q14, Band15Q3, Band20Q3, Band20Q5, Band30Q3, Band30Q5 };
enum { Rate32k = 0, Rate44k1 = 1, Rate48k = 2, Rate64k = 4, Rate96k = 6 };
enum { Point = 0, Bar = 1, PeakHold = 2 };
enum { Small = 0, Medium = 1, Big = 2 };
enum { Range30 = 0, Range50 = 1 };
enum { Res05 = 0, Res10 = 1, Res20 = 2 };
constexpr double TopZeroDb = 7, TopMinus10 = 6, TopMinus20 = 5, TopMinus70 = 0;

// Settings with readable setters; the start is 30 bands, small, 30 dB,
// 1.0 dB, Bar, top level 0 dB, meters off, 44.1 kHz.
struct Settings {
    AnalyserSettings s{Band30Q3, Range30, TopZeroDb, Bar, Res10, Small, 0, 0, Rate44k1};
    Settings& Type(double v) { s.type = v; return *this; }
    Settings& Range(double v) { s.range = v; return *this; }
    Settings& Top(double v) { s.topLevel = v; return *this; }
    Settings& Mode(double v) { s.mode = v; return *this; }
    Settings& Res(double v) { s.resolution = v; return *this; }
    Settings& Size(double v) { s.size = v; return *this; }
    Settings& Instant(double v) { s.instantHold = v; return *this; }
    Settings& Meters(double v) { s.meters = v; return *this; }
    Settings& Rate(double v) { s.sampleRate = v; return *this; }
};

// Puts the settings into the analyser table and lays the panel out as a
// paint does.
AnalyserLayout LayOut(const Settings& settings) {
    const AnalyserSettings& s = settings.s;
    const struct {
        int id;
        double value;
    } values[] = {{33, s.type},       {37, s.range},      {38, s.topLevel},
                  {40, s.mode},       {42, s.resolution}, {43, s.size},
                  {44, s.instantHold}, {51, s.meters},     {55, s.sampleRate}};
    for (const auto& v : values) FindParam(TableAnalyser, v.id)->value = v.value;
    return LayOutAnalyserPanel();
}

ParamDesc& Rec(int position) { return AnalyserDisplayTable[position]; }
ParamDesc& Live(int band) { return Rec(PosFirstBand + 2 * band); }
ParamDesc& Held(int band) { return Rec(PosFirstBand + 2 * band + 1); }
bool IsHidden(const ParamDesc& r) { return (r.flags & Hidden) != 0; }

std::string LabelText(const ParamDesc& r, int j) {
    const char* label = LabelOf(r, j);
    return label != nullptr ? label : "(none)";
}

// ---- the reference sizes and the 18 display sizes ----

TEST(AnalyserSize, ReferenceClientSizes) {
    FreshStart();
    // Small, 30 dB, 0.5 dB, 30 bands: 30 columns of 14 pixels, 123 + 40 high.
    AnalyserLayout l = LayOut(Settings().Res(Res05));
    EXPECT_EQ(l.clientWidth, 472);
    EXPECT_EQ(l.clientHeight, 163);
    l = LayOut(Settings().Res(Res05).Meters(1));
    EXPECT_EQ(l.clientWidth, 542);
    EXPECT_EQ(l.clientHeight, 163);
    // Big, 50 dB, 0.5 dB, 30 bands, meters on: 35 columns of 24 pixels.
    l = LayOut(Settings().Size(Big).Range(Range50).Res(Res05).Meters(1));
    EXPECT_EQ(l.clientWidth, 892);
    EXPECT_EQ(l.clientHeight, 546);
}

// Every display size with 30 bands at 44.1 kHz: what the band, meter and
// scale records get and the client size, meters on and off.
TEST(AnalyserSize, AllEighteenRows) {
    const struct Row {
        int size, range, res;
        int bitmap, width, height, step;
        double min, max, scaleStep;
        int meterBitmap, meterStep, meterTop;
        double meterMin;
        int ovr;
        int widthOff, widthOn, clientHeight;
    } rows[] = {
        {0, 0, 0, 14, 10, 123, 2, -30.25, 0.25, 10, 13, 2, 0, -58, -100, 472, 542, 163},
        {0, 0, 1, 11, 10, 125, 4, -30.5, 0.5, 10, 13, 2, 0, -59, -100, 472, 542, 165},
        {0, 0, 2, 12, 10, 129, 8, -31, 1, 10, 13, 2, 0, -61, -100, 472, 542, 169},
        {0, 1, 0, 14, 10, 203, 2, -50.25, 0.25, 10, 17, 3, 1, -64, -100, 472, 542, 243},
        {0, 1, 1, 15, 10, 154, 3, -50.5, 0.5, 10, 13, 2, 1, -73, -100, 472, 542, 194},
        {0, 1, 2, 16, 10, 131, 5, -51, 1, 10, 13, 2, 0, -62, -100, 472, 542, 171},
        {1, 0, 0, 18, 15, 245, 4, -30.25, 0.25, 5, 21, 3, 1, -78, -4, 622, 717, 285},
        {1, 0, 1, 19, 15, 249, 8, -30.5, 0.5, 5, 21, 3, 2, -79, -4, 622, 717, 289},
        {1, 0, 2, 20, 15, 241, 15, -31, 1, 10, 21, 3, 0, -77, -4, 622, 717, 281},
        {1, 1, 0, 22, 15, 304, 3, -50.25, 0.25, 5, 25, 4, 3, -72, -2, 622, 717, 344},
        {1, 1, 1, 23, 15, 256, 5, -50.5, 0.5, 5, 21, 3, 0, -82, -4, 622, 717, 296},
        {1, 1, 2, 24, 15, 261, 10, -51, 1, 10, 21, 3, 2, -83, -4, 622, 717, 301},
        {2, 0, 0, 26, 20, 428, 7, -30.25, 0.25, 5, 29, 5, 2, -82, 0, 772, 892, 468},
        {2, 0, 1, 27, 20, 435, 14, -30.5, 0.5, 5, 29, 5, 4, -83, 0, 772, 892, 475},
        {2, 0, 2, 28, 20, 433, 27, -31, 1, 5, 29, 5, 2, -83, 0, 772, 892, 473},
        {2, 1, 0, 30, 20, 506, 5, -50.25, 0.25, 5, 33, 6, 1, -81, 0, 772, 892, 546},
        {2, 1, 1, 31, 20, 460, 9, -50.5, 0.5, 5, 29, 5, 4, -88, 0, 772, 892, 500},
        {2, 1, 2, 32, 20, 469, 18, -51, 1, 5, 29, 5, 3, -90, 0, 772, 892, 509},
    };
    FreshStart();
    for (const Row& w : rows) {
        SCOPED_TRACE("size " + std::to_string(w.size) + " range " + std::to_string(w.range) +
                     " resolution " + std::to_string(w.res));
        const Settings base = Settings().Size(w.size).Range(w.range).Res(w.res);
        AnalyserLayout l = LayOut(Settings(base).Meters(0));
        EXPECT_EQ(l.row, w.size * 6 + w.range * 3 + w.res);
        EXPECT_EQ(l.clientWidth, w.widthOff);
        EXPECT_EQ(l.clientHeight, w.clientHeight);
        const ParamDesc& band = Live(29);
        EXPECT_EQ(band.bitmap, w.bitmap);
        EXPECT_EQ(band.width, w.width);
        EXPECT_EQ(band.height, w.height);
        EXPECT_EQ(band.step, w.step);
        EXPECT_EQ(band.min, w.min);  // top level 0 dB: no shift
        EXPECT_EQ(band.max, w.max);
        EXPECT_EQ(band.x, 29 * (w.width + 4) + 27);
        EXPECT_EQ(Rec(PosScaleLeft).step, w.scaleStep);
        EXPECT_EQ(Rec(PosMeterScale).step, w.scaleStep);

        l = LayOut(Settings(base).Meters(1));
        EXPECT_EQ(l.clientWidth, w.widthOn);
        EXPECT_EQ(l.clientHeight, w.clientHeight);
        for (int p = PosFirstMeter; p < PosFirstMeter + 6; ++p) {
            const ParamDesc& m = Rec(p);
            EXPECT_EQ(m.bitmap, w.meterBitmap);
            EXPECT_EQ(m.step, w.meterStep);
            EXPECT_EQ(m.y, 10 + w.meterTop);
            EXPECT_EQ(m.height, w.height - w.meterTop);
            EXPECT_EQ(m.min, w.meterMin);
            EXPECT_EQ(m.max, 0.5);
        }
        EXPECT_EQ(Rec(PosMeterScale).min, w.meterMin);
        EXPECT_EQ(Rec(PosMeterScale).step, 10);
        EXPECT_EQ(Rec(PosMeterLegend3).y, 10 + w.meterTop + w.ovr);
    }
}

// What makes the rows fit together: each band image holds its band and
// both halves, the band is one segment per resolution step over its range
// (and one pixel more), and the number 0 of the meter scale stands where
// 0 dB lights the meters, just under their three overload segments.
TEST(AnalyserSize, RowsFitTheirBitmapsAndScales) {
    const double resolutions[3] = {0.5, 1.0, 2.0};
    for (int row = 0; row < AnalyserGeometryRows; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const AnalyserGeometry& g = AnalyserGeometryTable[row];
        const PanelBitmapSlot* band = BitmapSlot(g.bitmap);
        const PanelBitmapSlot* meter = BitmapSlot(g.meterBitmap);
        ASSERT_NE(band, nullptr);
        ASSERT_NE(meter, nullptr);
        EXPECT_EQ(band->width, 2 * g.width);
        EXPECT_GE(band->height, g.height);
        EXPECT_EQ(meter->width, 2 * g.width);
        EXPECT_GE(meter->height, g.height - g.meterTop);
        const double res = resolutions[row % 3];
        EXPECT_EQ(g.max - g.min, (row % 6 < 3 ? 30 : 50) + res);
        EXPECT_EQ((g.max - g.min) / res * g.step + 1, g.height);

        const int h = g.height - g.meterTop, s = g.meterStep;
        const int zeroLit = RisingLength(-0.001, g.meterMin, 0.5, h, s, true);
        const int zeroOnScale = static_cast<int>(3.5 * h / (3.5 - g.meterMin));
        EXPECT_NEAR(h - zeroLit, zeroOnScale, s);
        EXPECT_GE(h - zeroLit, 3 * s);  // below the overload segments
    }
}

// ---- band count, hidden bands, columns ----

TEST(AnalyserBands, TenBandsAt44k1SmallShowBands20To29) {
    FreshStart();
    const AnalyserLayout l =
        LayOut(Settings().Type(Band10Q14).Rate(Rate44k1).Size(Small).Range(Range30).Res(Res10));
    EXPECT_EQ(l.hiddenBands, 20);
    EXPECT_EQ(l.clientWidth, 192);
    EXPECT_EQ(l.clientHeight, 165);
    for (int j = 0; j < 30; ++j) {
        EXPECT_EQ(IsHidden(Live(j)), j < 20) << j;
        EXPECT_EQ(IsHidden(Held(j)), true) << j;  // Bar shows no held level
    }
    for (int j = 20; j < 30; ++j) {
        EXPECT_EQ(Live(j).x, 27 + 14 * (j - 20)) << j;
        EXPECT_EQ(Held(j).x, Live(j).x);
        EXPECT_EQ(Live(j).y, 10);
    }
    EXPECT_EQ(Live(29).x, 153);
}

TEST(AnalyserBands, TopBandDroppedAt32kAnd64kFor20And30Bands) {
    FreshStart();
    const struct {
        int type;
        double rate;
        int hidden;
    } cases[] = {
        {Band20Q3, Rate32k, 11}, {Band20Q5, Rate64k, 11}, {Band20Q3, Rate48k, 10},
        {Band30Q3, Rate32k, 1},  {Band30Q5, Rate64k, 1},  {Band30Q3, Rate96k, 0},
        {Band30Q3, 3, 0},        {Band30Q3, 7, 0},         // "WCK<64kHz ", "WCK>48kHz "
        {Band15Q3, Rate32k, 15}, {Band15Q14, Rate64k, 15},  // 15 bands keep all
        {Band10Q14, Rate32k, 20}, {Band10Q25, Rate64k, 20},
    };
    for (const auto& c : cases) {
        const AnalyserLayout l = LayOut(Settings().Type(c.type).Rate(c.rate));
        EXPECT_EQ(l.hiddenBands, c.hidden) << "type " << c.type << " rate " << c.rate;
        EXPECT_EQ(l.clientWidth, (30 - c.hidden) * 14 + 52);
        EXPECT_FALSE(IsHidden(Live(29)));
        EXPECT_EQ(Live(c.hidden).x, 27);  // the first shown band in column 0
    }
}

TEST(AnalyserBands, HiddenBandsStayHiddenInEveryMode) {
    FreshStart();
    for (int instant = 0; instant < 2; ++instant) {
        for (int mode = 0; mode < 3; ++mode) {
            LayOut(Settings().Type(Band15Q3).Mode(mode).Instant(instant));
            for (int j = 0; j < 15; ++j) {
                EXPECT_TRUE(IsHidden(Live(j))) << j << " mode " << mode << " instant " << instant;
                EXPECT_TRUE(IsHidden(Held(j))) << j << " mode " << mode << " instant " << instant;
            }
        }
    }
}

// ---- display modes ----

TEST(AnalyserModes, KindsAndHiddenRecordsOfTheSixModes) {
    const struct {
        int mode, instant;
        ControlKind live, held;  // None: hidden
    } cases[] = {
        {Point, 0, ControlKind::PointMeter, ControlKind::None},
        {Bar, 0, ControlKind::RisingBar, ControlKind::None},
        {PeakHold, 0, ControlKind::RisingBar, ControlKind::PeakSegment},
        {Point, 1, ControlKind::None, ControlKind::PointMeter},
        {Bar, 1, ControlKind::None, ControlKind::RisingBar},
        {PeakHold, 1, ControlKind::RisingBar, ControlKind::PeakSegment},
    };
    FreshStart();
    for (const auto& c : cases) {
        const AnalyserLayout l = LayOut(Settings().Mode(c.mode).Instant(c.instant));
        EXPECT_EQ(l.displayMode, c.mode + 3 * c.instant);
        for (int j = 0; j < 30; ++j) {
            SCOPED_TRACE("mode " + std::to_string(c.mode) + " instant " + std::to_string(c.instant) +
                         " band " + std::to_string(j));
            EXPECT_EQ(IsHidden(Live(j)), c.live == ControlKind::None);
            EXPECT_EQ(IsHidden(Held(j)), c.held == ControlKind::None);
            if (c.live != ControlKind::None) {
                EXPECT_EQ(Live(j).kind, c.live);
            }
            if (c.held != ControlKind::None) {
                EXPECT_EQ(Held(j).kind, c.held);
            }
        }
    }
}

TEST(AnalyserModes, AHiddenRecordKeepsItsKind) {
    FreshStart();
    LayOut(Settings().Mode(PeakHold));
    LayOut(Settings().Mode(Bar));  // the held records are hidden now
    EXPECT_EQ(Held(29).kind, ControlKind::PeakSegment);
    LayOut(Settings().Mode(Bar).Instant(1));  // now the live ones
    EXPECT_EQ(Live(29).kind, ControlKind::RisingBar);
    EXPECT_EQ(Held(29).kind, ControlKind::RisingBar);
}

// Which records a full paint draws: in Peak Hold each shown band its bar and
// its held segment over it; with instant hold and Point only the held
// record, as a point.
TEST(AnalyserModes, WhatAFullPaintDraws) {
    FreshStart();
    auto drawnKinds = [](int band) {
        std::vector<ControlKind> kinds;
        for (int p : {PosFirstBand + 2 * band, PosFirstBand + 2 * band + 1}) {
            Recorder rec;
            ParamDesc copy = Rec(p);
            DrawMarkedControls(RecordingCanvas(&rec), &copy, 1, true);
            if (!rec.copies.empty()) kinds.push_back(copy.kind);
        }
        return kinds;
    };
    for (int j = 0; j < 30; ++j) {
        Live(j).value = -20;
        Held(j).value = -8;
    }
    LayOut(Settings().Mode(PeakHold));
    EXPECT_EQ(drawnKinds(12), (std::vector<ControlKind>{ControlKind::RisingBar, ControlKind::PeakSegment}));
    LayOut(Settings().Mode(Point).Instant(1));
    EXPECT_EQ(drawnKinds(12), (std::vector<ControlKind>{ControlKind::PointMeter}));
    // The point stands at the held level: one segment, at -8 dB.
    Recorder rec;
    DrawControl(RecordingCanvas(&rec), Held(12));
    ASSERT_EQ(rec.copies.size(), 2u);  // dark column, then the lit segment
    const int lit = RisingLength(-8, Held(12).min, Held(12).max, Held(12).height, 4, false);
    EXPECT_EQ(rec.copies[1], (CopyCall{11, 0, 125 - lit, 10, 4, Held(12).x, 10 + 125 - lit, BlitMode::Copy}));
}

// ---- top level ----

TEST(AnalyserTopLevel, ZeroDbLeavesTheBandLimitsMinus20ShiftsThem) {
    FreshStart();
    // 0 dB: bands at the row's limits, scale from its max down to its min.
    AnalyserLayout l = LayOut(Settings().Top(TopZeroDb).Res(Res10));
    EXPECT_EQ(l.shift, 0);
    EXPECT_EQ(l.top, 0);
    EXPECT_EQ(Live(29).min, -30.5);
    EXPECT_EQ(Live(29).max, 0.5);
    EXPECT_EQ(Rec(PosScaleLeft).max, 0.5);
    EXPECT_EQ(Rec(PosScaleLeft).min, -30.5);
    // -20 dB: the band limits move 10 down; the scales run from -20 + max to
    // -20 + min, so their numbers read -20 at the top.
    l = LayOut(Settings().Top(TopMinus20).Res(Res10));
    EXPECT_EQ(l.shift, -10);
    EXPECT_EQ(l.top, -20);
    EXPECT_EQ(Live(29).min, -40.5);
    EXPECT_EQ(Live(29).max, -9.5);
    EXPECT_EQ(Held(29).min, -40.5);
    EXPECT_EQ(Rec(PosScaleLeft).max, -19.5);
    EXPECT_EQ(Rec(PosScaleLeft).min, -50.5);
    EXPECT_EQ(Rec(PosMeterScale).max, -19.5);  // meters off: the same scale on the right
    // -70 dB: the same shift, the scale 50 dB further down.
    l = LayOut(Settings().Top(TopMinus70).Res(Res10));
    EXPECT_EQ(Live(29).min, -40.5);
    EXPECT_EQ(Rec(PosScaleLeft).max, -69.5);
}

// The scale's numbers stand where a band of that level lights to: the top
// of the lit part is within one segment of the number's place.
TEST(AnalyserTopLevel, ScaleNumbersLineUpWithTheBands) {
    FreshStart();
    for (int row = 0; row < AnalyserGeometryRows; ++row) {
        for (double top : {TopZeroDb, TopMinus10, TopMinus20, TopMinus70}) {
            LayOut(Settings().Size(row / 6).Range(row / 3 % 2).Res(row % 3).Top(top));
            const ParamDesc& scale = Rec(PosScaleLeft);
            const ParamDesc& band = Live(29);
            const AnalyserLayout l = ComputeAnalyserLayout(CurrentAnalyserSettings());
            for (double t = std::floor(scale.max / scale.step) * scale.step; t >= scale.min; t -= scale.step) {
                const int place = scale.y - static_cast<int>((t - scale.max) * scale.height / (scale.max - scale.min));
                const double level = t - l.top + l.shift;  // the band value that number stands for
                const int lit = RisingLength(level, band.min, band.max, band.height, static_cast<int>(band.step), false);
                EXPECT_NEAR(band.y + band.height - lit, place, band.step)
                    << "row " << row << " top " << top << " number " << t;
            }
        }
    }
}

// "-100" to "-120" at the lowest top levels keep their minus sign: every
// number fits its field whole, the left field stays clear of the band frame
// and the right one on the panel.
TEST(AnalyserTopLevel, EveryScaleNumberFitsItsFieldWhole) {
    FreshStart();
    for (int row = 0; row < AnalyserGeometryRows; ++row) {
        for (double top = TopMinus70; top <= TopZeroDb; ++top) {
            for (double meters : {0.0, 1.0}) {
                const AnalyserLayout l = LayOut(Settings().Size(row / 6).Range(row / 3 % 2).Res(row % 3).Top(top).Meters(meters));
                for (int position : {PosScaleLeft, PosMeterScale}) {
                    const ParamDesc& scale = Rec(position);
                    SCOPED_TRACE("row " + std::to_string(row) + " top " + std::to_string(top) + " meters " +
                                 std::to_string(meters) + " position " + std::to_string(position));
                    EXPECT_GE(scale.x, 0);
                    EXPECT_LE(scale.x + scale.width, position == PosScaleLeft ? 26 : l.clientWidth);
                    for (double t = std::floor(scale.max / scale.step) * scale.step; t >= scale.min; t -= scale.step)
                        EXPECT_LE(static_cast<int>(std::to_string(static_cast<int>(t)).size()) * GlyphWidth, scale.width)
                            << t;
                }
            }
        }
    }
    LayOut(Settings().Top(TopMinus20));
    EXPECT_EQ(Rec(PosScaleLeft).x, 2) << "three-glyph scales stay where they were";
    EXPECT_EQ(Rec(PosScaleLeft).width, 20);
}

// ---- legends ----

TEST(AnalyserLegends, StaggeredRowsNameEveryShownBand) {
    FreshStart();
    const struct {
        int type;
        double rate;
        int lowerLast, upperLast;
        const char *lowerFirst, *lowerEnd, *upperFirst, *upperEnd;
    } cases[] = {
        {Band10Q14, Rate44k1, 4, 4, "31.5", "8k", "63", "16k"},
        {Band15Q3, Rate32k, 7, 6, "25", "16k", "40", "10k"},
        {Band20Q3, Rate32k, 9, 8, "31.5", "16k", "44", "11k3"},  // 19 bands
        {Band20Q5, Rate48k, 9, 9, "31.5", "16k", "44", "20k"},
        {Band30Q3, Rate44k1, 14, 14, "25", "16k", "31.5", "20k"},
        {Band30Q5, Rate64k, 14, 13, "25", "16k", "31.5", "12k5"},  // "20k" dropped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " rate " + std::to_string(c.rate));
        const AnalyserLayout l = LayOut(Settings().Type(c.type).Rate(c.rate));
        const ParamDesc& lower = Rec(PosBandLegend1);
        const ParamDesc& upper = Rec(PosBandLegend2);
        EXPECT_EQ(lower.max, c.lowerLast);
        EXPECT_EQ(upper.max, c.upperLast);
        EXPECT_EQ(c.lowerLast + c.upperLast + 2, l.shownBands);
        EXPECT_EQ(LabelText(lower, 0), c.lowerFirst);
        EXPECT_EQ(LabelText(lower, c.lowerLast), c.lowerEnd);
        EXPECT_EQ(LabelText(upper, 0), c.upperFirst);
        EXPECT_EQ(LabelText(upper, c.upperLast), c.upperEnd);
        // Centred on columns 0, 2, 4 ... (lower row) and 1, 3, 5 ... (upper).
        EXPECT_EQ(lower.x, 27 + 5);
        EXPECT_EQ(lower.y, 10 + 125 + 15);
        EXPECT_EQ(lower.width, 14 * 2 * c.lowerLast);
        EXPECT_EQ(upper.x, 27 + 5 + 14);
        EXPECT_EQ(upper.y, 10 + 125 + 5);
        EXPECT_EQ(upper.width, 14 * 2 * c.upperLast);
    }
}

// The label places, from the legend drawing: [left, right) of each label.
struct Extent {
    int left, right;
};
std::vector<Extent> LabelExtents(const ParamDesc& r) {
    std::vector<Extent> out;
    const int last = static_cast<int>(r.max);
    for (int j = 0; j <= last; ++j) {
        const int length = static_cast<int>(std::strlen(LabelOf(r, j)));
        const int centre = last > 0 ? r.x + r.width * j / last : r.x + r.width - 3 * length;
        const int right = centre + 6 * length / 2;
        out.push_back({right - 6 * length, right});
    }
    return out;
}

// On every size, type and rate, meters on and off: the labels of each text
// row stand apart from each other and inside the client area.
TEST(AnalyserLegends, LabelsNeverOverlapAndStayOnThePanel) {
    FreshStart();
    for (int row = 0; row < AnalyserGeometryRows; ++row) {
        for (int type = 0; type < 8; ++type) {
            for (double rate : {double(Rate32k), double(Rate48k)}) {
                for (int meters = 0; meters < 2; ++meters) {
                    const AnalyserLayout l = LayOut(
                        Settings().Size(row / 6).Range(row / 3 % 2).Res(row % 3).Type(type).Rate(rate).Meters(meters));
                    std::vector<const ParamDesc*> legends = {&Rec(PosBandLegend1), &Rec(PosBandLegend2)};
                    if (meters) legends.insert(legends.end(), {&Rec(PosMeterLegend1), &Rec(PosMeterLegend2)});
                    std::vector<std::pair<int, Extent>> placed;  // y, extent
                    for (const ParamDesc* r : legends)
                        for (const Extent& e : LabelExtents(*r)) placed.push_back({r->y, e});
                    for (size_t a = 0; a < placed.size(); ++a) {
                        const Extent& e = placed[a].second;
                        EXPECT_GE(e.left, 0) << "row " << row << " type " << type;
                        EXPECT_LE(e.right, l.clientWidth) << "row " << row << " type " << type;
                        EXPECT_LE(placed[a].first + 10, l.clientHeight);
                        for (size_t b = a + 1; b < placed.size(); ++b) {
                            if (placed[b].first != placed[a].first) continue;
                            const Extent& f = placed[b].second;
                            EXPECT_TRUE(e.right <= f.left || f.right <= e.left)
                                << "row " << row << " type " << type << " meters " << meters << ": labels at "
                                << e.left << ".." << e.right << " and " << f.left << ".." << f.right;
                        }
                    }
                }
            }
        }
    }
}

// ---- level meters ----

TEST(AnalyserMeters, FourMetersTwoOverloadPeaksAndTheirLegends) {
    FreshStart();
    // Medium, 30 dB, 1.0 dB, 20 bands at 48 kHz: H = 10, P = 19.
    const AnalyserLayout l = LayOut(Settings().Type(Band20Q3).Rate(Rate48k).Size(Medium).Meters(1));
    ASSERT_EQ(l.hiddenBands, 10);
    const int P = 19;
    for (int i = 0; i < 4; ++i) {
        const ParamDesc& m = Rec(PosFirstMeter + i);
        EXPECT_FALSE(IsHidden(m));
        EXPECT_EQ(m.kind, ControlKind::RisingOverBar);
        EXPECT_EQ(m.x, P * (21 + i) + 27);
        EXPECT_EQ(m.width, 15);
        EXPECT_EQ(m.labels, nullptr);
    }
    for (int i = 0; i < 2; ++i) {
        const ParamDesc& o = Rec(PosFirstOverPeak + i);
        EXPECT_FALSE(IsHidden(o));
        EXPECT_EQ(o.kind, ControlKind::OverPeakSegment);
        EXPECT_EQ(o.x, Rec(PosFirstMeter + 1 + i).x);  // over the two middle meters
    }
    const ParamDesc& scale = Rec(PosMeterScale);
    EXPECT_EQ(scale.x, P * 25 + 27);
    EXPECT_EQ(scale.max, 3.5);
    EXPECT_EQ(scale.y, 10 + 2);
    EXPECT_EQ(scale.height, 249 - 2);
    EXPECT_EQ(scale.x + scale.width, l.clientWidth - 5);
    const ParamDesc& modes = Rec(PosMeterLegend1);
    const ParamDesc& channels = Rec(PosMeterLegend2);
    const ParamDesc& over = Rec(PosMeterLegend3);
    EXPECT_EQ(modes.x, P * 21 + 7 + 27);  // centre of the first meter
    EXPECT_EQ(modes.y, 10 + 249 + 5);
    EXPECT_EQ(modes.width, 3 * P);
    EXPECT_EQ(channels.x, P * 22 + 27 - 2);  // between the meters of a channel
    EXPECT_EQ(channels.y, 10 + 249 + 15);
    EXPECT_EQ(channels.width, 2 * P);
    EXPECT_EQ(over.x, scale.x);
    EXPECT_EQ(over.y, scale.y - 4);
    for (const ParamDesc* r : {&modes, &channels, &over}) EXPECT_FALSE(IsHidden(*r));
    EXPECT_EQ(LabelText(modes, 1), "Peak");
    EXPECT_EQ(LabelText(channels, 1), "Right");
}

TEST(AnalyserMeters, SmallSizeHidesOvrAndSpreadsTheOtherLegends) {
    FreshStart();
    const AnalyserLayout l = LayOut(Settings().Size(Small).Res(Res05).Meters(1));
    const ParamDesc& scale = Rec(PosMeterScale);
    const ParamDesc& over = Rec(PosMeterLegend3);
    EXPECT_EQ(over.y, scale.y - 100);
    EXPECT_LE(over.y + over.height, 0);  // wholly above the client area
    const int P = 14;
    EXPECT_EQ(Rec(PosMeterLegend1).x, P * 31 + 5 + 27 - 4);
    EXPECT_EQ(Rec(PosMeterLegend1).width, 3 * P + 8);
    EXPECT_EQ(Rec(PosMeterLegend2).x, P * 32 + 27 - 2 - 4);
    EXPECT_EQ(Rec(PosMeterLegend2).width, 2 * P + 8);
    // And nothing of "OVR" lands on the panel.
    Recorder rec;
    DrawControl(RecordingCanvas(&rec), over);
    ASSERT_FALSE(rec.copies.empty());
    for (const CopyCall& c : rec.copies) EXPECT_LE(c.dstY + c.height, 0);
    EXPECT_EQ(l.clientWidth, 542);
}

TEST(AnalyserMeters, SwitchingThemOffHidesThemAndNarrowsThePanel) {
    FreshStart();
    const Settings on = Settings().Size(Big).Type(Band20Q5).Rate(Rate32k).Meters(1);
    const AnalyserLayout withMeters = LayOut(on);
    const AnalyserLayout without = LayOut(Settings(on).Meters(0));
    EXPECT_EQ(withMeters.clientWidth - without.clientWidth, 5 * 24);
    EXPECT_EQ(withMeters.clientHeight, without.clientHeight);
    for (int p = PosFirstMeter; p < AnalyserDisplayCount; ++p) EXPECT_TRUE(IsHidden(Rec(p))) << p;
    for (int p = PosMeterLegend1; p <= PosMeterLegend3; ++p) EXPECT_TRUE(IsHidden(Rec(p))) << p;
    // The right scale repeats the band scale next to the last band.
    const ParamDesc& right = Rec(PosMeterScale);
    const ParamDesc& left = Rec(PosScaleLeft);
    EXPECT_EQ(right.x, Live(29).x + 24);
    EXPECT_EQ(right.min, left.min);
    EXPECT_EQ(right.max, left.max);
    EXPECT_EQ(right.step, left.step);
    EXPECT_EQ(right.y, 10);
    EXPECT_EQ(right.height, Live(29).height);
    EXPECT_FALSE(IsHidden(right));
    // Back on: shown again.
    LayOut(on);
    for (int p = PosFirstMeter; p < AnalyserDisplayCount; ++p) EXPECT_FALSE(IsHidden(Rec(p))) << p;
}

// ---- what the layout leaves alone, and repeated paints ----

TEST(AnalyserLayoutRecords, ValuesHoldCountsAndOtherFlagsStay) {
    FreshStart();
    for (int p = PosFirstBand; p < AnalyserDisplayCount; ++p) {
        Rec(p).value = -3.5 - p;
        Rec(p).holdCount = p;
        Rec(p).flags |= Redraw | SendPending;
    }
    LayOut(Settings().Type(Band10Q14).Meters(1).Mode(PeakHold));
    LayOut(Settings().Type(Band30Q3).Meters(0).Mode(Point));
    for (int p = PosFirstBand; p < AnalyserDisplayCount; ++p) {
        EXPECT_EQ(Rec(p).value, -3.5 - p);
        EXPECT_EQ(Rec(p).holdCount, p);
        EXPECT_EQ(Rec(p).flags & (Redraw | SendPending), Redraw | SendPending);
        EXPECT_EQ(Rec(p).id, p < 67 ? p - 7 : p - 3);
    }
    // The static records keep their names, ids, bitmaps and labels where the
    // layout has no say.
    EXPECT_STREQ(Rec(PosMeterLegend1).name, "Meter Legend 1");
    EXPECT_EQ(Rec(PosMeterLegend1).labels, &MeterLegendModes);
    EXPECT_EQ(Rec(PosScaleLeft).x, 2);
    EXPECT_EQ(Rec(PosScaleLeft).width, 20);
    EXPECT_EQ(Rec(PosScaleLeft).bitmap, SlotScaleFont);
}

TEST(AnalyserLayoutRecords, RepeatedPaintsChangeNothing) {
    FreshStart();
    const Settings s = Settings().Type(Band20Q5).Size(Medium).Range(Range50).Meters(1).Mode(PeakHold);
    const AnalyserLayout first = LayOut(s);
    ParamDesc before[AnalyserDisplayCount];
    std::memcpy(before, AnalyserDisplayTable, sizeof before);
    const AnalyserLayout second = LayOut(s);
    EXPECT_EQ(std::memcmp(before, AnalyserDisplayTable, sizeof before), 0);
    EXPECT_EQ(first.clientWidth, second.clientWidth);
    EXPECT_EQ(first.clientHeight, second.clientHeight);
}

TEST(AnalyserLayoutRecords, ATableTooShortIsLeftAlone) {
    FreshStart();
    ParamDesc copy[AnalyserDisplayCount];
    std::memcpy(copy, AnalyserDisplayTable, sizeof copy);
    ApplyAnalyserLayout(ComputeAnalyserLayout(Settings().s), copy, AnalyserDisplayCount - 1);
    ApplyAnalyserLayout(ComputeAnalyserLayout(Settings().s), nullptr, AnalyserDisplayCount);
    EXPECT_EQ(std::memcmp(copy, AnalyserDisplayTable, sizeof copy), 0);
    AnalyserLayout bogus = ComputeAnalyserLayout(Settings().s);
    bogus.row = 18;  // not a layout the computation makes
    ApplyAnalyserLayout(bogus, copy, AnalyserDisplayCount);
    EXPECT_EQ(std::memcmp(copy, AnalyserDisplayTable, sizeof copy), 0);
}

// ---- settings the program never writes ----

// A switch counts as on above 0.5 everywhere, also for the width: at 0.7
// the meters are shown and the panel is wide enough for them; at 3 it is not
// wider than at 1.
TEST(AnalyserOddSettings, MeterSwitchDecidesShownAndWidthAlike) {
    FreshStart();
    const int on = LayOut(Settings().Meters(1)).clientWidth;
    const int off = LayOut(Settings().Meters(0)).clientWidth;
    for (double v : {0.7, 1.0, 1.9, 3.0, 1e9, Inf}) {
        const AnalyserLayout l = LayOut(Settings().Meters(v));
        EXPECT_TRUE(l.meters) << v;
        EXPECT_EQ(l.clientWidth, on) << v;
        EXPECT_FALSE(IsHidden(Rec(PosFirstMeter))) << v;
        EXPECT_LE(Rec(PosMeterScale).x + Rec(PosMeterScale).width, l.clientWidth) << v;
    }
    for (double v : {0.5, 0.3, 0.0, -1.0, -Inf, NaN}) {
        const AnalyserLayout l = LayOut(Settings().Meters(v));
        EXPECT_FALSE(l.meters) << v;
        EXPECT_EQ(l.clientWidth, off) << v;
        EXPECT_TRUE(IsHidden(Rec(PosFirstMeter))) << v;
    }
}

TEST(AnalyserOddSettings, InstantHoldSwitchCountsAsOnAboveHalf) {
    FreshStart();
    EXPECT_EQ(LayOut(Settings().Mode(Point).Instant(0.7)).displayMode, 3);
    EXPECT_EQ(LayOut(Settings().Mode(Point).Instant(0.5)).displayMode, 0);
    EXPECT_EQ(LayOut(Settings().Mode(Bar).Instant(NaN)).displayMode, 1);
    EXPECT_EQ(LayOut(Settings().Mode(PeakHold).Instant(5)).displayMode, 5);
}

// A fractional top level counts as the label it shows: 6.7 shows "-10 dB",
// so the bands shift with the scale.
TEST(AnalyserOddSettings, FractionalTopLevelShiftsBandsAndScaleAlike) {
    FreshStart();
    const AnalyserLayout l = LayOut(Settings().Top(6.7).Res(Res10));
    EXPECT_EQ(l.top, -10);
    EXPECT_EQ(l.shift, -10);
    EXPECT_EQ(Live(29).max, -9.5);
    EXPECT_EQ(Rec(PosScaleLeft).max, -9.5);
    EXPECT_EQ(LayOut(Settings().Top(7.9)).shift, 0);
}

// Selections take the whole part of their value; one that names no label
// counts as the first label (10 bands with their legends, small, 30 dB,
// 0.5 dB, Point, -70 dB); an unknown sample rate drops no band.
TEST(AnalyserOddSettings, SelectionsOutsideTheirLabels) {
    FreshStart();
    AnalyserLayout l = LayOut(Settings().Type(6.9).Size(2.5).Range(1.2).Res(0.99));
    EXPECT_EQ(l.type, 6);
    EXPECT_EQ(l.row, 2 * 6 + 1 * 3 + 0);
    for (double type : {8.0, 9.0, 255.0, -1.0, -0.5 - 1, 1e300, -Inf, NaN}) {
        l = LayOut(Settings().Type(type).Rate(Rate32k));
        EXPECT_EQ(l.type, 0) << type;
        EXPECT_EQ(l.hiddenBands, 20) << type;
        EXPECT_EQ(Rec(PosBandLegend1).labels, &BandLegend10A) << type;
        EXPECT_EQ(Rec(PosBandLegend2).labels, &BandLegend10B) << type;
    }
    EXPECT_EQ(LayOut(Settings().Type(-0.5)).type, 0);  // whole part 0
    l = LayOut(Settings().Size(3).Range(2).Res(-2).Mode(3).Top(8));
    EXPECT_EQ(l.row, 0);
    EXPECT_EQ(l.displayMode, 0);
    EXPECT_EQ(l.top, -70);
    for (double rate : {8.0, -1.0, 1e9, NaN, Inf}) EXPECT_EQ(LayOut(Settings().Rate(rate)).hiddenBands, 0) << rate;
    EXPECT_EQ(LayOut(Settings().Rate(4.6)).hiddenBands, 1);  // shows "64.0 kHz "
    EXPECT_EQ(LayOut(Settings().Rate(0.3)).hiddenBands, 1);  // shows "32.0 kHz "
}

TEST(AnalyserOddSettings, SameLayoutComparesWhatTheLayoutReads) {
    const AnalyserSettings a = Settings().s;
    EXPECT_TRUE(SameAnalyserLayout(a, Settings().Type(6.5).s));
    EXPECT_TRUE(SameAnalyserLayout(Settings().Type(NaN).s, Settings().Type(0).s));
    EXPECT_TRUE(SameAnalyserLayout(Settings().Meters(NaN).s, Settings().Meters(0).s));
    // Two changes that leave the sum of the values alike still differ.
    EXPECT_FALSE(SameAnalyserLayout(Settings().Size(1).Res(1).s, Settings().Size(0).Res(2).s));
    EXPECT_FALSE(SameAnalyserLayout(a, Settings().Rate(Rate32k).s));
}

// ---- any settings at all ----

// Checks that hold for every layout: the records used lie on the panel
// and inside their bitmaps, the legends name only labels of their lists,
// and drawing every record reads inside the bitmaps and writes inside the
// client area (but for "OVR" in the small size, wholly above it).
void CheckLayout(const AnalyserLayout& l, bool draw, const std::string& what) {
    SCOPED_TRACE(what);
    ASSERT_GE(l.row, 0);
    ASSERT_LT(l.row, AnalyserGeometryRows);
    const AnalyserGeometry& g = AnalyserGeometryTable[l.row];
    ASSERT_GE(l.hiddenBands, 0);
    ASSERT_LE(l.hiddenBands, 20);
    EXPECT_EQ(l.clientWidth, (30 - l.hiddenBands + (l.meters ? 5 : 0)) * (g.width + 4) + 52);
    EXPECT_EQ(l.clientHeight, g.height + 40);
    EXPECT_GE(l.bandFrame.left - 1, 0);
    EXPECT_LT(l.bandFrame.right, l.clientWidth);
    EXPECT_LT(l.bandFrame.bottom, l.clientHeight);
    if (l.meters) {
        EXPECT_GT(l.meterFrame.left - 1, l.bandFrame.right);
        EXPECT_LT(l.meterFrame.right, l.clientWidth);
    }
    for (int p = 0; p < AnalyserDisplayCount; ++p) {
        const ParamDesc& r = Rec(p);
        if (IsHidden(r)) continue;
        const PanelBitmapSlot* slot = BitmapSlot(r.bitmap);
        ASSERT_NE(slot, nullptr) << p;
        const bool over = p == PosMeterLegend3;
        if (!over || g.ovrOffset > -100) {
            EXPECT_GE(r.x, 0) << p;
            EXPECT_GE(r.y, 0) << p;
            EXPECT_LE(r.x + r.width, l.clientWidth) << p;
            EXPECT_LE(r.y + r.height, l.clientHeight) << p;
        }
        if (p >= PosFirstBand) {
            EXPECT_EQ(2 * r.width, slot->width) << p;
            EXPECT_LE(r.height, slot->height) << p;
            EXPECT_GE(r.step, 1) << p;
            EXPECT_TRUE(r.kind == ControlKind::RisingBar || r.kind == ControlKind::PointMeter ||
                        r.kind == ControlKind::PeakSegment || r.kind == ControlKind::RisingOverBar ||
                        r.kind == ControlKind::OverPeakSegment)
                << p;
        }
        if (r.kind == ControlKind::Legend) {
            ASSERT_NE(r.labels, nullptr) << p;
            EXPECT_LT(r.max, r.labels->count) << p;
            EXPECT_NE(LabelOf(r, r.max), nullptr) << p;
        }
        if (r.kind == ControlKind::Scale) {
            EXPECT_GE(r.step, 5) << p;
            EXPECT_LT(r.min, r.max) << p;
        }
        if (!draw) continue;
        Recorder rec;
        DrawControl(RecordingCanvas(&rec), r);
        for (const CopyCall& c : rec.copies) {
            const PanelBitmapSlot* from = BitmapSlot(c.slot);
            ASSERT_NE(from, nullptr);
            EXPECT_TRUE(c.srcX >= 0 && c.srcY >= 0 && c.srcX + c.width <= from->width &&
                        c.srcY + c.height <= from->height)
                << p << " " << c;
            if (over && g.ovrOffset == -100) {
                EXPECT_LE(c.dstY + c.height, 0) << p << " " << c;
            } else {
                EXPECT_TRUE(c.dstX >= 0 && c.dstY >= 0 && c.dstX + c.width <= l.clientWidth &&
                            c.dstY + c.height <= l.clientHeight)
                    << p << " " << c;
            }
        }
    }
}

// Every combination of the labels of the nine settings (110,592 layouts).
TEST(AnalyserAnySettings, EveryLabelCombinationLaysOutOnThePanel) {
    FreshStart();
    long layouts = 0;
    for (int type = 0; type < 8; ++type)
        for (int range = 0; range < 2; ++range)
            for (int top = 0; top < 8; ++top)
                for (int mode = 0; mode < 3; ++mode)
                    for (int res = 0; res < 3; ++res)
                        for (int size = 0; size < 3; ++size)
                            for (int instant = 0; instant < 2; ++instant)
                                for (int meters = 0; meters < 2; ++meters)
                                    for (int rate = 0; rate < 8; ++rate) {
                                        const Settings s = Settings().Type(type).Range(range).Top(top).Mode(mode)
                                                               .Res(res).Size(size).Instant(instant)
                                                               .Meters(meters).Rate(rate);
                                        const AnalyserLayout l = LayOut(s);
                                        ++layouts;
                                        // Drawing is slow under the sanitizers: every
                                        // row, type and meter choice once.
                                        const bool draw = top == 7 && mode == 2 && instant == 0 &&
                                                          (rate == 0 || rate == 1);
                                        CheckLayout(l, draw, "combination " + std::to_string(layouts));
                                        if (::testing::Test::HasFailure()) return;
                                    }
    EXPECT_EQ(layouts, 110592);
}

// Random settings from hand-edited files and faulty frames: negative, huge,
// fractional, infinite and not-a-number values in any mix.
TEST(AnalyserAnySettings, RandomValuesOutOfRangeLayOutInsideTheTables) {
    FreshStart();
    const double odd[] = {0,     1,     2,    3,      4,     5,     6,      7,     8,    9,
                          255,   -1,    -0.5, -0.0,   0.49,  0.5,   0.51,   6.5,   6.99, 7.99,
                          2.999, 1e9,   -1e9, 1e300,  -1e300, 2147483648.0, -2147483649.0,
                          std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
                          std::numeric_limits<double>::denorm_min(), Inf, -Inf, NaN};
    constexpr int N = sizeof odd / sizeof odd[0];
    std::mt19937 random(72);
    std::uniform_int_distribution<int> pick(0, N + 1);
    std::uniform_real_distribution<double> wide(-40.0, 40.0);
    auto value = [&] {
        const int i = pick(random);
        return i < N ? odd[i] : wide(random);  // two in N + 2: any fraction
    };
    for (int n = 0; n < 60000; ++n) {
        Settings s;
        s.s = {value(), value(), value(), value(), value(), value(), value(), value(), value()};
        const AnalyserLayout l = LayOut(s);
        CheckLayout(l, n % 200 == 0, "random layout " + std::to_string(n));
        if (::testing::Test::HasFailure()) return;
    }
}

// The settings come from the analyser table, by id.
TEST(AnalyserAnySettings, SettingsAreReadFromTheAnalyserTable) {
    FreshStart();
    const AnalyserSettings s = CurrentAnalyserSettings();
    EXPECT_EQ(s.type, 0);
    EXPECT_EQ(s.topLevel, 2);  // the start value: "-50 dB"
    EXPECT_EQ(s.meters, 1);
}

// ---- the background ----

TEST(AnalyserBackground, GreyWithSunkenFramesAroundBandsAndMeters) {
    FreshStart();
    // Small, 30 dB, 1.0 dB, 10 bands, meters on: bands in columns 0 to 9.
    const AnalyserLayout l = LayOut(Settings().Type(Band10Q14).Meters(1));
    ASSERT_EQ(l.clientWidth, 15 * 14 + 52);
    SoftCanvas canvas;
    canvas.target = RgbImage(l.clientWidth, l.clientHeight, 0);
    PaintAnalyserBackground(CanvasOf(&canvas), l, l.clientWidth, l.clientHeight);
    const RgbImage& t = canvas.target;
    // Band frame: left 27, top 10, right 14 * 9 + 27 + 10 + 1 = 164,
    // bottom 136; the shadow one pixel outside on the left and top, the
    // light edge on the right and bottom line.
    EXPECT_EQ(l.bandFrame.right, 164);
    EXPECT_EQ(t.At(26, 9), PanelFrameShadow);
    EXPECT_EQ(t.At(26, 136), PanelFrameShadow);
    EXPECT_EQ(t.At(164, 9), PanelFrameLight);
    EXPECT_EQ(t.At(164, 136), PanelFrameLight);
    EXPECT_EQ(t.At(100, 9), PanelFrameShadow);
    EXPECT_EQ(t.At(100, 136), PanelFrameLight);
    EXPECT_EQ(t.At(100, 137), PanelGrey);
    EXPECT_EQ(t.At(165, 50), PanelGrey);
    // Meter frame: columns 11 to 14, from the meters' top.
    const int left = 14 * 11 + 27, right = 14 * 14 + 27 + 10 + 1;
    EXPECT_EQ(t.At(left - 1, 50), PanelFrameShadow);
    EXPECT_EQ(t.At(right, 50), PanelFrameLight);
    EXPECT_EQ(t.At(left + 3, 9), PanelFrameShadow);
    // Everything else is the panel grey.
    int other = 0;
    for (uint32_t p : t.pixels)
        if (p != PanelGrey && p != PanelFrameShadow && p != PanelFrameLight) ++other;
    EXPECT_EQ(other, 0);
    EXPECT_EQ(t.At(0, 0), PanelGrey);
    EXPECT_EQ(t.At(l.clientWidth - 1, l.clientHeight - 1), PanelGrey);
}

// A window that kept a larger client area (it could not shrink to a smaller
// layout) is grey to its edges, with nothing left of the earlier paint.
TEST(AnalyserBackground, AClientLargerThanTheLayoutIsFilledWholly) {
    FreshStart();
    const AnalyserLayout l = LayOut(Settings().Type(Band10Q14).Meters(1));
    SoftCanvas canvas;
    const int width = l.clientWidth + 40, height = l.clientHeight + 30;
    canvas.target = RgbImage(width, height, 0);
    PaintAnalyserBackground(CanvasOf(&canvas), l, width, height);
    EXPECT_EQ(canvas.target.At(width - 1, height - 1), PanelGrey);
    EXPECT_EQ(canvas.target.At(width - 1, 0), PanelGrey);
    EXPECT_EQ(canvas.target.At(0, height - 1), PanelGrey);
}

TEST(AnalyserBackground, NoMeterFrameWithoutMeters) {
    FreshStart();
    const AnalyserLayout l = LayOut(Settings().Type(Band10Q14).Meters(0));
    std::vector<int> lines;
    PanelCanvas c{};
    c.context = &lines;
    c.line = [](void* ctx, int, int, int, int, uint32_t) { static_cast<std::vector<int>*>(ctx)->push_back(1); };
    PaintAnalyserBackground(c, l, l.clientWidth, l.clientHeight);  // no fill: nothing breaks
    EXPECT_EQ(lines.size(), 4u);
}

// ---- whole paints with the generated bitmaps ----

TEST(AnalyserPaint, EverySizeAndModeReadsInsideTheBitmaps) {
    FreshStart();
    for (int row = 0; row < AnalyserGeometryRows; ++row) {
        for (int m = 0; m < 6; ++m) {
            for (int j = 0; j < 30; ++j) {  // a ramp from silence to over the top
                Live(j).value = -60 + 2.2 * j;
                Held(j).value = -55 + 2.2 * j;
            }
            for (int i = 0; i < 6; ++i) Rec(PosFirstMeter + i).value = -100 + 20 * i;
            const Settings s = Settings().Size(row / 6).Range(row / 3 % 2).Res(row % 3).Mode(m % 3)
                                   .Instant(m / 3).Meters(m % 2).Type(m);
            SoftCanvas canvas;
            std::string error;
            LayOut(s);
            ASSERT_TRUE(RenderPanel(&canvas, QIV_ART_DIR, PanelAnalyser, &error)) << error;
            EXPECT_EQ(canvas.outsideReads, 0) << "row " << row << " mode " << m;
            const AnalyserLayout l = ComputeAnalyserLayout(s.s);
            EXPECT_EQ(canvas.target.width, l.clientWidth);
            EXPECT_EQ(canvas.target.height, l.clientHeight);
        }
    }
}

}  // namespace
