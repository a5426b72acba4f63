// The analyser panel: the spectrum display that the main window shows in the
// Analyser function. Nothing of it is fixed; at every paint it is laid out
// anew from nine analyser settings (type, range, resolution, size, display
// mode, instant hold, top level, level meter display, sample rate). This
// module owns that layout: the geometry of the 18 display sizes, the band
// count and the hidden bands, the display modes, the scales, the staggered
// band legends, the level meters with their overload peaks and legends, the
// client size, and the background under the records (flat grey with sunken
// frames), painted through the canvas seam.
//
// The layout writes only where and how each record of the analyser display
// table is shown (kind, bitmap slot, rectangle, limits, step, labels, the
// Hidden bit); the levels in the records belong to the frame decoding. The
// control drawing then draws the records like any other panel's.
//
// The Windows paint of the analyser panel is, in order:
//   const AnalyserLayout layout = LayOutAnalyserPanel();
//   FitWindowToPanel(window, layout.clientWidth, layout.clientHeight, false);
//   BeginPaint; when there is a device context,
//     PaintAnalyserBackground(canvas over that context, layout, client size);
//   EndPaint;
// after which the dispatcher draws all 73 records with the forced flag.
#pragma once

#include <cstdint>

#include "model/param_tables.h"
#include "panel/panel_canvas.h"

// One display size: a combination of "Analyser Size", "Analyser Range
// Select" and "Analyser Resolution" (row = size x 6 + range x 3 +
// resolution).
struct AnalyserGeometry {
    int32_t bitmap;       // bitmap slot of the band records
    int32_t width;        // one band's width; the column pitch is width + 4
    int32_t height;       // one band's height
    int32_t step;         // segment height of the bands
    double min, max;      // band limits in dB before the top-level shift
    double scaleStep;     // dB between two numbers of the band scales
    int32_t meterBitmap;  // bitmap slot of the six level meter records
    int32_t meterStep;    // their segment height
    int32_t meterTop;     // pixels from the top of the band area to the meters
    double meterMin;      // lower limit of the meters and the meter scale
    int32_t ovrOffset;    // the "OVR" legend's offset from the meter scale's top
};
inline constexpr int AnalyserGeometryRows = 18;
extern const AnalyserGeometry AnalyserGeometryTable[AnalyserGeometryRows];

// Common to every size: the band area's origin, and how much larger than its
// columns and one band the client area is.
inline constexpr int32_t AnalyserBandLeft = 27;
inline constexpr int32_t AnalyserBandTop = 10;
inline constexpr int32_t AnalyserExtraWidth = 52;
inline constexpr int32_t AnalyserExtraHeight = 40;
inline constexpr int32_t AnalyserColumnGap = 4;
inline constexpr int AnalyserBandSlots = 30;  // bands 0 to 29, two records each

// Positions in the analyser display table.
enum AnalyserDisplayPosition : int {
    PosScaleLeft = 0,     // "Analyser Scale left"
    PosMeterScale = 1,    // "Level Meter Scale"
    PosBandLegend1 = 2,   // "Analyser Legend 1": columns 0, 2, 4 ..., lower row
    PosBandLegend2 = 3,   // "Analyser Legend 2": columns 1, 3, 5 ..., upper row
    PosMeterLegend1 = 4,  // "RMS" "Peak" "RMS"
    PosMeterLegend2 = 5,  // "Left" "Right"
    PosMeterLegend3 = 6,  // "OVR"
    PosFirstBand = 7,     // band j: live record 7 + 2j, hold record 8 + 2j
    PosFirstMeter = 67,   // four level meters, 67 to 70
    PosFirstOverPeak = 71,  // two overload peaks, 71 and 72
};

// The nine settings as the analyser table holds them, unchecked.
struct AnalyserSettings {
    double type;         // "Analyser Type Select" (id 33)
    double range;        // "Analyser Range Select" (id 37)
    double topLevel;     // "Analyser Top Level" (id 38)
    double mode;         // "Analyser Mode Select" (id 40)
    double resolution;   // "Analyser Resolution" (id 42)
    double size;         // "Analyser Size" (id 43)
    double instantHold;  // "Analyser Instant Hold" (id 44)
    double meters;       // "Level Meter Display" (id 51)
    double sampleRate;   // "Sample Rate" (id 55)
};

// The settings from the analyser table, found by id; a record that cannot be
// found reads as 0.
AnalyserSettings CurrentAnalyserSettings();

// A rectangle for DrawSunkenFrame (named so as not to meet the Windows
// function FrameRect where both are seen).
struct PanelFrameRect {
    int32_t left, top, right, bottom;
};

// Everything the layout derives from the settings. Each selection setting
// counts as the label the settings panel shows for it: the whole part of its
// value, and the first label when that is no label of the list (negative,
// too large, not a number); an unknown sample rate counts as neither 32.0 nor
// 64.0 kHz. The two switches count as on above 0.5.
struct AnalyserLayout {
    int32_t type;          // 0 to 7, indexes AnalyserBandCounts and the legend lists
    int32_t row;           // geometry row, 0 to 17
    int32_t hiddenBands;   // H: bands 0 to H - 1 are hidden
    int32_t shownBands;    // 30 - H; band j (j >= H) lies in column j - H
    int32_t pitch;         // column pitch P
    int32_t displayMode;   // 0 to 5: mode + 3 with instant hold
    double shift;          // 0 or -10: shift of the band limits
    double top;            // dB at the top of the band scales, -70 to 0
    bool meters;           // level meters shown
    int32_t clientWidth, clientHeight;
    PanelFrameRect bandFrame;   // sunken frame around the bands
    PanelFrameRect meterFrame;  // around the meters, when shown
};

// The layout for a set of settings; any values at all, also from a
// hand-edited file or a faulty frame, give a layout inside the tables.
AnalyserLayout ComputeAnalyserLayout(const AnalyserSettings& settings);

// Sets the records of an analyser display table (kind, bitmap, rectangle,
// limits, step, labels, Hidden) for the layout. Values, hold counts and the
// other flags stay. Does nothing for a table of fewer than 73 records.
void ApplyAnalyserLayout(const AnalyserLayout& layout, ParamDesc* table, int count);

// The first part of a paint of the analyser panel: the layout for the
// current settings, applied to AnalyserDisplayTable. Runs on every paint,
// also when there is nothing to paint on.
AnalyserLayout LayOutAnalyserPanel();

// The second part: the background under the records, the whole client area
// in the panel grey with a sunken frame around the bands and one around the
// meters when they are shown. A client area larger than the layout's (a
// window that could not shrink to it) is filled wholly, so that nothing of
// an earlier, larger layout stays on it.
void PaintAnalyserBackground(const PanelCanvas& canvas, const AnalyserLayout& layout, int32_t clientWidth,
                             int32_t clientHeight);

// Whether two sets of settings lay the panel out alike (compared as the
// layout reads them, so 2.3 and 2 are alike and every NaN is like 0). The
// mode refresh can use it to know when the panel needs a new paint.
bool SameAnalyserLayout(const AnalyserSettings& a, const AnalyserSettings& b);
