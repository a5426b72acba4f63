// Control drawing: how every control kind appears on a panel, drawn only by
// copying pieces of the panel bitmaps onto a PanelCanvas; the text cells
// with their cut at the left edge, the meter arithmetic (segments, the
// two-slope level bar, the peak marker), scales and legends; the hit test of
// the panel dispatcher. Portable: the Windows program wraps it in the window
// procedure, the tests and the render tool draw into RGB buffers. Nothing
// here allocates, and no copy reads outside its bitmap.
#pragma once

#include "model/param_tables.h"
#include "panel/panel_canvas.h"

// Draws one record by its kind over what the canvas shows. Kinds without a
// drawing rule draw nothing; so does a record whose bitmap slot names no
// bitmap. The Hidden and Redraw bits are not looked at.
void DrawControl(const PanelCanvas& canvas, const ParamDesc& record);

// The drawing pass over a table: every record (all) or only those marked
// Redraw, in table order. Each record passed has its Redraw bit cleared,
// hidden ones included; hidden records are not drawn.
void DrawMarkedControls(const PanelCanvas& canvas, ParamDesc* table, int count, bool all);

// Whether the point hits the record: inside its rectangle, right and bottom
// edges included, and not Hidden.
bool HitsControl(const ParamDesc& record, int px, int py);

// The position of the first record at or after `from` that the point hits,
// or -1. Every hit record acts, so the dispatcher walks on from position + 1.
int NextHitControl(const ParamDesc* table, int count, int from, int px, int py);

// Text cells: `text` (length `length`) right-aligned in 6-pixel glyph cells
// over the field x to x + width, filled with blanks to the left edge; the
// leftmost cell is cut to the part inside the field; text longer than the
// field loses its first characters. Characters outside 32 to 122 show as
// blanks.
void DrawTextCells(const PanelCanvas& canvas, int slot, const char* text, int length, int x, int y,
                   int width, BlitMode mode);

// The text a text control shows: the value with its unit (Numeric, Readout)
// or its label (Choice, CyclicChoice, Indicator). A selection value without
// a label shows "-- ". Returns the length; `text` holds at least
// ControlTextSize bytes: the value's digits in the first ValueTextRoom (a
// double printed in full takes up to 300-odd digits), the unit in the rest.
inline constexpr int ValueTextRoom = 400;
inline constexpr int UnitTextRoom = 24;
inline constexpr int ControlTextSize = ValueTextRoom + UnitTextRoom;
int ControlText(const ParamDesc& record, char* text);

// Lit lengths in pixels, as the meters draw them. Infinities count as values
// far beyond the limits; NaN lights nothing: 0 for the rising kinds, the
// needle and the level bar, h for the reduction meter (whose lit part is
// h - L).
int RisingLength(double v, double lo, double hi, int h, int segment, bool overload);
int NeedleLength(double v, double lo, double hi, int h);
int ReductionLength(double v, double lo, double hi, int h);
int LevelBarLength(double v, double lo, double hi, int w);

// From this value up a meter counts as at full scale and lights its
// overload zone (so a reported 0 that carries a rounding error still does).
inline constexpr double OverloadThreshold = -0.000002;

// One-pixel sunken frame around the rectangle left..right, top..bottom: the
// shadow on the left and top outside it, the light edge on its right and
// bottom line.
void DrawSunkenFrame(const PanelCanvas& canvas, int left, int top, int right, int bottom);
