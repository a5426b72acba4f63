// The analyser panel's paint on Windows: the portable layout of the nine
// analyser settings, the window fitted to it, and its background painted
// over the window's paint context. The dispatcher then draws the records.
#include "panel/analyser_layout.h"
#include "panel/bitmap_cache_win32.h"
#include "panel/panel_bitmaps.h"
#include "panel/panel_win32.h"
#include "panel/panel_zoom_win32.h"
#include "win32/win32_handles.h"

void PaintAnalyserPanel(HWND window) {
    // Laid out on every paint, also when there is nothing to paint on.
    const AnalyserLayout layout = LayOutAnalyserPanel();
    // Resizes only when the client area differs; a resize invalidates the
    // whole window, which this paint then covers.
    FitWindowToPanel(window, layout.clientWidth, layout.clientHeight, false);
    PaintScope paint(window);
    if (paint.Dc() == nullptr) return;
    RECT client = {};
    GetClientRect(window, &client);
    GdiCanvasTarget target = PanelCanvasTarget(window, paint.Dc(), layout.clientWidth, layout.clientHeight);
    if (target.dc == nullptr) return;
    if (target.dc == paint.Dc()) {
        PaintAnalyserBackground(GdiCanvas(&target), layout, client.right, client.bottom);
        return;
    }
    // Zoomed: the client area beyond the enlarged panel (a window kept wider
    // than it) is grey like the panel; the background goes onto the surface
    // whole and is shown once.
    GdiCanvasTarget whole{paint.Dc()};
    const PanelCanvas onWindow = GdiCanvas(&whole);
    onWindow.fill(onWindow.context, 0, 0, client.right, client.bottom, PanelGrey);
    target.zoomedWindow = nullptr;
    PaintAnalyserBackground(GdiCanvas(&target), layout, layout.clientWidth, layout.clientHeight);
    PresentZoomedPanel(window, paint.Dc());
}
