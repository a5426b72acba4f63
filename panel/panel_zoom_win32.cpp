// The panel windows' zoom and their panel surfaces.
#include "panel/panel_zoom_win32.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "win32/win32_handles.h"

namespace {

// A top-down 32-bit DIB section selected into its own memory context: its
// pixels are reachable as 0x00RRGGBB words, row after row.
class DibSurface {
public:
    DibSurface(int width, int height) : width_(width), height_(height), bitmap_(Create(width, height, &bits_)),
        selected_(bitmap_.Get() != nullptr ? dc_.Get() : nullptr, bitmap_.Get()) {}
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    bool Valid() const { return dc_.Get() != nullptr && bits_ != nullptr; }
    HDC Dc() const { return dc_.Get(); }
    uint32_t* Bits() const { return bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    static HBITMAP Create(int width, int height, uint32_t** bits) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        *bits = bitmap != nullptr ? static_cast<uint32_t*>(pixels) : nullptr;
        return bitmap;
    }

    int width_, height_;
    uint32_t* bits_ = nullptr;
    MemoryDc dc_{nullptr};
    GdiObject<HBITMAP> bitmap_;
    SelectScope selected_;  // released first: the bitmap leaves the context before both are deleted
};

// One panel window's zoom and surfaces.
struct WindowZoom {
    HWND window = nullptr;
    int halves = ZoomHalves100;
    int panelWidth = -1, panelHeight = -1;  // the last panel size asked for
    std::unique_ptr<DibSurface> panel;      // the panel at 100 %
    std::unique_ptr<DibSurface> screen;     // the panel enlarged
    std::vector<uint32_t> shown;            // the panel as the window shows it (what was enlarged last)
    ShownPieces pieces;                     // where shown holds which bitmap rows
    std::vector<ShownPieces::RowSpan> stale;  // kept to spare an allocation per piece
};

// The main window and the analyser settings window; a spare for safety.
constexpr int ZoomedWindowSlots = 4;

// User-interface thread only.
struct ZoomState {
    PanelSize choice = PanelSize::Auto;
    WindowZoom windows[ZoomedWindowSlots];
};
ZoomState Zoom;

WindowZoom* Find(HWND window) {
    for (WindowZoom& w : Zoom.windows)
        if (w.window == window) return &w;
    return nullptr;
}

WindowZoom* FindOrAdd(HWND window) {
    if (WindowZoom* w = Find(window)) return w;
    for (WindowZoom& w : Zoom.windows) {
        if (w.window != nullptr && IsWindow(w.window)) continue;
        w = WindowZoom{};
        w.window = window;
        return &w;
    }
    return nullptr;
}

// Functions that only newer Windows has, looked up once.
template <typename Fn>
Fn User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr) return nullptr;
    // Through the generic function type, the cast the compiler accepts for
    // GetProcAddress results.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr) return ScreenDpiBase;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : ScreenDpiBase;
}

void ResetSurfaces(WindowZoom& w) {
    w.screen.reset();
    w.panel.reset();
    w.shown.clear();
    w.pieces.Reset(0);
}

}  // namespace

void SetPanelSizeChoice(PanelSize size) { Zoom.choice = size; }
PanelSize PanelSizeChoice() { return Zoom.choice; }

