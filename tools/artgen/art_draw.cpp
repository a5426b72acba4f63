// Rectangles, lines and text on RGB images.
#include "tools/artgen/art_draw.h"

#include <cstring>

#include "tools/artgen/pixel_font.h"

void Plot(RgbImage& image, int x, int y, uint32_t colour) {
    if (image.Inside(x, y)) image.At(x, y) = colour;
}

void FillRect(RgbImage& image, int x, int y, int w, int h, uint32_t colour) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Plot(image, i, j, colour);
}

void HLine(RgbImage& image, int x, int y, int length, uint32_t colour) { FillRect(image, x, y, length, 1, colour); }
void VLine(RgbImage& image, int x, int y, int length, uint32_t colour) { FillRect(image, x, y, 1, length, colour); }

namespace {

int Advance(TextStyle style) {
    switch (style) {
        case TextStyle::Normal: return 6;
        case TextStyle::Bold: return 7;
        case TextStyle::Title: return 7;
        case TextStyle::Small: return 4;
        case TextStyle::Large: return 13;
    }
    return 6;
}

// Rows of a glyph above the base line.
constexpr int CapRows = 7;

// The glyph one row lower, for the section titles that must keep a free row
// above them and one below: of the rows above the base line, the lowest one
// that repeats the row above it goes (a stem, the side of a bowl), so that
// every stroke keeps its shape; a glyph with no repeated row loses its
// middle row.
Glyph5x7 TitleGlyph(Glyph5x7 g) {
    int drop = CapRows / 2;
    for (int r = CapRows - 1; r > 0; --r) {
        if (g.rows[r] == g.rows[r - 1]) {
            drop = r;
            break;
        }
    }
    for (int r = drop; r + 1 < CapRows; ++r) g.rows[r] = g.rows[r + 1];
    g.rows[CapRows - 1] = 0;
    return g;
}

// Pixels a glyph covers beyond its last column's advance gap.
int Gap(TextStyle style) { return style == TextStyle::Large ? 2 : 1; }

}  // namespace

int TextWidth(const char* text, TextStyle style) {
    const int n = static_cast<int>(std::strlen(text));
    return n == 0 ? 0 : n * Advance(style) - Gap(style);
}

int TextHeight(TextStyle style) {
    switch (style) {
        case TextStyle::Small: return 5;
        case TextStyle::Large: return 14;
        case TextStyle::Title: return CapRows - 1;
        default: return 7;
    }
}

void DrawText(RgbImage& image, int x, int y, const char* text, TextStyle style, uint32_t colour) {
    for (const char* p = text; *p != '\0'; ++p, x += Advance(style)) {
        if (style == TextStyle::Small) {
            const Glyph3x5 g = SmallGlyphOf(*p);
            for (int r = 0; r < 5; ++r)
                for (int c = 0; c < 3; ++c)
                    if (g.rows[r] & (1u << (2 - c))) Plot(image, x + c, y + r, colour);
            continue;
        }
        const Glyph5x7 g = style == TextStyle::Title ? TitleGlyph(GlyphOf(*p)) : GlyphOf(*p);
        for (int r = 0; r < CapRows; ++r) {
            for (int c = 0; c < 5; ++c) {
                if (!(g.rows[r] & (1u << (4 - c)))) continue;
                switch (style) {
                    case TextStyle::Normal:
                        Plot(image, x + c, y + r, colour);
                        break;
                    case TextStyle::Bold:
                    case TextStyle::Title:
                        Plot(image, x + c, y + r, colour);
                        Plot(image, x + c + 1, y + r, colour);
                        break;
                    case TextStyle::Large:
                        FillRect(image, x + 2 * c, y + 2 * r, 3, 2, colour);
                        break;
                    case TextStyle::Small:
                        break;
                }
            }
        }
    }
}

void DrawPrint(RgbImage& image, int x, int y, const char* text, TextStyle style, uint32_t colour) {
    DrawText(image, x + 1, y + 1, text, style, Colour::LabelShadow);
    DrawText(image, x, y, text, style, colour);
}
