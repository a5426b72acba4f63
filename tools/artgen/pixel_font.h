// The pixel fonts of the artwork, drawn from code: a 5 x 7 font with
// descenders for the characters 32 to 122 (the glyphs of the value and scale
// fonts and the panel labels; one extra glyph, the phase sign, for labels
// only) and a 3 x 5 font for the numbers of the meter scales.
#pragma once

#include <cstdint>

// Code of the phase sign (a slashed circle) in label texts.
inline constexpr char PhaseSign = '\x01';

// Rows of a 5 x 7 glyph: 9 rows (7 above the base line, 2 for descenders),
// bit 4 the leftmost column. Characters outside 32 to 122 (but for the
// phase sign) give a blank.
struct Glyph5x7 {
    uint8_t rows[9];
};
Glyph5x7 GlyphOf(char c);

// Rows of a 3 x 5 glyph, bit 2 the leftmost column. Digits, '+', '-', '.',
// upper-case letters and 'd'; anything else is blank.
struct Glyph3x5 {
    uint8_t rows[5];
};
Glyph3x5 SmallGlyphOf(char c);
