// The analyser panel's layout and background.
#include "panel/analyser_layout.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "model/param_ids.h"
#include "panel/control_drawing.h"
#include "panel/panel_bitmaps.h"

// Rows by size (small, medium, big), range (30 dB, 50 dB) and resolution
// (0.5, 1.0, 2.0 dB). A band is one segment per resolution step over the
// range plus half a step at each end, and one pixel more; the level meters
// beside it are scaled so that 0 dB meets the foot of their three overload
// segments.
const AnalyserGeometry AnalyserGeometryTable[AnalyserGeometryRows] = {
    // bitmap width height step min max scale | meter bitmap step top min OVR
    {14, 10, 123, 2, -30.25, 0.25, 10, 13, 2, 0, -58, -100},
    {11, 10, 125, 4, -30.5, 0.5, 10, 13, 2, 0, -59, -100},
    {12, 10, 129, 8, -31, 1, 10, 13, 2, 0, -61, -100},
    {14, 10, 203, 2, -50.25, 0.25, 10, 17, 3, 1, -64, -100},
    {15, 10, 154, 3, -50.5, 0.5, 10, 13, 2, 1, -73, -100},
    {16, 10, 131, 5, -51, 1, 10, 13, 2, 0, -62, -100},
    {18, 15, 245, 4, -30.25, 0.25, 5, 21, 3, 1, -78, -4},
    {19, 15, 249, 8, -30.5, 0.5, 5, 21, 3, 2, -79, -4},
    {20, 15, 241, 15, -31, 1, 10, 21, 3, 0, -77, -4},
    {22, 15, 304, 3, -50.25, 0.25, 5, 25, 4, 3, -72, -2},
    {23, 15, 256, 5, -50.5, 0.5, 5, 21, 3, 0, -82, -4},
    {24, 15, 261, 10, -51, 1, 10, 21, 3, 2, -83, -4},
    {26, 20, 428, 7, -30.25, 0.25, 5, 29, 5, 2, -82, 0},
    {27, 20, 435, 14, -30.5, 0.5, 5, 29, 5, 4, -83, 0},
    {28, 20, 433, 27, -31, 1, 5, 29, 5, 2, -83, 0},
    {30, 20, 506, 5, -50.25, 0.25, 5, 33, 6, 1, -81, 0},
    {31, 20, 460, 9, -50.5, 0.5, 5, 29, 5, 4, -88, 0},
    {32, 20, 469, 18, -51, 1, 5, 29, 5, 3, -90, 0},
};

