// Control drawing from bitmap pieces, meter arithmetic and the hit test.
#include "panel/control_drawing.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "panel/panel_bitmaps.h"

namespace {

// Scaled values beyond this many pixels are saturated before the integer
// conversion; no panel is that large, so the drawing is the same as with
// exact arithmetic.
constexpr double PixelLimit = 1.0e6;

// Whole part (cut towards zero) of a pixel quantity; infinities saturate.
// NaN must be handled by the caller.
int TruncPixels(double d) {
    if (d >= PixelLimit) return static_cast<int>(PixelLimit);
    if (d <= -PixelLimit) return -static_cast<int>(PixelLimit);
    return static_cast<int>(d);  // cuts towards zero
}

// The segment height of a meter: the whole part of `step`, at least 1 (a
// zero, negative or NaN step would divide by zero).
int SegmentOf(double step) {
    if (!(step >= 1.0)) return 1;
    if (step >= PixelLimit) return static_cast<int>(PixelLimit);
    return static_cast<int>(step);
}

int Min(int a, int b) { return a < b ? a : b; }
int Max(int a, int b) { return a > b ? a : b; }

// Every copy goes through here: the piece is cut to the bitmap's size, so a
// rectangle larger than its image, a slot without a bitmap or an empty piece
// reads nothing.
void Copy(const PanelCanvas& canvas, int slot, int srcX, int srcY, int width, int height, int dstX,
          int dstY, BlitMode mode) {
    const PanelBitmapSlot* bitmap = BitmapSlot(slot);
    if (bitmap == nullptr || canvas.copy == nullptr) return;
    if (srcX < 0) {
        width += srcX;
        dstX -= srcX;
        srcX = 0;
    }
    if (srcY < 0) {
        height += srcY;
        dstY -= srcY;
        srcY = 0;
    }
    if (srcX + width > bitmap->width) width = bitmap->width - srcX;
    if (srcY + height > bitmap->height) height = bitmap->height - srcY;
    if (width <= 0 || height <= 0) return;
    canvas.copy(canvas.context, slot, srcX, srcY, width, height, dstX, dstY, mode);
}

void DrawText(const PanelCanvas& canvas, const ParamDesc& r) {
    char text[ControlTextSize];
    const int length = ControlText(r, text);
    DrawTextCells(canvas, r.bitmap, text, length, r.x, r.y, r.width, BlitMode::Copy);
}

void DrawToggle(const PanelCanvas& canvas, const ParamDesc& r) {
    const int srcY = IsOn(r.value) ? 0 : r.height;
    Copy(canvas, r.bitmap, 0, srcY, r.width, r.height, r.x, r.y, BlitMode::Copy);
}

// RisingBar and RisingOverBar: dark part from the top, lit part from the
// bottom.
void DrawRising(const PanelCanvas& canvas, const ParamDesc& r, bool overload) {
    const int w = r.width, h = r.height;
    const int lit = RisingLength(r.value, r.min, r.max, h, SegmentOf(r.step), overload);
    Copy(canvas, r.bitmap, w, 0, w, h - lit, r.x, r.y, BlitMode::Copy);
    Copy(canvas, r.bitmap, 0, h - lit, w, lit, r.x, r.y + h - lit, BlitMode::Copy);
}

// PointMeter, PeakSegment and OverPeakSegment: one lit piece at the level;
// the point meter first darkens its column.
void DrawSegment(const PanelCanvas& canvas, const ParamDesc& r, bool darkFirst, bool overload) {
    const int w = r.width, h = r.height;
    const int s = SegmentOf(r.step);
    int lit = RisingLength(r.value, r.min, r.max, h, s, overload);
    int piece = s;
    if (overload && r.value >= OverloadThreshold) {
        lit = h;
        piece = 3 * s;
    }
    if (darkFirst) Copy(canvas, r.bitmap, w, 0, w, h, r.x, r.y, BlitMode::Copy);
    Copy(canvas, r.bitmap, 0, h - lit, w, Min(lit, piece), r.x, r.y + h - lit, BlitMode::Copy);
}

void DrawNeedle(const PanelCanvas& canvas, const ParamDesc& r) {
    const int w = r.width, h = r.height;
    const int lit = NeedleLength(r.value, r.min, r.max, h);
    Copy(canvas, r.bitmap, 10, 0, w, h, r.x, r.y, BlitMode::Copy);
    const int pointer = Min(h - lit + 4, 6);
    Copy(canvas, r.bitmap, 0, h - lit, w, Min(pointer, lit), r.x, r.y + h - lit, BlitMode::Copy);
}

void DrawReduction(const PanelCanvas& canvas, const ParamDesc& r) {
    const int w = r.width, h = r.height;
    const int dark = ReductionLength(r.value, r.min, r.max, h);
    Copy(canvas, r.bitmap, 0, 0, w, h - dark, r.x, r.y, BlitMode::Copy);
    Copy(canvas, r.bitmap, 10, h - dark, w, dark, r.x, r.y + h - dark, BlitMode::Copy);
}

void DrawLevelBar(const PanelCanvas& canvas, const ParamDesc& r) {
    const int w = r.width, h = r.height;
    const int lit = LevelBarLength(r.value, r.min, r.max, w);
    Copy(canvas, r.bitmap, 0, 0, lit, h, r.x, r.y, BlitMode::Copy);
    Copy(canvas, r.bitmap, lit, 10, w - lit, h, r.x + lit, r.y, BlitMode::Copy);
}

void DrawPeakMarker(const PanelCanvas& canvas, const ParamDesc& r) {
    const int lit = LevelBarLength(r.value, r.min, r.max, r.width);
    const int piece = r.value >= OverloadThreshold ? 9 : 5;
    const int from = Max(lit - piece, 0);
    Copy(canvas, r.bitmap, from, 0, Min(lit, piece), r.height, r.x + from, r.y, BlitMode::Copy);
}

// A column of numbers from max down to min, each OR-ed over the panel with
// its top 4 pixels above its place. A scale without a whole step (before the
// analyser layout gives it one) or with limits that are not numbers draws
// nothing instead of looping forever.
void DrawScale(const PanelCanvas& canvas, const ParamDesc& r) {
    const double hi = r.max, lo = r.min, step = r.step;
    if (!std::isfinite(hi) || !std::isfinite(lo) || !std::isfinite(step) || !(step >= 1.0)) return;
    if (!(hi > lo)) return;
    const double s = std::trunc(step);
    // No panel shows more numbers than this; the bound keeps absurd limits
    // from running long.
    constexpr int MaxNumbers = 512;
    int numbers = 0;
    for (double t = std::floor(hi / s) * s; t >= lo && numbers < MaxNumbers; t -= step, ++numbers) {
        char text[ValueTextRoom];
        int length = std::snprintf(text, sizeof text, "%.0f", t);
        if (length < 0) return;
        if (length >= static_cast<int>(sizeof text)) length = static_cast<int>(sizeof text) - 1;
        const int place = r.y - TruncPixels((t - hi) * r.height / (hi - lo));
        DrawTextCells(canvas, r.bitmap, text, length, r.x, place - 4, r.width, BlitMode::Or);
    }
}

// Labels 0 to max spread over the width, each centred on its place; the
// last one (or the only one) as the list allows. Glyphs are OR-ed, nothing is
// cut and no blanks are filled in.
void DrawLegend(const PanelCanvas& canvas, const ParamDesc& r) {
    if (!(r.max >= 0.0)) return;
    const int last = r.max >= MaxLabels ? MaxLabels - 1 : static_cast<int>(r.max);
    for (int j = 0; j <= last; ++j) {
        const char* label = LabelOf(r, j);
        if (label == nullptr) return;
        const int length = static_cast<int>(std::strlen(label));
        int right;
        if (last > 0) {
            right = r.x + r.width * j / last + GlyphWidth * length / 2;
        } else {
            right = r.x + r.width;
        }
        for (int k = 0; k < length; ++k) {
            unsigned char c = static_cast<unsigned char>(label[length - 1 - k]);
            if (c < FirstGlyph || c > LastGlyph) c = ' ';
            Copy(canvas, r.bitmap, GlyphWidth * (c - FirstGlyph), 0, GlyphWidth, r.height,
                 right - GlyphWidth * (k + 1), r.y, BlitMode::Or);
        }
    }
}

}  // namespace

