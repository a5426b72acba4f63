// The panel zoom arithmetic.
#include "panel/panel_zoom.h"

PanelSize PanelSizeFromNumber(int32_t number) {
    switch (number) {
        case 100: return PanelSize::Percent100;
        case 150: return PanelSize::Percent150;
        case 200: return PanelSize::Percent200;
        case 300: return PanelSize::Percent300;
        default: return PanelSize::Auto;
    }
}

int WantedZoomHalves(PanelSize size, int32_t dpi) {
    if (size != PanelSize::Auto) return static_cast<int>(size) * ZoomHalves100 / 100;
    if (dpi <= ScreenDpiBase) return ZoomHalves100;
    const int64_t halves = static_cast<int64_t>(dpi) * ZoomHalves100 / ScreenDpiBase;
    return halves > ZoomHalvesMax ? ZoomHalvesMax : static_cast<int>(halves);
}

int FittingZoomHalves(const ZoomFitInput& in) {
    int halves = in.wantedHalves < ZoomHalves100 ? ZoomHalves100 : in.wantedHalves;
    if (in.panelWidth < 0 || in.panelHeight < 0) return halves;
    for (; halves > ZoomHalves100; --halves) {
        const int64_t w = static_cast<int64_t>(ScaleToScreen(in.panelWidth, halves)) + in.frameWidth;
        const int64_t h = static_cast<int64_t>(ScaleToScreen(in.panelHeight, halves)) + in.frameHeight;
        if (w <= in.workWidth && h <= in.workHeight) break;
    }
    return halves;
}

// Floor division, also for positions left of or above the panel.
static int32_t FloorDiv(int64_t a, int64_t b) { return static_cast<int32_t>(a >= 0 ? a / b : -((-a + b - 1) / b)); }

int32_t ScaleToScreen(int32_t panel, int halves) { return FloorDiv(static_cast<int64_t>(panel) * halves, ZoomHalves100); }

// The largest p with ScaleToScreen(p) <= screen: p * halves / 2 < screen + 1.
int32_t ScaleToPanel(int32_t screen, int halves) {
    return FloorDiv(static_cast<int64_t>(screen) * ZoomHalves100 + ZoomHalves100 - 1, halves);
}

void ZoomPixels(const uint32_t* src, int32_t srcStride, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t* dst,
                int32_t dstStride, int halves) {
    for (int32_t py = y; py < y + h; ++py) {
        const uint32_t* row = src + static_cast<int64_t>(py) * srcStride;
        const int32_t top = ScaleToScreen(py, halves), bottom = ScaleToScreen(py + 1, halves);
        uint32_t* first = dst + static_cast<int64_t>(top) * dstStride;
        for (int32_t px = x; px < x + w; ++px) {
            const uint32_t colour = row[px];
            const int32_t right = ScaleToScreen(px + 1, halves);
            for (int32_t sx = ScaleToScreen(px, halves); sx < right; ++sx) first[sx] = colour;
        }
        // The block's other rows repeat its first.
        const int32_t left = ScaleToScreen(x, halves), width = ScaleToScreen(x + w, halves) - left;
        for (int32_t sy = top + 1; sy < bottom; ++sy) {
            uint32_t* out = dst + static_cast<int64_t>(sy) * dstStride;
            for (int32_t sx = left; sx < left + width; ++sx) out[sx] = first[sx];
        }
    }
}

PanelPixelRect ChangedPanelPixels(const uint32_t* src, int32_t srcStride, int32_t x, int32_t y, int32_t w, int32_t h,
                                  const uint32_t* dst, int32_t dstStride, int halves) {
    int32_t left = x + w, right = x - 1, top = y + h, bottom = y - 1;
    for (int32_t py = y; py < y + h; ++py) {
        const uint32_t* row = src + static_cast<int64_t>(py) * srcStride;
        const uint32_t* shown = dst + static_cast<int64_t>(ScaleToScreen(py, halves)) * dstStride;
        for (int32_t px = x; px < x + w; ++px) {
            // Each block is one colour: its first pixel stands for it.
            if (row[px] == shown[ScaleToScreen(px, halves)]) continue;
            if (px < left) left = px;
            if (px > right) right = px;
            if (py < top) top = py;
            bottom = py;
        }
    }
    if (right < left) return {x, y, 0, 0};
    return {left, top, right - left + 1, bottom - top + 1};
}
