// Control bitmaps.
#include "tools/artgen/control_art.h"

#include "panel/analyser_layout.h"
#include "panel/control_drawing.h"
#include "panel/panel_bitmaps.h"
#include "tools/artgen/art_draw.h"
#include "tools/artgen/pixel_font.h"

namespace {

// A glyph font: one 6 x 10 cell per character 32 to 122. Glyph pixels lie
// in columns 0-4 and rows 1-9 (capitals in rows 1-7); column 5 and row 0
// stay background so neighbouring cells never touch. `ghost` marks the 5 x 7
// dot matrix of a character display in every cell, blanks included.
RgbImage DrawFont(uint32_t back, uint32_t ink, uint32_t ghost, bool withGhost) {
    RgbImage image(GlyphWidth * GlyphCount, GlyphHeight, back);
    for (int i = 0; i < GlyphCount; ++i) {
        const int x0 = GlyphWidth * i;
        if (withGhost)
            for (int r = 1; r <= 7; ++r)
                for (int c = 0; c < 5; ++c) image.At(x0 + c, r) = ghost;
        const Glyph5x7 g = GlyphOf(static_cast<char>(FirstGlyph + i));
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 5; ++c)
                if (g.rows[r] & (1u << (4 - c))) image.At(x0 + c, 1 + r) = ink;
    }
    return image;
}

struct LedColours {
    uint32_t ring, lens, hot;     // lit
    uint32_t darkRing, darkLens;  // unlit
};
constexpr LedColours GreenLed = {0x32C85A, 0x7CF59A, 0xE2FFE9, 0x163222, 0x1F4A2C};
constexpr LedColours RedLed = {0xD8382C, 0xFF7A64, 0xFFE0D8, 0x3A1412, 0x561C18};
constexpr LedColours AmberLed = {0xD88A1C, 0xFFC04C, 0xFFF0C8, 0x3A2810, 0x563A14};

// A key cap with an LED at its left end, on image above the off image. The
// right end is left open: a switch rectangle narrower than the image cuts
// it, and the panel's bezel closes it.
RgbImage DrawSwitch(int width, const LedColours& led) {
    RgbImage image(width, 20, Colour::CapBody);
    for (int half = 0; half < 2; ++half) {
        const int y0 = 10 * half;
        const bool on = half == 0;
        HLine(image, 0, y0, width, Colour::CapTop);
        HLine(image, 0, y0 + 9, width, Colour::CapBottom);
        VLine(image, 0, y0, 9, Colour::CapTop);
        // Round 6 x 6 lens at columns 2-7, rows 2-7.
        for (int r = 0; r < 6; ++r) {
            for (int c = 0; c < 6; ++c) {
                const bool corner = (r == 0 || r == 5) && (c == 0 || c == 5);
                if (corner) continue;
                const bool edge = r == 0 || r == 5 || c == 0 || c == 5;
                const bool centre = (r == 2 || r == 3) && (c == 2 || c == 3);
                uint32_t colour;
                if (on) colour = centre ? led.hot : edge ? led.ring : led.lens;
                else colour = edge ? led.darkRing : led.darkLens;
                image.At(2 + c, y0 + 2 + r) = colour;
            }
        }
        if (on) {  // glow on the cap beside the lens
            image.At(8, y0 + 4) = led.ring;
            image.At(8, y0 + 5) = led.ring;
        }
    }
    return image;
}

struct SegmentColours {
    uint32_t lit, litEdge, dark;
};
constexpr SegmentColours Green = {0x46DC6A, 0x2FA84E, 0x143320};
constexpr SegmentColours Yellow = {0xF2D53C, 0xC0A42A, 0x3C3614};
constexpr SegmentColours Orange = {0xFF9430, 0xC86E22, 0x40260E};
constexpr SegmentColours Red = {0xFF4234, 0xC82C24, 0x461410};
constexpr SegmentColours Amber = {0xFFB42E, 0xC88A20, 0x3A2A10};
constexpr uint32_t LitGap = 0x121314;
constexpr uint32_t DarkGap = Colour::Well;

// One vertical meter half (lit or dark) of `width` columns at x0: a column
// of segments `segment` rows high lined up from the bottom of a band
// `reference` rows high, the top row of every segment a gap; the outer
// columns are the well's edge.
template <typename ColourAt>
void DrawVerticalSegments(RgbImage& image, int x0, int width, int segment, int reference, bool lit,
                          ColourAt colourAt) {
    for (int r = 0; r < image.height; ++r) {
        const int fromBottom = ((reference - r) % segment + segment) % segment;
        const bool gap = segment > 1 && fromBottom == 0;
        const SegmentColours zone = colourAt(r);
        for (int c = 0; c < width; ++c) {
            uint32_t colour;
            if (c == 0 || c == width - 1) colour = Colour::Well;
            else if (gap) colour = lit ? LitGap : DarkGap;
            else if (!lit) colour = zone.dark;
            else colour = (c == 1 || c == width - 2) ? zone.litEdge : zone.lit;
            image.At(x0 + c, r) = colour;
        }
    }
}

RgbImage DrawBarMeter() {  // ALC, expander and de-esser meters: amber
    RgbImage image(20, 55, Colour::Well);
    auto amber = [](int) { return Amber; };
    DrawVerticalSegments(image, 0, 10, 3, 55, true, amber);
    DrawVerticalSegments(image, 10, 10, 3, 55, false, amber);
    return image;
}

