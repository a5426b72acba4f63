// The analyser panel's paint on Windows: the portable layout of the nine
// analyser settings, the window fitted to it, and its background painted
// over the window's paint context. The dispatcher then draws the records.
#include "panel/analyser_layout.h"
#include "panel/bitmap_cache_win32.h"
#include "panel/panel_win32.h"
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
    GdiCanvasTarget target{paint.Dc()};
    PaintAnalyserBackground(GdiCanvas(&target), layout, client.right, client.bottom);
}
