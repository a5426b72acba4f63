// The analyser panel's paint and the analyser settings window, until the
// analyser's own modules replace them.
#include "app/panel_stand_in.h"

#include "app/main_window.h"
#include "app/shell_state.h"
#include "app/win32_handles.h"
#include "app/window_geometry.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "panel/panel_win32.h"

HWND AnalyserSettingsWindow = nullptr;

namespace {

constexpr char AnalyserSettingsClass[] = "ANASetClass";
constexpr char AnalyserSettingsTitle[] = "QIV-72 Audio Analyser Settings";
constexpr int AnalyserSettingsWidth = 524;
constexpr int AnalyserSettingsHeight = 141;
constexpr int AnalyserSettingsCreateHeight = 138;

const COLORREF AnalyserGrey = RGB(120, 120, 120);

LRESULT CALLBACK AnalyserSettingsProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) AnalyserSettingsWindow = nullptr;
    if (msg == WM_MOVE) {
        RECT r;
        if (!IsIconic(window) && GetWindowRect(window, &r)) ProgramSettings.analyserSettingsPos = {r.left, r.top};
    }
    const LRESULT handled =
        PanelDispatch(window, AnalyserTable, AnalyserCount, PanelAnalyserSettings, msg, wParam, lParam);
    if (handled != -1) return handled;
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

// A plain grey panel of the size the analyser settings give.
void PaintAnalyserPanel(HWND window) {
    int32_t w = 0, h = 0;
    AnalyserPanelClientSize(w, h);
    FitWindowToPanel(window, w, h, false);
    PaintScope paint(window);
    if (paint.Dc() == nullptr) return;
    RECT client;
    GetClientRect(window, &client);
    GdiObject<HBRUSH> brush(CreateSolidBrush(AnalyserGrey));
    FillRect(paint.Dc(), &client, brush.Get());
}

bool RegisterAnalyserSettingsClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
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
