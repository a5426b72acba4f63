// FitWindowToPanel: the window sized to its zoomed panel and kept on the
// work area, by the placement arithmetic of window_geometry.
#include "panel/panel_win32.h"
#include "panel/panel_zoom_win32.h"
#include "panel/window_geometry.h"

namespace {

// A narrow window's menu bar may wrap onto more lines (or fewer), which
// changes the client area's height; up to two more fits of the height alone
// settle it, the bar's height being known after each move.
constexpr int FitPasses = 3;
constexpr int KeepDirection = -1;

// True when the window moved.
bool FitOnce(HWND window, int width, int height, bool force) {
    RECT work = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT outer, client;
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) return false;
    PanelFitInput in{};
    in.workWidth = work.right - work.left;
    in.workHeight = work.bottom - work.top;
    in.window = {outer.left, outer.top, outer.right, outer.bottom};
    in.clientWidth = client.right - client.left;
    in.clientHeight = client.bottom - client.top;
    in.wantedWidth = width;
    in.wantedHeight = height;
    in.force = force;
    const PanelFitResult r = ComputePanelFit(in);
    if (r.move) MoveWindow(window, r.placement.x, r.placement.y, r.placement.width, r.placement.height, TRUE);
    return r.move;
}

}  // namespace

void FitWindowToPanel(HWND window, int width, int height, bool force) {
    const int halves = RefreshWindowZoom(window, width, height);
    const int w = width < 0 ? width : ScaleToScreen(width, halves);
    const int h = height < 0 ? height : ScaleToScreen(height, halves);
    if (!FitOnce(window, w, h, force)) return;
    for (int pass = 1; pass < FitPasses; ++pass)
        if (!FitOnce(window, KeepDirection, h, false)) return;
}
