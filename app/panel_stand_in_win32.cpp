// Plain panels of the right sizes, until the drawn front panels replace
// them, and FitWindowToPanel.
#include "app/panel_stand_in.h"

#include "app/main_window.h"
#include "app/mode_refresh.h"
#include "app/shell_state.h"
#include "app/win32_handles.h"
#include "app/window_geometry.h"
#include "link/link_seams.h"
#include "link/link_state.h"

HWND AnalyserSettingsWindow = nullptr;

namespace {

constexpr char AnalyserSettingsClass[] = "ANASetClass";
constexpr char AnalyserSettingsTitle[] = "QIV-72 Audio Analyser Settings";
constexpr int AnalyserSettingsWidth = 524;
constexpr int AnalyserSettingsHeight = 141;
constexpr int AnalyserSettingsCreateHeight = 138;

const COLORREF PanelGrey = RGB(120, 120, 120);
const COLORREF RackFace = RGB(43, 47, 54);

void FillClient(HWND window, HDC dc, COLORREF colour) {
    RECT client;
    GetClientRect(window, &client);
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &client, brush.Get());
}

void PaintPlainPanel(HWND window, int width, int height, COLORREF colour) {
    PaintScope paint(window);
    FitWindowToPanel(window, width, height, false);
    if (paint.Dc() != nullptr) FillClient(window, paint.Dc(), colour);
}

void PaintCurrentPanel(HWND window) {
    switch (DeviceFunction) {
        case FunctionDualMono: PaintPlainPanel(window, DualMonoPanelWidth, DualMonoPanelHeight, RackFace); break;
        case FunctionStereo: PaintPlainPanel(window, StereoPanelWidth, StereoPanelHeight, RackFace); break;
        case FunctionAnalyser: {
            int32_t w = 0, h = 0;
            AnalyserPanelClientSize(w, h);
            PaintPlainPanel(window, w, h, PanelGrey);
            break;
        }
        default: break;
    }
}

LRESULT CALLBACK AnalyserSettingsProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            InvalidateRect(window, nullptr, FALSE);
            PaintScope paint(window);
            if (paint.Dc() != nullptr) FillClient(window, paint.Dc(), PanelGrey);
            return 0;
        }
        case WM_MOVE: {
            RECT r;
            if (!IsIconic(window) && GetWindowRect(window, &r)) ProgramSettings.analyserSettingsPos = {r.left, r.top};
            return 0;
        }
        case WM_DESTROY:
            AnalyserSettingsWindow = nullptr;
            return 0;
        default: return DefWindowProcA(window, msg, wParam, lParam);
    }
}

}  // namespace

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

void DispatchToPanel(HWND window, UINT msg, WPARAM, LPARAM) {
    switch (msg) {
        case WM_PAINT: PaintCurrentPanel(window); break;
        case WM_MOUSEMOVE: SetCursor(LoadCursor(nullptr, IDC_ARROW)); break;
        default: break;
    }
}

void PaintEmptyPanel(HWND window) {
    FitWindowToPanel(window, EmptyPanelWidth, EmptyPanelHeight, true);
    InvalidateRect(window, nullptr, TRUE);
    PaintScope paint(window);
    if (paint.Dc() != nullptr) FillClient(window, paint.Dc(), PanelGrey);
}

bool RegisterAnalyserSettingsClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = AnalyserSettingsProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "DSP");
    wc.lpszClassName = AnalyserSettingsClass;
    return RegisterClassA(&wc) != 0;
}

void ShowAnalyserSettingsWindow(HWND owner) {
    if (AnalyserSettingsWindow == nullptr) {
        if (DeviceFunction != FunctionAnalyser) return;
        const DWORD style = WS_DLGFRAME | WS_SYSMENU;
        RECT r = {0, 0, AnalyserSettingsWidth, AnalyserSettingsCreateHeight};
        AdjustWindowRectEx(&r, style, TRUE, WS_EX_TOOLWINDOW);
        AnalyserSettingsWindow = CreateWindowExA(
            WS_EX_TOOLWINDOW, AnalyserSettingsClass, AnalyserSettingsTitle, style,
            ProgramSettings.analyserSettingsPos.left, ProgramSettings.analyserSettingsPos.top, r.right - r.left,
            r.bottom - r.top, owner, nullptr, MainInstance, nullptr);
        if (AnalyserSettingsWindow == nullptr) return;
    }
    ShowWindow(AnalyserSettingsWindow, SW_SHOW);
    UpdateWindow(AnalyserSettingsWindow);
    FitWindowToPanel(AnalyserSettingsWindow, AnalyserSettingsWidth, AnalyserSettingsHeight, true);
}

void DestroyAnalyserSettingsWindow() {
    if (AnalyserSettingsWindow != nullptr) DestroyWindow(AnalyserSettingsWindow);
}

// The panel's redraw request of the link core. The drawing pass starts with
// the mode refresh; the plain panels have no controls to draw.
void RequestPanelRedraw(PanelTarget target, ParamDesc*, int, int) {
    if (target == PanelTarget::MainWindow) RefreshModeState();
}