int WindowDpi(HWND window) {
    static const GetDpiForWindowFn getDpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpi != nullptr && window != nullptr) {
        const UINT dpi = getDpi(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

void AdjustWindowRectForDpi(RECT* rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
    static const AdjustForDpiFn adjust = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    if (adjust != nullptr && adjust(rect, style, menu ? TRUE : FALSE, exStyle, static_cast<UINT>(dpi))) return;
    AdjustWindowRectEx(rect, style, menu ? TRUE : FALSE, exStyle);
}

int RefreshWindowZoom(HWND window, int width, int height) {
    WindowZoom* w = FindOrAdd(window);
    if (w == nullptr) return ZoomHalves100;
    if (width >= 0 && height >= 0) {
        w->panelWidth = width;
        w->panelHeight = height;
    }
    ZoomFitInput in{};
    in.wantedHalves = WantedZoomHalves(Zoom.choice, WindowDpi(window));
    in.panelWidth = w->panelWidth;
    in.panelHeight = w->panelHeight;
    RECT outer, client, work = {0, 0, 0, 0};
    if (GetWindowRect(window, &outer) && GetClientRect(window, &client)) {
        in.frameWidth = (outer.right - outer.left) - (client.right - client.left);
        in.frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
    }
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        work = monitor.rcWork;
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    in.workWidth = work.right - work.left;
    in.workHeight = work.bottom - work.top;
    const int halves = FittingZoomHalves(in);
    if (halves != w->halves) ResetSurfaces(*w);
    w->halves = halves;
    return halves;
}

int WindowZoomHalves(HWND window) {
    const WindowZoom* w = Find(window);
    return w != nullptr ? w->halves : ZoomHalves100;
}

void ForgetWindowZoom(HWND window) {
    if (WindowZoom* w = Find(window)) *w = WindowZoom{};
}

HDC PanelDrawingDc(HWND window, HDC windowDc, int width, int height) {
    WindowZoom* w = Find(window);
    if (w == nullptr || w->halves == ZoomHalves100) return windowDc;
    if (width < 0 || height < 0) return w->panel != nullptr ? w->panel->Dc() : nullptr;
    if (w->panel == nullptr || w->panel->Width() != width || w->panel->Height() != height) {
        ResetSurfaces(*w);
        if (width == 0 || height == 0) return nullptr;
        w->panel = std::make_unique<DibSurface>(width, height);
        w->screen = std::make_unique<DibSurface>(ScaleToScreen(width, w->halves), ScaleToScreen(height, w->halves));
        if (!w->panel->Valid() || !w->screen->Valid()) {
            ResetSurfaces(*w);
            return nullptr;
        }
        w->shown.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        w->pieces.Reset(height);
    }
    return w->panel->Dc();
}

namespace {

// `all`: show the whole rectangle; else only its pixels that changed.
void Present(WindowZoom* w, HDC windowDc, int x, int y, int width, int height, bool all) {
    if (w == nullptr || w->panel == nullptr || w->screen == nullptr || windowDc == nullptr) return;
    const DibSurface& panel = *w->panel;
    DibSurface& screen = *w->screen;
    // Only what lies on the panel.
    if (x < 0) width += x, x = 0;
    if (y < 0) height += y, y = 0;
    if (x + width > panel.Width()) width = panel.Width() - x;
    if (y + height > panel.Height()) height = panel.Height() - y;
    if (width <= 0 || height <= 0) return;
    GdiFlush();  // the drawing into the panel surface must be in its pixels
    if (all && x == 0 && y == 0 && width == panel.Width() && height == panel.Height()) w->pieces.Reset(height);
    PanelPixelRect r = {x, y, width, height};
    if (!all) r = ChangedPanelPixels(panel.Bits(), w->shown.data(), panel.Width(), x, y, width, height);
    if (r.w == 0 || r.h == 0) return;
    ZoomPixels(panel.Bits(), panel.Width(), r.x, r.y, r.w, r.h, screen.Bits(), screen.Width(), w->halves);
    for (int32_t row = r.y; row < r.y + r.h; ++row) {
        const size_t at = static_cast<size_t>(row) * static_cast<size_t>(panel.Width()) + static_cast<size_t>(r.x);
        std::copy(panel.Bits() + at, panel.Bits() + at + r.w, w->shown.begin() + static_cast<std::ptrdiff_t>(at));
    }
    const int left = ScaleToScreen(r.x, w->halves), top = ScaleToScreen(r.y, w->halves);
    BitBlt(windowDc, left, top, ScaleToScreen(r.x + r.w, w->halves) - left, ScaleToScreen(r.y + r.h, w->halves) - top,
           screen.Dc(), left, top, SRCCOPY);
}

}  // namespace

void PresentZoomed(HWND window, HDC windowDc, int x, int y, int width, int height) {
    WindowZoom* w = Find(window);
    if (w == nullptr) return;
    w->pieces.Drawn(x, y, width, height);
    Present(w, windowDc, x, y, width, height, false);
}

const std::vector<ShownPieces::RowSpan>* RowsToCopy(HWND window, HDC windowDc, int slot, int srcX, int srcY, int x,
                                                     int y, int width, int height) {
    WindowZoom* w = Find(window);
    if (w == nullptr) return nullptr;
    if (w->panel == nullptr || w->screen == nullptr || windowDc == nullptr) {
        w->pieces.Drawn(x, y, width, height);  // not shown: nothing of it may be taken as shown
        return nullptr;
    }
    w->pieces.Copied(slot, srcX, srcY, x, y, width, height, w->stale);
    return &w->stale;
}

void PresentZoomedRows(HWND window, HDC windowDc, int x, int y, int width, int height) {
    Present(Find(window), windowDc, x, y, width, height, false);
}

void PresentZoomedPanel(HWND window, HDC windowDc) {
    WindowZoom* w = Find(window);
    if (w != nullptr && w->panel != nullptr) Present(w, windowDc, 0, 0, w->panel->Width(), w->panel->Height(), true);
}
