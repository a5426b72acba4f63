// The panel bitmap cache and the canvas over a device context.
#include "panel/bitmap_cache_win32.h"

#include "panel/panel_bitmaps.h"
#include "panel/panel_zoom_win32.h"
#include "win32/win32_handles.h"

namespace {

// One slot of the cache. A bitmap resource that fails to load leaves the
// slot loaded with no bitmap: nothing is drawn from it and it is not tried
// again before the next release.
struct CachedSlot {
    bool loaded = false;
    MemoryDc memory;
    GdiObject<HBITMAP> bitmap;
    HGDIOBJ previous = nullptr;     // what the memory context held before the bitmap
    int32_t width = 0, height = 0;  // the loaded bitmap's real size; 0 without one

    ~CachedSlot() { Release(); }
    // The old object goes back into the context first: a bitmap still
    // selected into a context cannot be deleted.
    void Release() {
        if (memory.Get() != nullptr && previous != nullptr) SelectObject(memory.Get(), previous);
        previous = nullptr;
        bitmap.Reset();
        memory.Reset();
        width = height = 0;
        loaded = false;
    }
};

// The cache (user-interface thread only).
CachedSlot Cache[PanelBitmapSlotCount];

const CachedSlot* LoadSlot(int slot, HDC like) {
    const PanelBitmapSlot* entry = BitmapSlot(slot);
    if (entry == nullptr) return nullptr;
    CachedSlot& c = Cache[slot];
    if (c.loaded) return &c;
    c.Release();
    c.loaded = true;
    c.memory.Reset(CreateCompatibleDC(like));
    c.bitmap.Reset(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(entry->resource)));
    if (c.memory.Get() == nullptr || c.bitmap.Get() == nullptr) return &c;
    BITMAP info = {};
    if (GetObjectA(c.bitmap.Get(), sizeof info, &info) == sizeof info) {
        c.width = info.bmWidth;
        c.height = info.bmHeight;
    }
    c.previous = SelectObject(c.memory.Get(), c.bitmap.Get());
    if (c.previous == nullptr) c.width = c.height = 0;  // not selected: draw nothing from it
    return &c;
}

// A zoomed panel shows what was just drawn on its surface.
void Show(const GdiCanvasTarget& t, int x, int y, int width, int height) {
    if (t.zoomedWindow != nullptr) PresentZoomed(t.zoomedWindow, t.shownOn, x, y, width, height);
}

// The control drawing keeps every piece inside the sizes of the panel
// bitmap table; this cuts it to the bitmap really loaded as well, so that
// no copy reads outside it whatever the resource holds.
void CopyPiece(void* context, int slot, int srcX, int srcY, int width, int height, int dstX, int dstY,
               BlitMode mode) {
    const GdiCanvasTarget& t = *static_cast<GdiCanvasTarget*>(context);
    const HDC dc = t.dc;
    const CachedSlot* c = LoadSlot(slot, dc);
    if (c == nullptr || c->width == 0 || srcX < 0 || srcY < 0) return;
    if (srcX + width > c->width) width = c->width - srcX;
    if (srcY + height > c->height) height = c->height - srcY;
    if (width <= 0 || height <= 0) return;
    if (mode == BlitMode::Copy && t.zoomedWindow != nullptr) {
        // Zoomed: rows that already hold this piece are neither copied nor
        // compared again.
        const auto* spans = RowsToCopy(t.zoomedWindow, t.shownOn, slot, srcX, srcY, dstX, dstY, width, height);
        if (spans != nullptr) {
            for (const ShownPieces::RowSpan& span : *spans) {
                BitBlt(dc, dstX, span.y, width, span.h, c->memory.Get(), srcX, srcY + (span.y - dstY), SRCCOPY);
                PresentZoomedRows(t.zoomedWindow, t.shownOn, dstX, span.y, width, span.h);
            }
            return;
        }
    }
    BitBlt(dc, dstX, dstY, width, height, c->memory.Get(), srcX, srcY, mode == BlitMode::Or ? SRCPAINT : SRCCOPY);
    Show(t, dstX, dstY, width, height);
}

COLORREF ColourOf(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void Fill(void* context, int x, int y, int width, int height, uint32_t rgb) {
    const GdiCanvasTarget& t = *static_cast<GdiCanvasTarget*>(context);
    const HDC dc = t.dc;
    GdiObject<HBRUSH> brush(CreateSolidBrush(ColourOf(rgb)));
    const RECT r = {x, y, x + width, y + height};
    if (brush.Get() == nullptr) return;
    FillRect(dc, &r, brush.Get());
    Show(t, x, y, width, height);
}

void Line(void* context, int x0, int y0, int x1, int y1, uint32_t rgb) {
    const GdiCanvasTarget& t = *static_cast<GdiCanvasTarget*>(context);
    const HDC dc = t.dc;
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ColourOf(rgb)));
    if (pen.Get() == nullptr) return;
    SelectScope selected(dc, pen.Get());
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    // Every pixel the line may have drawn: its bounding box.
    const int left = x0 < x1 ? x0 : x1, top = y0 < y1 ? y0 : y1;
    Show(t, left, top, (x0 < x1 ? x1 - x0 : x0 - x1) + 1, (y0 < y1 ? y1 - y0 : y0 - y1) + 1);
}

}  // namespace

PanelCanvas GdiCanvas(GdiCanvasTarget* target) {
    PanelCanvas canvas{};
    canvas.context = target;
    canvas.copy = CopyPiece;
    canvas.fill = Fill;
    canvas.line = Line;
    return canvas;
}

void ReleasePanelBitmaps() {
    for (CachedSlot& c : Cache) c.Release();
}
