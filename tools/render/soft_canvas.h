// A panel canvas over an RGB buffer, for the tests and the render tool: the
// panel bitmaps are read from the art folder the generator wrote, copies
// and OR-copies land in the buffer exactly as BitBlt would put them there.
// Also the panel renderer built on it: background, then every control.
#pragma once

#include <string>

#include "model/param_tables.h"
#include "panel/panel_bitmaps.h"
#include "panel/panel_canvas.h"
#include "tools/artgen/bmp_io.h"

struct SoftCanvas {
    RgbImage target;                          // the panel's client area
    RgbImage slots[PanelBitmapSlotCount];     // loaded bitmaps by slot
    int copies = 0;                           // copy calls so far
    int outsideReads = 0;                     // copies that asked for pixels outside a bitmap
};

// Reads every slot's bitmap from `artFolder`. False with a reason when one
// is missing, unreadable or not of its slot's size.
bool LoadSlotBitmaps(SoftCanvas* canvas, const std::string& artFolder, std::string* error);

// The canvas seam over `canvas`; it must outlive the returned value.
PanelCanvas CanvasOf(SoftCanvas* canvas);

// The renderer knows every PanelType; the analyser panel is laid out from
// the analyser settings.

// Puts the panel's background into the target: the background bitmap from
// the art folder, flat grey for the empty panel, or for the analyser panel
// the first two steps of its paint: the layout of the analyser display table
// for the current analyser settings, then the grey with its sunken frames at
// the client size the layout gives.
bool LoadPanelBackground(SoftCanvas* canvas, const std::string& artFolder, int panelType,
                         std::string* error);

// The table a panel type shows (null for the empty panel) and its count.
ParamDesc* RenderTable(int panelType, int* count);

// A paint of the panel: background, then every control of its table.
bool RenderPanel(SoftCanvas* canvas, const std::string& artFolder, int panelType, std::string* error);

// Meter and readout values that show every part of the drawing at once
// (lit and dark segments, peak marks, the overload zone, readouts); the
// golden images and `qiv72render --demo` use them. For the analyser panel:
// a music-like spectrum with held peaks above it, placed within the band
// limits of the current analyser settings, and level meters with one
// channel in overload.
void ApplyDemoValues(int panelType);
