// Drawing on RGB images for the artwork: rectangles, lines, the pixel fonts
// in their sizes and weights, and the colours of the front panel.
#pragma once

#include <cstdint>

#include "tools/artgen/bmp_io.h"

// One palette for everything: a dark rack-unit face, light engraved
// labels, LCD value fields, LED switches and meter segments.
namespace Colour {
inline constexpr uint32_t Face = 0x2A2C30;
inline constexpr uint32_t FaceTop = 0x34373C;     // upper edge of the face
inline constexpr uint32_t FaceBottom = 0x202225;  // lower edge of the face
inline constexpr uint32_t GrooveDark = 0x131416;
inline constexpr uint32_t GrooveLight = 0x43464C;
inline constexpr uint32_t Label = 0xC6CAD0;
inline constexpr uint32_t LabelShadow = 0x141517;
inline constexpr uint32_t Title = 0xF2F3F5;
inline constexpr uint32_t Accent = 0xE0A030;      // section marks and brand line
inline constexpr uint32_t Warn = 0xE8503C;        // overload print
inline constexpr uint32_t BadgeText = 0x1C1D20;
inline constexpr uint32_t BezelDark = 0x0C0D0E;
inline constexpr uint32_t BezelLight = 0x5A5E66;
inline constexpr uint32_t Well = 0x08090A;        // behind meters
inline constexpr uint32_t ScrewRim = 0x17181A;
inline constexpr uint32_t ScrewHead = 0x7C8088;
inline constexpr uint32_t ScrewLight = 0xA8ACB4;
inline constexpr uint32_t ScrewSlot = 0x2A2C30;

inline constexpr uint32_t LcdBack = 0x0E211C;
inline constexpr uint32_t LcdGhost = 0x143027;
inline constexpr uint32_t LcdText = 0x7DF2B8;
inline constexpr uint32_t ReadoutBack = 0x1F1608;
inline constexpr uint32_t ReadoutGhost = 0x2C1F0C;
inline constexpr uint32_t ReadoutText = 0xFFB43C;
inline constexpr uint32_t ScaleText = 0xD2D6DC;

inline constexpr uint32_t CapBody = 0x474A51;
inline constexpr uint32_t CapTop = 0x6B6F77;
inline constexpr uint32_t CapBottom = 0x232529;
}  // namespace Colour

void FillRect(RgbImage& image, int x, int y, int w, int h, uint32_t colour);
void HLine(RgbImage& image, int x, int y, int length, uint32_t colour);
void VLine(RgbImage& image, int x, int y, int length, uint32_t colour);
void Plot(RgbImage& image, int x, int y, uint32_t colour);

enum class TextStyle {
    Normal,  // 5 x 7 glyphs in 6-pixel steps
    Bold,    // 5 x 7 glyphs struck twice, 7-pixel steps
    Small,   // 3 x 5 glyphs in 4-pixel steps
    Large,   // 5 x 7 glyphs doubled and struck twice, 13-pixel steps
    Title,   // 5 x 6 glyphs (the 5 x 7 ones less a repeated row) struck twice, 7-pixel steps
};

int TextWidth(const char* text, TextStyle style);
int TextHeight(TextStyle style);

// Draws the text with its top-left corner at (x, y); glyph pixels only.
void DrawText(RgbImage& image, int x, int y, const char* text, TextStyle style, uint32_t colour);

// Light print with a dark shadow one pixel down and right.
void DrawPrint(RgbImage& image, int x, int y, const char* text, TextStyle style, uint32_t colour);
