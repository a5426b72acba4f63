// FitWindowToPanel: the window sized to its panel and kept on the work
// area, by the placement arithmetic of window_geometry.
#include "panel/panel_win32.h"
#include "panel/window_geometry.h"

void FitWindowToPanel(HWND window, int width, int height, bool force) {
    RECT work = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT outer, client;
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) return;
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
}