RgbImage DrawNeedleMeter() {  // correlation: green above, yellow, red at -1
    RgbImage image(20, 55, Colour::Well);
    auto zone = [](int r) { return r < 22 ? Green : r < 34 ? Yellow : Red; };
    DrawVerticalSegments(image, 0, 10, 3, 55, true, zone);
    DrawVerticalSegments(image, 10, 10, 3, 55, false, zone);
    return image;
}

// Level bar: 4-pixel segments (three lit columns, one gap), green up to
// -12 dB, yellow to -3 dB, orange to full scale, red in the overload zone.
RgbImage DrawLevelBarImage() {
    const int w = 432;
    RgbImage image(w, 20, Colour::Well);
    const int yellowFrom = LevelBarLength(-12.0, -80.0, 0.0, w);
    const int orangeFrom = LevelBarLength(-3.0, -80.0, 0.0, w);
    const int redFrom = w - LevelBarOverloadZone;
    for (int half = 0; half < 2; ++half) {
        const bool lit = half == 0;
        for (int c = 0; c < w; ++c) {
            const SegmentColours zone =
                c >= redFrom ? Red : c >= orangeFrom ? Orange : c >= yellowFrom ? Yellow : Green;
            const bool gap = c % 4 == 3;
            for (int r = 0; r < 10; ++r) {
                uint32_t colour;
                if (r == 0 || r == 9) colour = Colour::Well;
                else if (gap) colour = lit ? LitGap : DarkGap;
                else if (!lit) colour = zone.dark;
                else colour = (r == 1 || r == 8) ? zone.litEdge : zone.lit;
                image.At(c, 10 * half + r) = colour;
            }
        }
    }
    return image;
}

// Analyser band or level meter, coloured by the level each segment shows:
// bands green up to 10 dB below their top, yellow up to 3 dB below, red
// above; meters as the level bar (green up to -12 dB, yellow to -3 dB,
// orange to 0 dB, red in the three overload segments). A segment has one
// colour throughout.
RgbImage DrawBand(int slot) {
    const PanelBitmapSlot& entry = PanelBitmapSlots[slot];
    RgbImage image(entry.width, entry.height, Colour::Well);
    BandSlotUse use = BandSlotUseOf(slot);
    if (use.segment <= 0 || !(use.pixelsPerDb > 0)) use = {1, entry.height, false, -30, 1};
    const int s = use.segment, h = use.height;
    // The level in the middle of the segment that holds row r.
    auto levelAt = [=](int r) {
        const int n = (h - r + s - 1) / s;  // segment number from the foot, 1 first
        const double middle = n * s - s / 2.0;
        return use.bottomDb + middle / use.pixelsPerDb;
    };
    auto zone = [=](int r) {
        const double v = levelAt(r);
        if (use.overload) return v > 0.5 ? Red : v > -3 ? Orange : v > -12 ? Yellow : Green;
        return v > -3 ? Red : v > -10 ? Yellow : Green;
    };
    const int half = entry.width / 2;
    DrawVerticalSegments(image, 0, half, s, h, true, zone);
    DrawVerticalSegments(image, half, half, s, h, false, zone);
    return image;
}

}  // namespace

BandSlotUse BandSlotUseOf(int slot) {
    // The first display size that uses the slot: for bands the band's
    // segment and height, for level meters theirs (the meters start
    // `meterTop` below the bands). Every size that uses a slot leaves the
    // same remainder of height by segment, so one phase fits them all.
    for (const AnalyserGeometry& g : AnalyserGeometryTable) {
        if (g.bitmap == slot) return {g.step, g.height, false, g.min - g.max, g.height / (g.max - g.min)};
        if (g.meterBitmap == slot) {
            // Three segments above 0.5 dB are the overload zone.
            const int h = g.height - g.meterTop;
            return {g.meterStep, h, true, g.meterMin, (h - 3 * g.meterStep) / (0.5 - g.meterMin)};
        }
    }
    return {0, 0, false, 0, 0};
}

RgbImage DrawSlotBitmap(int slot) {
    switch (slot) {
        case SlotValueFont: return DrawFont(Colour::LcdBack, Colour::LcdText, Colour::LcdGhost, true);
        case SlotReadoutFont:
            return DrawFont(Colour::ReadoutBack, Colour::ReadoutText, Colour::ReadoutGhost, true);
        case SlotScaleFont: return DrawFont(0x000000, Colour::ScaleText, 0, false);
        case SlotRedSwitch: return DrawSwitch(PanelBitmapSlots[slot].width, RedLed);
        case SlotSwitch: return DrawSwitch(PanelBitmapSlots[slot].width, GreenLed);
        case SlotResetSwitch: return DrawSwitch(PanelBitmapSlots[slot].width, AmberLed);
        case SlotBarMeter: return DrawBarMeter();
        case SlotNeedleMeter: return DrawNeedleMeter();
        case SlotLevelBar: return DrawLevelBarImage();
        default:
            if (slot >= SlotFirstBand && slot <= SlotLastBand) return DrawBand(slot);
            return RgbImage();
    }
}
