// qiv72rc.exe: start-up and the message loop.
#include <windows.h>

#include <commctrl.h>
#include <initializer_list>

#include "app/help_window.h"
#include "app/main_window.h"
#include "model/param_tables.h"
#include "panel/analyser_settings_win32.h"
#include "resources/resource_ids.h"

namespace {

constexpr int ClassNameMax = 40;
constexpr UINT HandOverTimeoutMs = 5000;

// A running copy: the first top-level window whose class is the main
// window's, compared without regard to case.
HWND FindRunningCopy() {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        char name[ClassNameMax + 1] = {};
        GetClassNameA(w, name, sizeof name);
        if (lstrcmpiA(name, MainClassName) == 0) return w;
    }
    return nullptr;
}

void BringRunningCopyForward(HWND running, LPSTR commandLine) {
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    AllowSetForegroundWindow(process);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(running, MSG_BRING_TO_FRONT, 1, reinterpret_cast<LPARAM>(commandLine), SMTO_ABORTIFHUNG,
                        HandOverTimeoutMs, &result);
}

// The keys of the menus act on the unit (Space freezes the analyser, L, R
// and M switch its input): they belong to the main window and the analyser
// settings window only, never to the help window or a dialog.
bool AcceleratorsApplyTo(HWND window) {
    for (HWND w : {MainWindow, AnalyserSettingsWindow})
        if (w != nullptr && window != nullptr && (window == w || IsChild(w, window))) return true;
    return false;
}

int RunMessageLoop(HACCEL accelerators) {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got < 0) return 0;
        if (TranslateHelpWindowMessage(&msg)) continue;
        if (accelerators != nullptr && MainWindow != nullptr && AcceleratorsApplyTo(msg.hwnd) &&
            TranslateAcceleratorA(MainWindow, accelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    if (HWND running = FindRunningCopy()) {
        BringRunningCopyForward(running, commandLine);
        return 0;
    }
    if (previous == nullptr && !RegisterMainWindowClass(instance)) return 0;
    BuildIdIndices();
    // The manifest asks for Common Controls 6; this loads it, so that the
    // dialogs' buttons, lists and boxes take today's look.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HACCEL accelerators = LoadAcceleratorsA(instance, "QENTA_ACC");
    HWND window = CreateMainWindow(instance);
    if (window == nullptr) return 0;
    MainWindow = window;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return RunMessageLoop(accelerators);
}