int ControlText(const ParamDesc& record, char* text) {
    switch (record.kind) {
        case ControlKind::Numeric:
        case ControlKind::Readout: {
            const int n = FormatParamValue(record, text, ValueTextRoom);
            const int more = std::snprintf(text + n, UnitTextRoom, " %s ", record.unit);
            return n + (more > 0 ? Min(more, UnitTextRoom - 1) : 0);
        }
        case ControlKind::Choice:
        case ControlKind::CyclicChoice:
        case ControlKind::Indicator: {
            const char* label = LabelOf(record, record.value);
            if (label == nullptr) label = "-- ";
            const int n = Min(static_cast<int>(std::strlen(label)), ControlTextSize - 1);
            std::memcpy(text, label, static_cast<size_t>(n));
            text[n] = '\0';
            return n;
        }
        default:
            text[0] = '\0';
            return 0;
    }
}

void DrawTextCells(const PanelCanvas& canvas, int slot, const char* text, int length, int x, int y,
                   int width, BlitMode mode) {
    int r = x + width;
    int k = 0;
    while (r > x) {
        r -= GlyphWidth;
        const int cut = r - x < 0 ? r - x : 0;
        unsigned char c = k < length ? static_cast<unsigned char>(text[length - 1 - k]) : ' ';
        ++k;
        if (c < FirstGlyph || c > LastGlyph) c = ' ';
        Copy(canvas, slot, GlyphWidth * (c - FirstGlyph) - cut, 0, GlyphWidth + cut, GlyphHeight,
             r - cut, y, mode);
    }
}

