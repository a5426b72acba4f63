// The panel zoom arithmetic.
#include "panel/panel_zoom.h"

#include <algorithm>
#include <cstring>

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
        if (halves % ZoomHalves100 == 0) {
            // A whole factor: blocks of one width.
            const int32_t factor = halves / ZoomHalves100;
            uint32_t* out = first + static_cast<int64_t>(x) * factor;
            for (int32_t px = x; px < x + w; ++px)
                for (int32_t k = 0; k < factor; ++k) *out++ = row[px];
        } else {
            for (int32_t px = x; px < x + w; ++px) {
                const uint32_t colour = row[px];
                const int32_t right = ScaleToScreen(px + 1, halves);
                for (int32_t sx = ScaleToScreen(px, halves); sx < right; ++sx) first[sx] = colour;
            }
        }
        // The block's other rows repeat its first.
        const int32_t left = ScaleToScreen(x, halves), width = ScaleToScreen(x + w, halves) - left;
        for (int32_t sy = top + 1; sy < bottom; ++sy)
            std::copy(first + left, first + left + width, dst + static_cast<int64_t>(sy) * dstStride + left);
    }
}

// Whether n pixels are equal, compared two at a time (the C library's
// memcmp of Windows under Wine goes byte by byte; an 8-byte memcpy is one
// load).
static bool SamePixels(const uint32_t* a, const uint32_t* b, int32_t n) {
    int32_t i = 0;
    for (; i + 2 <= n; i += 2) {
        uint64_t x, y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        if (x != y) return false;
    }
    return i == n || a[i] == b[i];
}

PanelPixelRect ChangedPanelPixels(const uint32_t* src, const uint32_t* shown, int32_t stride, int32_t x, int32_t y,
                                  int32_t w, int32_t h) {
    int32_t left = x + w, right = x - 1, top = y + h, bottom = y - 1;
    for (int32_t py = y; py < y + h; ++py) {
        const uint32_t* now = src + static_cast<int64_t>(py) * stride + x;
        const uint32_t* was = shown + static_cast<int64_t>(py) * stride + x;
        if (SamePixels(now, was, w)) continue;
        int32_t first = 0, last = w - 1;
        while (now[first] == was[first]) ++first;
        while (now[last] == was[last]) --last;
        if (x + first < left) left = x + first;
        if (x + last > right) right = x + last;
        if (py < top) top = py;
        bottom = py;
    }
    if (right < left) return {x, y, 0, 0};
    return {left, top, right - left + 1, bottom - top + 1};
}

namespace {
constexpr int32_t UnknownSlot = -1;
}

void ShownPieces::Reset(int32_t panelHeight) {
    height_ = panelHeight > 0 ? panelHeight : 0;
    columns_.clear();
}

void ShownPieces::Drawn(int32_t x, int32_t y, int32_t w, int32_t h) {
    const int32_t top = std::max(y, 0), bottom = std::min(y + h, height_);
    if (w <= 0 || top >= bottom) return;
    for (Column& c : columns_) {
        if (c.x >= x + w || x >= c.x + c.w) continue;
        for (int32_t row = top; row < bottom; ++row) c.rows[static_cast<size_t>(row)].slot = UnknownSlot;
    }
}

void ShownPieces::Copied(int32_t slot, int32_t srcX, int32_t srcY, int32_t x, int32_t y, int32_t w, int32_t h,
                         std::vector<RowSpan>& stale) {
    stale.clear();
    const int32_t top = std::max(y, 0), bottom = std::min(y + h, height_);
    if (w <= 0 || top >= bottom) return;
    Column* own = nullptr;
    for (Column& c : columns_) {
        if (c.x == x && c.w == w) {
            own = &c;
            continue;
        }
        if (c.x >= x + w || x >= c.x + c.w) continue;
        for (int32_t row = top; row < bottom; ++row) c.rows[static_cast<size_t>(row)].slot = UnknownSlot;
    }
    if (own == nullptr && h >= TallPiece && columns_.size() < MaxColumns) {
        columns_.push_back(Column{x, w, std::vector<RowSource>(static_cast<size_t>(height_), {UnknownSlot, 0, 0})});
        own = &columns_.back();
    }
    if (own == nullptr) {
        stale.push_back({top, bottom - top});
        return;
    }
    const RowSource now{slot, srcX, srcY - y};
    for (int32_t row = top; row < bottom; ++row) {
        RowSource& was = own->rows[static_cast<size_t>(row)];
        if (was == now) continue;
        was = now;
        if (!stale.empty() && stale.back().y + stale.back().h == row)
            ++stale.back().h;
        else
            stale.push_back({row, 1});
    }
}
