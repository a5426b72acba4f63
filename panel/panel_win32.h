// The panel windows on Windows: the panel dispatcher that every panel
// window hands its messages to (paint, redraw request, mouse), the drawing
// pass over a table, the bitmap backgrounds and the empty panel, and the rule
// that fits a window to its panel. The decisions (hits, drags, switches,
// dialog choice) are the portable ones of panel_input and control_drawing;
// this module turns messages into them and draws. User-interface thread
// only.
#pragma once

#include <windows.h>

#include "model/param_tables.h"
#include "panel/panel_bitmaps.h"
#include "resources/resource_ids.h"

// The request to draw the controls marked Redraw (the first user message
// number plus 10).
inline constexpr UINT PanelRedraw = MSG_PANEL_REDRAW;

// Hands one message of a panel window to the panel. Returns 0 when the
// panel handled it and -1 otherwise; -1 at once, doing nothing, for a null
// or minimised window.
LRESULT PanelDispatch(HWND window, ParamDesc* table, int count, int panelType, UINT msg, WPARAM wParam,
                      LPARAM lParam);

// The drawing pass: the mode refresh first, then every record (all) or
// those marked Redraw onto the window. Without a device context nothing is
// drawn and the Redraw bits stay.
void DrawControls(HWND window, ParamDesc* table, int count, bool all);

// The canvas target for drawing a panel of width x height panel pixels
// (negative: as drawn before) on `windowDc`: the window itself at 100 %, its
// zoomed panel surface above. A null dc when there is nothing to draw on.
struct GdiCanvasTarget;
GdiCanvasTarget PanelCanvasTarget(HWND window, HDC windowDc, int width, int height);

// Resizes the window so that its client area is width x height panel
// pixels at the window's zoom, decided anew here (a negative size keeps that
// direction), and keeps it on the work area; without `force` a window whose
// client area fits already is left alone. A menu bar that wraps onto more
// lines at the new width is allowed for: the window is fitted again.
void FitWindowToPanel(HWND window, int width, int height, bool force);

// A one-pixel sunken frame around left..right, top..bottom.
void DrawSunkenFrame(HDC dc, int left, int top, int right, int bottom);

// Paints a bitmap panel: the bitmap resource copied to the client origin.
// With `fit` the window is first fitted to width x height; without it the
// whole client area is invalidated first, so that the paint covers it.
void PaintBitmapPanel(HWND window, int resource, int width, int height, bool fit);

// The empty panel of the main window without a device function: 300 x 20
// pixels of flat grey.
void PaintEmptyPanel(HWND window);

// The analyser panel's paint (layout, size and background); its own module.
void PaintAnalyserPanel(HWND window);
