// The panel dispatcher, the drawing pass, the backgrounds and the window
// fitting. One small handler per message.
#include "panel/panel_win32.h"

#include "panel/bitmap_cache_win32.h"
#include "panel/control_drawing.h"
#include "panel/panel_bitmaps.h"
#include "panel/panel_input.h"
#include "panel/panel_shell_win32.h"
#include "panel/panel_zoom_win32.h"
#include "panel/value_dialogs_win32.h"
#include "win32/win32_handles.h"

namespace {

// Mouse positions come as two unsigned 16-bit words of screen pixels; the
// panel rules count panel pixels.
int32_t MouseX(HWND window, LPARAM lParam) {
    return ScaleToPanel(static_cast<int32_t>(LOWORD(lParam)), WindowZoomHalves(window));
}
int32_t MouseY(HWND window, LPARAM lParam) {
    return ScaleToPanel(static_cast<int32_t>(HIWORD(lParam)), WindowZoomHalves(window));
}
bool ShiftHeld(WPARAM wParam) { return (wParam & MK_SHIFT) != 0; }

void PaintBackground(HWND window, int panelType) {
    switch (panelType) {
        case PanelDualMono:
        case PanelStereo:
        case PanelAnalyserSettings: {
            const PanelBitmapSlot& b = PanelBackgrounds[panelType];
            PaintBitmapPanel(window, b.resource, b.width, b.height, panelType != PanelAnalyserSettings);
            break;
        }
        case PanelAnalyser: PaintAnalyserPanel(window); break;
        default: {
            PaintScope paint(window);  // validates, so that the paint is not asked for again
            break;
        }
    }
}

LRESULT OnPaint(HWND window, ParamDesc* table, int count, int panelType) {
    PaintBackground(window, panelType);
    ReleasePanelBitmaps();
    DrawControls(window, table, count, true);
    return 0;
}

LRESULT OnButtonDown(HWND window, ParamDesc* table, int count, WPARAM wParam, LPARAM lParam) {
    if (PanelPress(table, count, MouseX(window, lParam), MouseY(window, lParam), ShiftHeld(wParam), PanelDrag))
        DrawControls(window, table, count, false);
    return 0;
}

LRESULT OnMouseMove(HWND window, ParamDesc* table, int count, WPARAM wParam, LPARAM lParam) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if ((wParam & MK_LBUTTON) == 0) {
        PanelRelease(table, count, PanelDrag);
        return 0;
    }
    PanelDragTo(table, count, MouseY(window, lParam), ShiftHeld(wParam), PanelDrag);
    DrawControls(window, table, count, false);
    return 0;
}

LRESULT OnButtonUp(ParamDesc* table, int count) {
    PanelRelease(table, count, PanelDrag);
    return 0;
}

// Every hit record opens its dialog in turn (the tables have no
// overlapping editable controls, so that is one at most), and the marked
// controls are drawn after each.
LRESULT OnDoubleClick(HWND window, ParamDesc* table, int count, LPARAM lParam) {
    ClearDragging(table, count);
    const int32_t px = MouseX(window, lParam), py = MouseY(window, lParam);
    for (int i = NextHitControl(table, count, 0, px, py); i >= 0; i = NextHitControl(table, count, i + 1, px, py)) {
        OpenValueDialog(window, table[i]);
        // The window may have gone while the dialog was open (the mode
        // refresh closes the analyser settings window).
        if (!IsWindow(window)) return 0;
        DrawControls(window, table, count, false);
    }
    return 0;
}

LRESULT OnDisplayChange(HWND window) {
    // The cached contexts belong to the old display mode.
    ReleasePanelBitmaps();
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

}  // namespace

LRESULT PanelDispatch(HWND window, ParamDesc* table, int count, int panelType, UINT msg, WPARAM wParam,
                      LPARAM lParam) {
    if (window == nullptr || IsIconic(window)) return -1;
    switch (msg) {
        case WM_PAINT: return OnPaint(window, table, count, panelType);
        case PanelRedraw: DrawControls(window, table, count, false); return 0;
        case WM_LBUTTONDOWN: return OnButtonDown(window, table, count, wParam, lParam);
        case WM_MOUSEMOVE: return OnMouseMove(window, table, count, wParam, lParam);
        case WM_LBUTTONUP: return OnButtonUp(table, count);
        case WM_LBUTTONDBLCLK: return OnDoubleClick(window, table, count, lParam);
        case WM_DISPLAYCHANGE: return OnDisplayChange(window);
        case WM_DESTROY:
            ReleasePanelBitmaps();
            ForgetWindowZoom(window);
            return 0;
        case WM_DEVMODECHANGE: ReleasePanelBitmaps(); return 0;
        default: return -1;
    }
}

void DrawControls(HWND window, ParamDesc* table, int count, bool all) {
    RefreshModeState();
    // The refresh may have closed the window (the analyser settings window
    // when the function changes).
    if (!IsWindow(window)) return;
    WindowDc dc(window);
    if (dc.Get() == nullptr) return;
    GdiCanvasTarget target = PanelCanvasTarget(window, dc.Get(), -1, -1);
    if (target.dc == nullptr) return;
    DrawMarkedControls(GdiCanvas(&target), table, count, all);
}

void DrawSunkenFrame(HDC dc, int left, int top, int right, int bottom) {
    GdiCanvasTarget target{dc};
    DrawSunkenFrame(GdiCanvas(&target), left, top, right, bottom);
}

GdiCanvasTarget PanelCanvasTarget(HWND window, HDC windowDc, int width, int height) {
    GdiCanvasTarget target{PanelDrawingDc(window, windowDc, width, height)};
    if (target.dc != windowDc) {
        target.zoomedWindow = window;
        target.shownOn = windowDc;
    }
    return target;
}

void PaintBitmapPanel(HWND window, int resource, int width, int height, bool fit) {
    if (!fit) InvalidateRect(window, nullptr, FALSE);
    RefreshWindowZoom(window, width, height);
    PaintScope paint(window);
    if (fit) FitWindowToPanel(window, width, height, false);
    if (paint.Dc() == nullptr) return;
    const HDC dc = PanelDrawingDc(window, paint.Dc(), width, height);
    if (dc == nullptr) return;
    // Loaded anew for every paint and released at its end.
    MemoryDc memory(paint.Dc());
    GdiObject<HBITMAP> bitmap(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource)));
    if (memory.Get() == nullptr || bitmap.Get() == nullptr) return;
    BITMAP info = {};
    if (GetObjectA(bitmap.Get(), sizeof info, &info) != sizeof info) return;
    // Never more than the bitmap holds.
    if (width > info.bmWidth) width = info.bmWidth;
    if (height > info.bmHeight) height = info.bmHeight;
    SelectScope selected(memory.Get(), bitmap.Get());
    BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
    if (dc != paint.Dc()) PresentZoomedPanel(window, paint.Dc());
}

void PaintEmptyPanel(HWND window) {
    FitWindowToPanel(window, EmptyPanelWidth, EmptyPanelHeight, true);
    InvalidateRect(window, nullptr, TRUE);
    PaintScope paint(window);
    if (paint.Dc() == nullptr) return;
    RECT client;
    GetClientRect(window, &client);
    GdiCanvasTarget target{paint.Dc()};
    const PanelCanvas canvas = GdiCanvas(&target);
    canvas.fill(canvas.context, 0, 0, client.right - client.left, client.bottom - client.top, PanelGrey);
}
