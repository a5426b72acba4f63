// The panel zoom on Windows: each panel window's zoom (from its monitor's
// DPI and the Panel Size choice, stepped down to fit the work area) and,
// above 100 %, the panel surface every drawing lands on first.
//
// At 100 % the panel is drawn straight onto the window as it always was.
// Above, the canvas draws onto a panel-sized surface (a 32-bit DIB section)
// and every piece it draws is enlarged from there onto the window by the
// portable ZoomPixels (nearest neighbour), so a frame still touches only the
// controls whose values changed. User-interface thread only.
#pragma once

#include <windows.h>

#include "panel/panel_zoom.h"

// The Panel Size choice for every panel window (Auto at start).
void SetPanelSizeChoice(PanelSize size);
PanelSize PanelSizeChoice();

// The window's DPI: GetDpiForWindow where Windows has it (looked up at run
// time), else the screen's.
int WindowDpi(HWND window);

// Decides the window's zoom for a panel of width x height panel pixels
// (negative: the last known size) and returns it in halves.
int RefreshWindowZoom(HWND window, int width, int height);

// The zoom the window's panel is drawn at now (100 % for a window not seen).
int WindowZoomHalves(HWND window);

// Forgets the window's zoom and frees its surfaces (WM_DESTROY).
void ForgetWindowZoom(HWND window);

// The device context the panel drawing goes to for `window`: `windowDc`
// itself at 100 %, else the window's panel surface, made or remade for a
// panel of width x height (negative: the surface as it is; null when there
// is none yet).
HDC PanelDrawingDc(HWND window, HDC windowDc, int width, int height);

// Shows the panel pixels x..x+w-1, y..y+h-1 of the window's surface,
// enlarged, on `windowDc`: those that differ from what the window shows, so
// that a bar that moved a few segments costs a few segments. Nothing at
// 100 % or without a surface.
void PresentZoomed(HWND window, HDC windowDc, int x, int y, int w, int h);

// For a plain copy of the panel bitmap piece (slot, srcX, srcY) to x, y,
// w x h about to be drawn on the window's surface: the spans of its rows
// that do not hold this very piece already (ShownPieces); the others hold
// it on the surface and on the window, so a bar that moved a few segments
// costs the rows between its old and new level. The caller draws and
// shows (PresentZoomedRows) each span before anything else is drawn. Null
// when the window is not zoomed: draw and show the piece whole.
const std::vector<ShownPieces::RowSpan>* RowsToCopy(HWND window, HDC windowDc, int slot, int srcX, int srcY, int x,
                                                     int y, int w, int h);

// Shows rows of such a piece, drawn on the surface, like PresentZoomed.
void PresentZoomedRows(HWND window, HDC windowDc, int x, int y, int w, int h);

// The whole surface, all of it (after a paint the window shows nothing of
// it yet).
void PresentZoomedPanel(HWND window, HDC windowDc);

// AdjustWindowRectExForDpi where Windows has it, else AdjustWindowRectEx.
void AdjustWindowRectForDpi(RECT* rect, DWORD style, bool menu, DWORD exStyle, int dpi);
