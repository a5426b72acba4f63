// The mode refresh on the main window: its menu items, the analyser
// settings window, the repaint and the question, for the portable refresh.
#include <windows.h>

#include "app/main_window.h"
#include "app/mode_refresh.h"
#include "app/setup_commands.h"
#include "panel/analyser_settings_win32.h"
#include "panel/panel_shell_win32.h"

namespace {

// The main menu, also while it is detached from the window (hidden).
HMENU MainMenu() {
    if (MainMenuHandle != nullptr) return MainMenuHandle;
    return MainWindow != nullptr ? GetMenu(MainWindow) : nullptr;
}

void SetMenuItem(unsigned command, bool enabled) {
    HMENU menu = MainMenu();
    if (menu != nullptr) EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

void CloseAnalyserSettings() { DestroyAnalyserSettingsWindow(); }

void RepaintMainWindow() {
    if (MainWindow == nullptr) return;
    InvalidateRect(MainWindow, nullptr, TRUE);
    UpdateWindow(MainWindow);
}

bool AskSavePrevious() {
    MessageBeep(MB_ICONEXCLAMATION);
    return MessageBoxA(MainWindow, "Previous data are still not saved.\nSave now?", "QIV-72 RC",
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// Whatever the save did, the question is not asked again for this change
// of function: a failed save has told the user already.
void SavePrevious(int function) { static_cast<void>(SaveSetupFile(MainWindow, function, true)); }

constexpr ModeRefreshSeam WindowSeam = {SetMenuItem, CloseAnalyserSettings, RepaintMainWindow, AskSavePrevious,
                                        SavePrevious};

}  // namespace

// The main window's menu, windows and message box; also on every timer
// tick while the link is down.
void RefreshModeState() { RunModeRefresh(WindowSeam); }
