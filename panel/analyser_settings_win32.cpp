// The analyser settings window: its class, its procedure and the command
// that opens it.
#include "panel/analyser_settings_win32.h"

#include "app/shell_state.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "panel/analyser_settings.h"
#include "panel/panel_win32.h"

HWND AnalyserSettingsWindow = nullptr;

namespace {

constexpr DWORD SettingsStyle = WS_DLGFRAME | WS_SYSMENU;
constexpr DWORD SettingsExStyle = WS_EX_TOOLWINDOW;

// Before anything else: where the window stood, for the next one, and the
// freeze released by the unit's rule.
void OnDestroy(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    if (AnalyserSettingsWindow == window) AnalyserSettingsWindow = nullptr;
    AnalyserSettingsClosed(r.left, r.top);
}

LRESULT CALLBACK AnalyserSettingsProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) OnDestroy(window);
    const LRESULT handled =
        PanelDispatch(window, AnalyserTable, AnalyserCount, PanelAnalyserSettings, msg, wParam, lParam);
    if (handled != -1) return handled;
    return DefWindowProcA(window, msg, wParam, lParam);
}

HWND CreateSettingsWindow(HWND owner) {
    RECT r = {0, 0, AnalyserSettingsClientWidth, AnalyserSettingsCreateHeight};
    AdjustWindowRectEx(&r, SettingsStyle, TRUE, SettingsExStyle);
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    const ScreenPoint at = ProgramSettings.analyserSettingsPos;
    return CreateWindowExA(SettingsExStyle, AnalyserSettingsClassName, AnalyserSettingsTitle, SettingsStyle, at.left,
                           at.top, r.right - r.left, r.bottom - r.top, owner, nullptr, instance, nullptr);
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

void ShowAnalyserSettingsWindow(HWND owner) {
    switch (AnalyserSettingsCommand(DeviceFunction, AnalyserSettingsWindow != nullptr)) {
        case AnalyserSettingsAction::Nothing: return;
        case AnalyserSettingsAction::Create:
            AnalyserSettingsWindow = CreateSettingsWindow(owner);
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

void DestroyAnalyserSettingsWindow() {
    if (AnalyserSettingsWindow != nullptr) DestroyWindow(AnalyserSettingsWindow);
}
