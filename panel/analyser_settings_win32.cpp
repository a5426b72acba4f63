// The analyser settings window: its class, its procedure and the command
// that opens it.
#include "panel/analyser_settings_win32.h"

#include "link/link_state.h"
#include "model/param_tables.h"
#include "panel/analyser_settings.h"
#include "panel/panel_win32.h"
#include "panel/panel_zoom_win32.h"

HWND AnalyserSettingsWindow = nullptr;

namespace {

constexpr DWORD SettingsStyle = WS_DLGFRAME | WS_SYSMENU;
constexpr DWORD SettingsExStyle = WS_EX_TOOLWINDOW;

// Where the window keeps its position, handed over at its creation.
ScreenPoint* KeptPositionOf(HWND window) {
    return reinterpret_cast<ScreenPoint*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void OnNcCreate(HWND window, LPARAM lParam) {
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

// Before anything else: where the window stood, for the next one, and the
// freeze released by the unit's rule.
void OnDestroy(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    if (AnalyserSettingsWindow == window) AnalyserSettingsWindow = nullptr;
    ScreenPoint* kept = KeptPositionOf(window);
    ScreenPoint unused = {};
    AnalyserSettingsClosed(kept != nullptr ? *kept : unused, r.left, r.top);
}

// Moved to a monitor of another DPI: where Windows suggests, at the zoom
// for the new DPI.
LRESULT OnDpiChanged(HWND window, LPARAM lParam) {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (suggested != nullptr)
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitWindowToPanel(window, AnalyserSettingsClientWidth, AnalyserSettingsClientHeight, true);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT CALLBACK AnalyserSettingsProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) OnNcCreate(window, lParam);
    if (msg == WM_DESTROY) OnDestroy(window);
    if (msg == WM_DPICHANGED) return OnDpiChanged(window, lParam);
    const LRESULT handled =
        PanelDispatch(window, AnalyserTable, AnalyserCount, PanelAnalyserSettings, msg, wParam, lParam);
    if (handled != -1) return handled;
    return DefWindowProcA(window, msg, wParam, lParam);
}

// Created at the owner's zoom; its first paint fits it to its own.
HWND CreateSettingsWindow(HWND owner, ScreenPoint& position) {
    const int halves = WindowZoomHalves(owner);
    RECT r = {0, 0, ScaleToScreen(AnalyserSettingsClientWidth, halves),
              ScaleToScreen(AnalyserSettingsCreateHeight, halves)};
    AdjustWindowRectForDpi(&r, SettingsStyle, true, SettingsExStyle, WindowDpi(owner));
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    return CreateWindowExA(SettingsExStyle, AnalyserSettingsClassName, AnalyserSettingsTitle, SettingsStyle,
                           position.left, position.top, r.right - r.left, r.bottom - r.top, owner, nullptr, instance,
                           &position);
}

}  // namespace

bool RegisterAnalyserSettingsClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = AnalyserSettingsProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "DSP");
    wc.hCursor = nullptr;        // the panel sets the arrow on every mouse move
    wc.hbrBackground = nullptr;  // the panel paints the whole client area
    wc.lpszClassName = AnalyserSettingsClassName;
    return RegisterClassA(&wc) != 0;
}

void ShowAnalyserSettingsWindow(HWND owner, ScreenPoint& position) {
    switch (AnalyserSettingsCommand(DeviceFunction, AnalyserSettingsWindow != nullptr)) {
        case AnalyserSettingsAction::Nothing: return;
        case AnalyserSettingsAction::Create:
            AnalyserSettingsWindow = CreateSettingsWindow(owner, position);
            if (AnalyserSettingsWindow == nullptr) return;
            break;
        case AnalyserSettingsAction::Raise:
            // It may lie behind other windows.
            BringWindowToTop(AnalyserSettingsWindow);
            break;
    }
    // Painting may run the mode refresh, which closes the window when the
    // function has just left the Analyser.
    HWND window = AnalyserSettingsWindow;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (IsWindow(window)) FitWindowToPanel(window, AnalyserSettingsClientWidth, AnalyserSettingsClientHeight, true);
}

void RefitAnalyserSettingsWindow() {
    if (AnalyserSettingsWindow == nullptr) return;
    FitWindowToPanel(AnalyserSettingsWindow, AnalyserSettingsClientWidth, AnalyserSettingsClientHeight, true);
    InvalidateRect(AnalyserSettingsWindow, nullptr, FALSE);
}

void DestroyAnalyserSettingsWindow() {
    if (AnalyserSettingsWindow != nullptr) DestroyWindow(AnalyserSettingsWindow);
}
