// Window placement arithmetic of the shell, without the platform: dialogs
// centred over the main window, a window fitted to its panel and kept on the
// work area, a saved rectangle turned into a position and size.
#pragma once

#include <cstdint>

#include "model/screen_geometry.h"

struct Placement {
    int32_t x, y, width, height;
};

// Where a dialog of size w by h goes over the main window: centred, but
// never left of or above the screen origin.
ScreenPoint CenteredDialogPosition(const ScreenRect& main, int32_t w, int32_t h);

// A rectangle from the settings or a setup file as position and size. Sizes
// are kept between 0 and 32767 and positions between -32768 and 32767, so
// that a hand-edited rectangle cannot overflow the arithmetic.
Placement PlacementFromRect(const ScreenRect& r);

struct PanelFitInput {
    int32_t workWidth, workHeight;  // the desktop work area
    ScreenRect window;              // the window's screen rectangle
    int32_t clientWidth, clientHeight;
    int32_t wantedWidth, wantedHeight;  // negative: keep that direction
    bool force;
};

// The move FitWindowToPanel makes; `move` false when nothing changes.
struct PanelFitResult {
    bool move;
    Placement placement;
};
PanelFitResult ComputePanelFit(const PanelFitInput& in);

// Client sizes of the panels the main window shows (the empty panel's in
// panel/panel_bitmaps.h).
inline constexpr int32_t DualMonoPanelWidth = 799, DualMonoPanelHeight = 252;
inline constexpr int32_t StereoPanelWidth = 799, StereoPanelHeight = 234;
// The analyser panel has no fixed size: its layout (panel/analyser_layout)
// gives the client size for the current analyser settings.