namespace {

// Label counts of the selection settings.
constexpr int TypeCount = 8, RangeCount = 2, TopLevelCount = 8, ModeCount = 3,
              ResolutionCount = 3, SizeCount = 3, SampleRateCount = 8;
constexpr int SampleRate32k = 0, SampleRate64k = 4;
constexpr int TopLevelZeroDb = TopLevelCount - 1;
constexpr int SizeSmall = 0;

// The label a selection shows: the whole part of the value, or -1 when that
// names no label (a value the program never writes, from a hand-edited file
// or a faulty frame).
int LabelIndex(double v, int count) {
    if (!(v > -1.0 && v < count)) return -1;  // also NaN
    return static_cast<int>(v);               // cuts towards zero
}

// A setting that shapes the geometry counts as its first label when it
// names none, so that every table it indexes is read inside.
int LabelOrFirst(double v, int count) {
    const int index = LabelIndex(v, count);
    return index < 0 ? 0 : index;
}

// The settings as the layout reads them.
struct Readings {
    int type, range, topLevel, mode, resolution, size, sampleRate;
    bool instantHold, meters;
    bool operator==(const Readings& o) const {
        return type == o.type && range == o.range && topLevel == o.topLevel && mode == o.mode &&
               resolution == o.resolution && size == o.size && sampleRate == o.sampleRate &&
               instantHold == o.instantHold && meters == o.meters;
    }
};

Readings Read(const AnalyserSettings& s) {
    Readings r;
    r.type = LabelOrFirst(s.type, TypeCount);
    r.range = LabelOrFirst(s.range, RangeCount);
    r.topLevel = LabelOrFirst(s.topLevel, TopLevelCount);
    r.mode = LabelOrFirst(s.mode, ModeCount);
    r.resolution = LabelOrFirst(s.resolution, ResolutionCount);
    r.size = LabelOrFirst(s.size, SizeCount);
    // An unknown rate is neither 32.0 nor 64.0 kHz: no band is dropped.
    r.sampleRate = LabelIndex(s.sampleRate, SampleRateCount);
    r.instantHold = IsOn(s.instantHold);
    r.meters = IsOn(s.meters);
    return r;
}

double SettingValue(int id) {
    const ParamDesc* record = FindParam(TableAnalyser, id);
    return record != nullptr ? record->value : 0.0;
}

// Kinds of a band's live and hold record by display mode; None hides the
// record (it keeps the kind it had).
struct ModeKinds {
    ControlKind live, hold;
};
constexpr ModeKinds DisplayModes[6] = {
    {ControlKind::PointMeter, ControlKind::None},        // Point
    {ControlKind::RisingBar, ControlKind::None},         // Bar
    {ControlKind::RisingBar, ControlKind::PeakSegment},  // Peak Hold
    {ControlKind::None, ControlKind::PointMeter},        // Point, instant hold
    {ControlKind::None, ControlKind::RisingBar},         // Bar, instant hold
    {ControlKind::RisingBar, ControlKind::PeakSegment},  // Peak Hold, instant hold
};

// Band legend lists by type, two types per pair.
struct LegendPair {
    const SelectionList* lower;  // columns 0, 2, 4 ...
    const SelectionList* upper;  // columns 1, 3, 5 ...
};
const LegendPair BandLegends[TypeCount / 2] = {
    {&BandLegend10A, &BandLegend10B},
    {&BandLegend15A, &BandLegend15B},
    {&BandLegend20A, &BandLegend20B},
    {&BandLegend30A, &BandLegend30B},
};

void SetHidden(ParamDesc& r, bool hidden) {
    if (hidden) r.flags |= Hidden;
    else r.flags &= ~static_cast<uint32_t>(Hidden);
}

// Kind and Hidden of one record for a display mode: a kind of None hides
// the record and leaves its kind; otherwise the kind is set and the Hidden
// bit left as the band's column made it.
void ApplyModeKind(ParamDesc& r, ControlKind kind) {
    if (kind == ControlKind::None) SetHidden(r, true);
    else r.kind = kind;
}

void SetBar(ParamDesc& r, int32_t bitmap, double lo, double hi, int32_t x, int32_t y, int32_t w,
            int32_t h, int32_t step) {
    r.bitmap = bitmap;
    r.min = lo;
    r.max = hi;
    r.x = x;
    r.y = y;
    r.width = w;
    r.height = h;
    r.labels = nullptr;
    r.helpContext = 0;
    r.step = step;
}

void SetScale(ParamDesc& r, double lo, double hi, int32_t y, int32_t h, double step) {
    r.min = lo;
    r.max = hi;
    r.y = y;
    r.height = h;
    r.step = step;
}

// The scales' fields hold three glyphs and a bit; numbers of four ("-100" to
// "-120", at the lowest top levels) would lose their minus sign there.
constexpr int32_t ScaleFieldX = 2, ScaleFieldWidth = 20;
constexpr int32_t WideScaleFieldWidth = 4 * GlyphWidth;
constexpr double LowestThreeGlyphNumber = -99.0;

bool ScaleNeedsFourGlyphs(const ParamDesc& scale) {
    if (!(scale.step >= 1.0)) return false;
    const double s = std::trunc(scale.step);
    const double first = std::floor(scale.max / s) * s;
    const double lowest = first - std::floor((first - scale.min) / s) * s;  // the last number drawn
    return lowest < LowestThreeGlyphNumber;
}

// Such a scale gets a field four glyphs wide: the left one from the panel's
// edge (its numbers end 2 pixels further right, still clear of the band
// frame), the right one reaching 4 pixels further into the margin.
void FitScaleField(ParamDesc& scale, bool leftOfBands) {
    const bool wide = ScaleNeedsFourGlyphs(scale);
    scale.width = wide ? WideScaleFieldWidth : ScaleFieldWidth;
    if (leftOfBands) scale.x = wide ? 0 : ScaleFieldX;
}

}  // namespace

