// The main window's panel and the link core's redraw request.
#include "app/main_panel.h"

#include "app/main_window.h"
#include "link/link_seams.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "panel/analyser_settings_win32.h"
#include "panel/panel_win32.h"

namespace {

struct FunctionPanel {
    ParamDesc* table;
    int count;
    int panelType;
};

// The panel of device function 1 to 3; a null table for any other.
FunctionPanel PanelOf(int function) {
    switch (function) {
        case FunctionDualMono: return {DualMonoTable, DualMonoCount, PanelDualMono};
        case FunctionStereo: return {StereoTable, StereoCount, PanelStereo};
        // The analyser display: laid out at every paint of its panel.
        case FunctionAnalyser: return {AnalyserDisplayTable, AnalyserDisplayCount, PanelAnalyser};
        default: return {nullptr, 0, PanelEmpty};
    }
}

}  // namespace

void DispatchToPanel(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    const FunctionPanel p = PanelOf(DeviceFunction);
    if (p.table == nullptr) return;
    const LRESULT handled = PanelDispatch(window, p.table, p.count, p.panelType, msg, wParam, lParam);
    // A paint the panel declined (the window is minimised) must still be
    // validated, or it would be asked for again and again.
    if (msg == WM_PAINT && handled == -1) ValidateRect(window, nullptr);
}

// After every device frame: the controls whose values changed, and nothing
// else, are drawn over the panel as it stands (no background, no erase).
void RequestPanelRedraw(PanelTarget target, ParamDesc* table, int count, int panelType) {
    HWND window = target == PanelTarget::MainWindow ? MainWindow : AnalyserSettingsWindow;
    if (window == nullptr) return;
    PanelDispatch(window, table, count, panelType, PanelRedraw, 0, 0);
}