int RisingLength(double v, double lo, double hi, int h, int segment, bool overload) {
    if (overload && v >= OverloadThreshold) return h;
    const int s = segment < 1 ? 1 : segment;
    const int range = overload ? h - 3 * s : h;
    const double scaled = (v - lo) * range / (hi - lo);
    if (std::isnan(scaled)) return 0;
    int lit = TruncPixels(scaled);
    lit = s * (lit / s + 1);
    if (lit <= 0) return 0;
    return lit > h ? h : lit;
}

int NeedleLength(double v, double lo, double hi, int h) {
    const double scaled = (v - lo) * h / (hi - lo);
    if (std::isnan(scaled)) return 0;
    int lit = TruncPixels(scaled);
    lit = 3 * ((lit + 3) / 3);
    if (lit <= 0) return 0;
    return lit > h ? h : lit;
}

int ReductionLength(double v, double lo, double hi, int h) {
    const double scaled = (v - lo) * h / (hi - lo);
    if (std::isnan(scaled)) return h;
    int dark = TruncPixels(scaled);
    dark = 3 * ((dark + 2) / 3);
    if (dark <= 0) return 0;
    return dark > h ? h : dark;
}

int LevelBarLength(double v, double lo, double hi, int w) {
    if (v >= OverloadThreshold) return w;
    const int span = w - LevelBarOverloadZone;
    const double first = (v - lo) * span / (hi - lo + 24);
    if (std::isnan(first)) return 0;
    int lit = TruncPixels(first);
    if (v > -24) {
        const double second = (v - lo - 56) * span / (hi - lo + 24);
        if (std::isnan(second)) return 0;
        lit += TruncPixels(second);
    }
    lit = 4 * ((lit + 3) / 4);
    if (lit <= 0) return 0;
    return lit > w ? w : lit;
}

void DrawControl(const PanelCanvas& canvas, const ParamDesc& record) {
    switch (record.kind) {
        case ControlKind::Numeric:
        case ControlKind::Readout:
        case ControlKind::Choice:
        case ControlKind::CyclicChoice:
        case ControlKind::Indicator:
            DrawText(canvas, record);
            break;
        case ControlKind::Toggle:
            DrawToggle(canvas, record);
            break;
        case ControlKind::RisingBar:
            DrawRising(canvas, record, false);
            break;
        case ControlKind::RisingOverBar:
            DrawRising(canvas, record, true);
            break;
        case ControlKind::PointMeter:
            DrawSegment(canvas, record, true, false);
            break;
        case ControlKind::PeakSegment:
            DrawSegment(canvas, record, false, false);
            break;
        case ControlKind::OverPeakSegment:
            DrawSegment(canvas, record, false, true);
            break;
        case ControlKind::NeedleMeter:
            DrawNeedle(canvas, record);
            break;
        case ControlKind::ReductionMeter:
            DrawReduction(canvas, record);
            break;
        case ControlKind::LevelBar:
            DrawLevelBar(canvas, record);
            break;
        case ControlKind::PeakMarker:
            DrawPeakMarker(canvas, record);
            break;
        case ControlKind::Scale:
            DrawScale(canvas, record);
            break;
        case ControlKind::Legend:
            DrawLegend(canvas, record);
            break;
        case ControlKind::None:
            break;
    }
}

void DrawMarkedControls(const PanelCanvas& canvas, ParamDesc* table, int count, bool all) {
    if (table == nullptr) return;
    for (int i = 0; i < count; ++i) {
        ParamDesc& record = table[i];
        if (!all && (record.flags & Redraw) == 0) continue;
        record.flags &= ~static_cast<uint32_t>(Redraw);
        if (record.flags & Hidden) continue;
        DrawControl(canvas, record);
    }
}

bool HitsControl(const ParamDesc& record, int px, int py) {
    if (record.flags & Hidden) return false;
    return record.x <= px && px <= record.x + record.width && record.y <= py &&
           py <= record.y + record.height;
}

int NextHitControl(const ParamDesc* table, int count, int from, int px, int py) {
    if (table == nullptr) return -1;
    for (int i = from < 0 ? 0 : from; i < count; ++i) {
        if (HitsControl(table[i], px, py)) return i;
    }
    return -1;
}

void DrawSunkenFrame(const PanelCanvas& canvas, int left, int top, int right, int bottom) {
    if (canvas.line == nullptr) return;
    canvas.line(canvas.context, left - 1, bottom, left - 1, top - 1, PanelFrameShadow);
    canvas.line(canvas.context, left - 1, top - 1, right, top - 1, PanelFrameShadow);
    canvas.line(canvas.context, right, top - 1, right, bottom, PanelFrameLight);
    canvas.line(canvas.context, right, bottom, left - 1, bottom, PanelFrameLight);
}
