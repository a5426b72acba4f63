// The mode refresh: menu item states after a change of function or link
// state, the repaint that shows the new panel, and the question about
// unsaved data of the function that was left.
#include <windows.h>

#include <initializer_list>

#include "app/main_window.h"
#include "app/mode_menu.h"
#include "app/mode_refresh.h"
#include "app/panel_stand_in.h"
#include "app/setup_commands.h"
#include "app/shell_state.h"
#include "link/link_state.h"
#include "resources/resource_ids.h"
#include "setup/setup_state.h"

namespace {

constexpr int NoFunctionYet = -10;  // the first call always counts as a change

// Memory of the last change (user-interface thread only).
int LastFunction = NoFunctionYet;
int LastOnline = 0;

void SetEnabled(HMENU menu, UINT command, bool enabled) {
    EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

void ApplyMenuStates(HMENU menu, const ModeMenuStates& s) {
    for (UINT id : {CMD_OPEN_SETUP, CMD_SAVE_SETUP, CMD_SAVE_SETUP_AS, CMD_COMMENT}) SetEnabled(menu, id, s.fileItems);
    for (UINT id : {CMD_RECALL, CMD_STORE}) SetEnabled(menu, id, s.recallStore);
    for (UINT id : {CMD_BOOT_DUAL_MONO, CMD_BOOT_STEREO, CMD_BOOT_ANALYSER}) SetEnabled(menu, id, s.bootItems);
    for (UINT id : {CMD_OFFLINE_SMALL_WINDOW, CMD_OFFLINE_DUAL_MONO, CMD_OFFLINE_STEREO, CMD_OFFLINE_ANALYSER})
        SetEnabled(menu, id, s.offlineItems);
    SetEnabled(menu, CMD_ANALYSER_SETTINGS, s.analyserSettings);
}

void AskAboutPreviousFunction(int previous, int current) {
    if (UnsavedChanges == 0 || ProgramSettings.safeMode == 0) return;
    if (previous < FunctionDualMono || previous > FunctionAnalyser || previous == current) return;
    MessageBeep(MB_ICONEXCLAMATION);
    if (MessageBoxA(MainWindow, "Previous data are still not saved.\nSave now?", "QIV-72 RC",
                    MB_YESNO | MB_ICONQUESTION) == IDYES)
        SaveSetupFile(MainWindow, previous, true);
    UnsavedChanges = 0;
}

}  // namespace

void RefreshModeState() {
    const int function = DeviceFunction;
    const int online = Online != 0 ? 1 : 0;
    if (function == LastFunction && online == LastOnline) return;
    const int previous = LastFunction;
    LastFunction = function;
    LastOnline = online;

    if (MainMenuHandle != nullptr) ApplyMenuStates(MainMenuHandle, MenuStatesFor(function, online != 0));
    if (function != FunctionAnalyser) DestroyAnalyserSettingsWindow();
    if (MainWindow != nullptr) {
        InvalidateRect(MainWindow, nullptr, TRUE);
        UpdateWindow(MainWindow);
    }
    AskAboutPreviousFunction(previous, function);
}
