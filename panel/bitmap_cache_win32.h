// The panel bitmap cache and the Windows canvas. The cache holds one entry
// per slot of the panel bitmap table: the bitmap resource, loaded the first
// time a control needs it, selected into a memory device context compatible
// with the window's. It is emptied before every full paint, when a panel
// window is destroyed and when the display changes, so that its contexts
// always match the display. The canvas draws the control pieces from it onto
// a window's device context (BitBlt with SRCCOPY or SRCPAINT), fills with a
// solid brush and draws one-pixel lines with a solid pen.
// User-interface thread only.
#pragma once

#include <windows.h>

#include "panel/panel_canvas.h"

// What a canvas draws on: `dc`, the window's own context or, for a zoomed
// panel, its panel surface (panel/panel_zoom_win32.h); then every piece
// drawn is also shown enlarged on `shownOn`, the window's context.
struct GdiCanvasTarget {
    HDC dc;
    HWND zoomedWindow = nullptr;
    HDC shownOn = nullptr;
};

// A canvas over `target`, which must outlive it.
PanelCanvas GdiCanvas(GdiCanvasTarget* target);

// Empties the cache: every loaded slot gets its old object back into its
// memory context, and the bitmap and the context are deleted.
void ReleasePanelBitmaps();
