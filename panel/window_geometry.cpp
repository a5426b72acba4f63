#include "panel/window_geometry.h"

#include <cstdint>

namespace {

int32_t Clamp64(int64_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : (v > hi ? hi : static_cast<int32_t>(v));
}

}  // namespace

ScreenPoint CenteredDialogPosition(const ScreenRect& main, int32_t w, int32_t h) {
    const int64_t mainW = static_cast<int64_t>(main.right) - main.left;
    const int64_t mainH = static_cast<int64_t>(main.bottom) - main.top;
    int64_t x = main.left + (mainW - w) / 2;
    int64_t y = main.top + (mainH - h) / 2;
    if (x <= 0) x = 0;
    if (y <= 0) y = 0;
    return {Clamp64(x, 0, INT32_MAX), Clamp64(y, 0, INT32_MAX)};
}

Placement PlacementFromRect(const ScreenRect& r) {
    const int32_t x = Clamp64(r.left, -32768, 32767);
    const int32_t y = Clamp64(r.top, -32768, 32767);
    const int32_t w = Clamp64(static_cast<int64_t>(r.right) - r.left, 0, 32767);
    const int32_t h = Clamp64(static_cast<int64_t>(r.bottom) - r.top, 0, 32767);
    return {x, y, w, h};
}

PanelFitResult ComputePanelFit(const PanelFitInput& in) {
    const int64_t windowW = static_cast<int64_t>(in.window.right) - in.window.left;
    const int64_t windowH = static_cast<int64_t>(in.window.bottom) - in.window.top;
    int64_t wantW = in.wantedWidth;
    int64_t wantH = in.wantedHeight;
    int64_t excessW = static_cast<int64_t>(in.clientWidth) - wantW;
    int64_t excessH = static_cast<int64_t>(in.clientHeight) - wantH;
    if (wantW < 0) {
        excessW = 0;
        wantW = windowW;
    }
    if (wantH < 0) {
        excessH = 0;
        wantH = windowH;
    }
    if (excessW == 0 && excessH == 0 && !in.force) return {false, {}};

    const int64_t newW = windowW - excessW;
    const int64_t newH = windowH - excessH;
    int64_t top = in.window.top;
    if (in.workHeight - wantH < top) top = in.workHeight - wantH;
    if (top <= 0) top = 0;
    int64_t left = in.window.left + excessW / 2;
    if (left > in.workWidth - wantW) left = in.workWidth - wantW;
    if (left <= 0) left = 0;
    return {true,
            {Clamp64(left, 0, 32767), Clamp64(top, 0, 32767), Clamp64(newW, 0, 32767), Clamp64(newH, 0, 32767)}};
}