AnalyserSettings CurrentAnalyserSettings() {
    AnalyserSettings s;
    s.type = SettingValue(AnalyserTypeId);
    s.range = SettingValue(AnalyserRangeId);
    s.topLevel = SettingValue(AnalyserTopLevelId);
    s.mode = SettingValue(AnalyserModeId);
    s.resolution = SettingValue(AnalyserResolutionId);
    s.size = SettingValue(AnalyserSizeId);
    s.instantHold = SettingValue(AnalyserInstantHoldId);
    s.meters = SettingValue(LevelMeterDisplayId);
    s.sampleRate = SettingValue(AnalyserSampleRateId);
    return s;
}

AnalyserLayout ComputeAnalyserLayout(const AnalyserSettings& settings) {
    const Readings r = Read(settings);
    AnalyserLayout l{};
    l.type = r.type;
    l.row = r.size * 6 + r.range * 3 + r.resolution;
    const AnalyserGeometry& g = AnalyserGeometryTable[l.row];

    // 20 and 30 bands lose their top band at 32.0 and 64.0 kHz.
    int hidden = AnalyserBandSlots - AnalyserBandCounts[r.type];
    if (hidden < 14 && (r.sampleRate == SampleRate32k || r.sampleRate == SampleRate64k)) ++hidden;
    l.hiddenBands = hidden;
    l.shownBands = AnalyserBandSlots - hidden;
    l.pitch = g.width + AnalyserColumnGap;
    l.displayMode = (r.instantHold ? 3 : 0) + r.mode;
    l.shift = r.topLevel == TopLevelZeroDb ? 0.0 : -10.0;
    l.top = r.topLevel * 10.0 - 70.0;
    l.meters = r.meters;

    // The bands, a free column and four meter columns, then the scale.
    const int32_t columns = l.shownBands + (l.meters ? 5 : 0);
    l.clientWidth = columns * l.pitch + AnalyserExtraWidth;
    l.clientHeight = g.height + AnalyserExtraHeight;

    const int32_t P = l.pitch, H = hidden;
    l.bandFrame = {AnalyserBandLeft, AnalyserBandTop,
                   P * (29 - H) + AnalyserBandLeft + g.width + 1,
                   AnalyserBandTop + g.height + 1};
    if (l.meters) {
        l.meterFrame = {P * (31 - H) + AnalyserBandLeft, AnalyserBandTop + g.meterTop,
                        P * (34 - H) + AnalyserBandLeft + g.width + 1,
                        AnalyserBandTop + g.height + 1};
    }
    return l;
}

void ApplyAnalyserLayout(const AnalyserLayout& l, ParamDesc* table, int count) {
    if (table == nullptr || count < AnalyserDisplayCount) return;
    if (l.row < 0 || l.row >= AnalyserGeometryRows || l.type < 0 || l.type >= TypeCount ||
        l.displayMode < 0 || l.displayMode > 5 || l.hiddenBands < 0 || l.hiddenBands > 29) {
        return;  // not a layout ComputeAnalyserLayout makes
    }
    const AnalyserGeometry& g = AnalyserGeometryTable[l.row];
    const int32_t W = g.width, P = l.pitch, H = l.hiddenBands;
    const int32_t left = AnalyserBandLeft, top = AnalyserBandTop;
    const ModeKinds kinds = DisplayModes[l.displayMode];

    // Bands: columns from the left for the shown ones; the hidden ones keep
    // their place left of the panel.
    for (int j = 0; j < AnalyserBandSlots; ++j) {
        ParamDesc& live = table[PosFirstBand + 2 * j];
        ParamDesc& hold = table[PosFirstBand + 2 * j + 1];
        const bool shown = j >= H;
        SetHidden(live, !shown);
        SetHidden(hold, !shown);
        ApplyModeKind(live, kinds.live);
        ApplyModeKind(hold, kinds.hold);
        const int32_t x = P * (j - H) + left;
        for (ParamDesc* r : {&live, &hold})
            SetBar(*r, g.bitmap, g.min + l.shift, g.max + l.shift, x, top, W, g.height, g.step);
    }

    SetScale(table[PosScaleLeft], l.top + g.min, l.top + g.max, top, g.height, g.scaleStep);
    FitScaleField(table[PosScaleLeft], true);

    // Band legends: the lower row names columns 0, 2, 4 ..., the upper row
    // columns 1, 3, 5 ..., each label centred on its column.
    ParamDesc& lower = table[PosBandLegend1];
    ParamDesc& upper = table[PosBandLegend2];
    const int32_t upperLast = (28 - H) / 2;
    const int32_t lowerLast = (28 - H) - upperLast;
    const LegendPair& lists = BandLegends[l.type / 2];
    lower.labels = lists.lower;
    upper.labels = lists.upper;
    lower.max = lowerLast;
    upper.max = upperLast;
    lower.x = left + W / 2;
    lower.y = top + g.height + 15;
    lower.width = P * lowerLast * 2;
    upper.x = lower.x + W + AnalyserColumnGap;
    upper.y = top + g.height + 5;
    upper.width = P * upperLast * 2;

    ParamDesc& meterScale = table[PosMeterScale];
    ParamDesc& modes = table[PosMeterLegend1];
    ParamDesc& channels = table[PosMeterLegend2];
    ParamDesc& over = table[PosMeterLegend3];
    if (l.meters) {
        // Four meters in columns 31 - H to 34 - H (RMS left, peak left, peak
        // right, RMS right), overload peaks over the two middle ones.
        for (int i = 0; i < 6; ++i) {
            ParamDesc& r = table[PosFirstMeter + i];
            SetHidden(r, false);
            const bool overPeak = i >= 4;
            r.kind = overPeak ? ControlKind::OverPeakSegment : ControlKind::RisingOverBar;
            const int32_t column = overPeak ? 32 - H + (i - 4) : 31 - H + i;
            SetBar(r, g.meterBitmap, g.meterMin, 0.5, P * column + left, top + g.meterTop, W,
                   g.height - g.meterTop, g.meterStep);
        }
        SetScale(meterScale, g.meterMin, 3.5, top + g.meterTop, g.height - g.meterTop, 10);
        FitScaleField(meterScale, false);
        meterScale.x = P * (35 - H) + left;
        over.x = meterScale.x;
        over.y = meterScale.y + g.ovrOffset;
        for (ParamDesc* r : {&modes, &channels, &over}) SetHidden(*r, false);
        modes.x = P * (31 - H) + W / 2 + left;
        modes.y = top + g.height + 5;
        modes.width = 3 * P;
        channels.x = P * (32 - H) + left - 2;
        channels.y = top + g.height + 15;
        channels.width = 2 * P;
        if (l.row / 6 == SizeSmall) {
            // Narrow columns: spread the meter legends a little further.
            modes.x -= 4;
            modes.width += 8;
            channels.x -= 4;
            channels.width += 8;
        }
    } else {
        for (int i = 0; i < 6; ++i) SetHidden(table[PosFirstMeter + i], true);
        for (ParamDesc* r : {&modes, &channels, &over}) SetHidden(*r, true);
        // The right scale repeats the band scale next to the last band.
        SetScale(meterScale, l.top + g.min, l.top + g.max, top, g.height, g.scaleStep);
        FitScaleField(meterScale, false);
        meterScale.x = P * (30 - H) + left;
    }
}

AnalyserLayout LayOutAnalyserPanel() {
    const AnalyserLayout layout = ComputeAnalyserLayout(CurrentAnalyserSettings());
    ApplyAnalyserLayout(layout, AnalyserDisplayTable, AnalyserDisplayCount);
    return layout;
}

void PaintAnalyserBackground(const PanelCanvas& canvas, const AnalyserLayout& l, int32_t clientWidth,
                             int32_t clientHeight) {
    if (canvas.fill != nullptr)
        canvas.fill(canvas.context, 0, 0, std::max(l.clientWidth, clientWidth), std::max(l.clientHeight, clientHeight),
                    PanelGrey);
    const PanelFrameRect& b = l.bandFrame;
    DrawSunkenFrame(canvas, b.left, b.top, b.right, b.bottom);
    if (l.meters) {
        const PanelFrameRect& m = l.meterFrame;
        DrawSunkenFrame(canvas, m.left, m.top, m.right, m.bottom);
    }
}

bool SameAnalyserLayout(const AnalyserSettings& a, const AnalyserSettings& b) {
    return Read(a) == Read(b);
}
