// The main window procedure: one handler per message, a table of commands.
#include "app/main_window.h"

#include <dbt.h>
#include <windowsx.h>

#include <cstring>
#include <iterator>

#include "app/dialog_rules.h"
#include "app/dialogs.h"
#include "app/help_window.h"
#include "app/link_supervision.h"
#include "app/main_panel.h"
#include "app/mode_menu.h"
#include "app/mode_refresh.h"
#include "app/port_keeper.h"
#include "app/settings_file_win32.h"
#include "app/setup_commands.h"
#include "app/shell_state.h"
#include "link/edit_history.h"
#include "link/frame_receiver.h"
#include "link/host_encoder.h"
#include "link/link_seams.h"
#include "link/link_state.h"
#include "link/serial_win32.h"
#include "model/param_ids.h"
#include "model/param_tables.h"
#include "panel/analyser_settings_win32.h"
#include "panel/panel_win32.h"
#include "panel/window_geometry.h"
#include "panel/panel_zoom_win32.h"
#include "resources/resource_ids.h"
#include "win32/win32_handles.h"

HINSTANCE MainInstance = nullptr;
HWND MainWindow = nullptr;
HMENU MainMenuHandle = nullptr;

namespace {

constexpr char Win32sText[] = "This Program requieres Windows 95 TM or Windows NT TM.";

// Shell state of the main window (user-interface thread only).
struct MainWindowState {
    bool created = false;  // the creation handler completed
    bool firstPaintPending = false;
    bool mainMenuHidden = false;
    // The main menu while it is detached from the window (hidden), so that
    // it is destroyed with the window even then.
    MenuOwner detachedMainMenu;
    MenuOwner rightButtonMenu;
    HCURSOR arrowCursor = nullptr;
    char lastTitle[TitleCapacity] = {};
    // The chosen port, reopened quietly while it is missing or vanished.
    PortKeeper portKeeper;
    // The Edit items' states as last applied; unknown until the first paint
    // loads the menus.
    EditMenuStates editMenu = {};
    bool editMenuKnown = false;
};
MainWindowState Shell;

uint64_t NowMs() { return GetTickCount64(); }

// A retry of the chosen port, when one is due: the open runs off this
// thread and reports with MSG_PORT_REOPENED.
void RetryPortIfDue(HWND window) {
    PortKeeper& k = Shell.portKeeper;
    if (PortRetryDue(k, NowMs()) && !StartBackgroundOpen(window, ProgramSettings.portName, k.attempt))
        PortAttemptEnded(k, k.attempt, false, NowMs());
}

// After the link was lost, as on the supervision's lost tick.
void ShowLinkLost() {
    UpdateWindowTitle();
    RefreshModeState();
    PutMetersAtRest(DeviceFunction);
}

void SetCheck(UINT command, bool on) {
    if (MainMenuHandle != nullptr) CheckMenuItem(MainMenuHandle, command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void ApplyAlwaysOnTop(HWND window) {
    SetWindowPos(window, ProgramSettings.alwaysTop != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The unsaved-data question before the current setup is replaced or lost.
bool SaveCurrentFirstIfWanted(HWND window) { return SaveFirstIfWanted(window, SaveQuestionCaption, DeviceFunction); }

void ToggleMainMenu(HWND window) {
    if (Shell.mainMenuHidden) {
        SetMenu(window, Shell.detachedMainMenu.Release());
        Shell.mainMenuHidden = false;
    } else {
        SetMenu(window, nullptr);
        Shell.detachedMainMenu.Reset(MainMenuHandle);
        Shell.mainMenuHidden = true;
    }
}

// Analyser-only commands change a setting the way the program's own
// changes go: limited, marked and sent with the next answers.
// Each key is one step of the user's.
void ChangeAnalyserSetting(int id, double value) {
    if (DeviceFunction != FunctionAnalyser) return;
    const ParamDesc* p = FindParam(TableAnalyser, id);
    if (p == nullptr) return;
    const double before = p->value;
    RequestParamChange(value, id, TableAnalyser);
    NoteUserChange(*p, before, StepKind::Command, 0);
}

void InvertAnalyserSetting(int id) {
    const ParamDesc* p = DeviceFunction == FunctionAnalyser ? FindParam(TableAnalyser, id) : nullptr;
    if (p != nullptr) ChangeAnalyserSetting(id, 1.0 - p->value);
}

void SelectOfflineFunction(int function) {
    if (Online == 0) DeviceFunction = function;
}

void RequestBoot(int function, int bootCode) {
    if (Online != 0 && DeviceFunction != function) BootRequest = bootCode;
}

void LoadUserSettings(HWND window, const char* path) {
    if (DeviceFunction == FunctionAnalyser) LoadSetupFile(window, AnalyserTable, AnalyserCount, path);
}

// Commands, one small function each.
void CmdExit(HWND w) {
    if (ConfirmClose(w)) DestroyWindow(w);
}
void CmdComPort(HWND w) { ShowPortDialog(w); }
void CmdAbout(HWND w) { ShowAboutBox(w); }
void CmdAlwaysOnTop(HWND w) {
    ProgramSettings.alwaysTop = ProgramSettings.alwaysTop != 0 ? 0 : 1;
    SetCheck(CMD_ALWAYS_ON_TOP, ProgramSettings.alwaysTop != 0);
    ApplyAlwaysOnTop(w);
}
void CmdOpenSetup(HWND w) {
    OpenSetupFile(w, DeviceFunction);
    UpdateWindowTitle();
}
// The title shows the outcome either way, and a failed save has told the
// user already.
void CmdSaveSetup(HWND w) {
    static_cast<void>(SaveSetupFile(w, DeviceFunction, false));
    UpdateWindowTitle();
}
void CmdSaveSetupAs(HWND w) {
    static_cast<void>(SaveSetupFile(w, DeviceFunction, true));
    UpdateWindowTitle();
}
void CmdSafeFileMode(HWND) {
    ProgramSettings.safeMode = ProgramSettings.safeMode != 0 ? 0 : 1;
    SetCheck(CMD_SAFE_FILE_MODE, ProgramSettings.safeMode != 0);
}
void CmdScreenSaver(HWND) {
    ProgramSettings.screenSaverOff = ProgramSettings.screenSaverOff != 0 ? 0 : 1;
    SetCheck(CMD_DEACTIVATE_SCREENSAVER, ProgramSettings.screenSaverOff != 0);
}
void CmdHelpContents(HWND w) { OpenHelp(w, 0); }
void CmdToggleMainMenu(HWND w) { ToggleMainMenu(w); }
void CmdComment(HWND w) {
    ShowCommentDialog(w);
    UpdateWindowTitle();
}
void CmdHelpLanguage(HWND w) { ShowHelpLanguageDialog(w); }
void CmdHelpOperation(HWND w) { OpenHelp(w, HelpTopicOperation); }
void CmdRecall(HWND w) {
    if (SaveCurrentFirstIfWanted(w)) ShowRecallDialog(w);
}
void CmdStore(HWND w) { ShowStoreDialog(w); }
void CmdAnalyserSettings(HWND w) { ShowAnalyserSettingsWindow(w, ProgramSettings.analyserSettingsPos); }
void CmdOfflineDualMono(HWND) { SelectOfflineFunction(FunctionDualMono); }
void CmdOfflineStereo(HWND) { SelectOfflineFunction(FunctionStereo); }
void CmdOfflineSmallWindow(HWND) { SelectOfflineFunction(FunctionNone); }
void CmdOfflineAnalyser(HWND) { SelectOfflineFunction(FunctionAnalyser); }
void CmdInputLeft(HWND) { ChangeAnalyserSetting(AnalyserInputId, 0.0); }
void CmdInputRight(HWND) { ChangeAnalyserSetting(AnalyserInputId, 1.0); }
void CmdInputBoth(HWND) { ChangeAnalyserSetting(AnalyserInputId, 2.0); }
void CmdUserSettingsA(HWND w) { LoadUserSettings(w, "fastkey5.a72"); }
void CmdUserSettingsB(HWND w) { LoadUserSettings(w, "fastkey6.a72"); }
void CmdUserSettingsC(HWND w) { LoadUserSettings(w, "fastkey7.a72"); }
void CmdUserSettingsD(HWND w) { LoadUserSettings(w, "fastkey8.a72"); }
void CmdBootDualMono(HWND) { RequestBoot(FunctionDualMono, 1); }
void CmdBootStereo(HWND) { RequestBoot(FunctionStereo, 3); }
void CmdBootAnalyser(HWND) { RequestBoot(FunctionAnalyser, 2); }
void CmdFreeze(HWND) { InvertAnalyserSetting(AnalyserFreezeId); }
void CmdLevelMeterDisplay(HWND) { InvertAnalyserSetting(LevelMeterDisplayId); }

// Panel Size: the menu's commands in the order of their sizes.
struct PanelSizeCommand {
    UINT command;
    PanelSize size;
};
constexpr PanelSizeCommand PanelSizeCommands[] = {
    {CMD_PANEL_SIZE_AUTO, PanelSize::Auto},        {CMD_PANEL_SIZE_100, PanelSize::Percent100},
    {CMD_PANEL_SIZE_150, PanelSize::Percent150},   {CMD_PANEL_SIZE_200, PanelSize::Percent200},
    {CMD_PANEL_SIZE_300, PanelSize::Percent300},
};

void CheckPanelSize() {
    if (MainMenuHandle == nullptr) return;
    const UINT first = PanelSizeCommands[0].command;
    const UINT last = PanelSizeCommands[std::size(PanelSizeCommands) - 1].command;
    for (const PanelSizeCommand& c : PanelSizeCommands)
        if (c.size == PanelSizeChoice()) CheckMenuRadioItem(MainMenuHandle, first, last, c.command, MF_BYCOMMAND);
}

// Both panel windows take the new size at once: the main window at its
// next paint, the analyser settings window fitted here.
void ChoosePanelSize(HWND window, PanelSize size) {
    SetPanelSizeChoice(size);
    ProgramSettings.panelSize = static_cast<int32_t>(size);
    CheckPanelSize();
    if (DeviceFunction == FunctionNone) FitWindowToPanel(window, EmptyPanelWidth, EmptyPanelHeight, true);
    InvalidateRect(window, nullptr, FALSE);
    RefitAnalyserSettingsWindow();
}
void CmdPanelSizeAuto(HWND w) { ChoosePanelSize(w, PanelSize::Auto); }
void CmdPanelSize100(HWND w) { ChoosePanelSize(w, PanelSize::Percent100); }
void CmdPanelSize150(HWND w) { ChoosePanelSize(w, PanelSize::Percent150); }
void CmdPanelSize200(HWND w) { ChoosePanelSize(w, PanelSize::Percent200); }
void CmdPanelSize300(HWND w) { ChoosePanelSize(w, PanelSize::Percent300); }

// The Edit menu: undo history and A/B compare of the function shown. What
// they change is drawn at once.
void ShowEdit() {
    RequestFunctionRedraw();
    UpdateWindowTitle();
}
void CmdUndo(HWND) {
    if (UndoStep(DeviceFunction)) ShowEdit();
}
void CmdRedo(HWND) {
    if (RedoStep(DeviceFunction)) ShowEdit();
}
void CmdCompare(HWND) {
    ToggleCompare(DeviceFunction);
    ShowEdit();
}
void CmdCopyAToB(HWND) {
    CopyCompareSide(DeviceFunction, CompareSide::B);
    ShowEdit();
}
void CmdCopyBToA(HWND) {
    CopyCompareSide(DeviceFunction, CompareSide::A);
    ShowEdit();
}

struct Command {
    WORD id;
    void (*run)(HWND);
};
constexpr Command Commands[] = {
    {CMD_EXIT, CmdExit},
    {CMD_COM_PORT, CmdComPort},
    {CMD_ABOUT, CmdAbout},
    {CMD_ALWAYS_ON_TOP, CmdAlwaysOnTop},
    {CMD_OPEN_SETUP, CmdOpenSetup},
    {CMD_SAVE_SETUP, CmdSaveSetup},
    {CMD_SAVE_SETUP_AS, CmdSaveSetupAs},
    {CMD_SAFE_FILE_MODE, CmdSafeFileMode},
    {CMD_DEACTIVATE_SCREENSAVER, CmdScreenSaver},
    {CMD_HELP_CONTENTS, CmdHelpContents},
    {CMD_TOGGLE_MAIN_MENU, CmdToggleMainMenu},
    {CMD_COMMENT, CmdComment},
    {CMD_HELP_LANGUAGE, CmdHelpLanguage},
    {CMD_HELP_OPERATION, CmdHelpOperation},
    {CMD_RECALL, CmdRecall},
    {CMD_STORE, CmdStore},
    {CMD_ANALYSER_SETTINGS, CmdAnalyserSettings},
    {CMD_OFFLINE_DUAL_MONO, CmdOfflineDualMono},
    {CMD_ANALYSER_INPUT_LEFT, CmdInputLeft},
    {CMD_OFFLINE_STEREO, CmdOfflineStereo},
    {CMD_ANALYSER_INPUT_RIGHT, CmdInputRight},
    {CMD_OFFLINE_SMALL_WINDOW, CmdOfflineSmallWindow},
    {CMD_OFFLINE_ANALYSER, CmdOfflineAnalyser},
    {CMD_ANALYSER_INPUT_BOTH, CmdInputBoth},
    {CMD_USER_SETTINGS_A, CmdUserSettingsA},
    {CMD_BOOT_DUAL_MONO, CmdBootDualMono},
    {CMD_USER_SETTINGS_B, CmdUserSettingsB},
    {CMD_BOOT_STEREO, CmdBootStereo},
    {CMD_USER_SETTINGS_C, CmdUserSettingsC},
    {CMD_BOOT_ANALYSER, CmdBootAnalyser},
    {CMD_USER_SETTINGS_D, CmdUserSettingsD},
    {CMD_ANALYSER_FREEZE, CmdFreeze},
    {CMD_LEVEL_METER_DISPLAY, CmdLevelMeterDisplay},
    {CMD_PANEL_SIZE_AUTO, CmdPanelSizeAuto},
    {CMD_PANEL_SIZE_100, CmdPanelSize100},
    {CMD_PANEL_SIZE_150, CmdPanelSize150},
    {CMD_PANEL_SIZE_200, CmdPanelSize200},
    {CMD_PANEL_SIZE_300, CmdPanelSize300},
    {CMD_UNDO, CmdUndo},
    {CMD_REDO, CmdRedo},
    {CMD_COMPARE_AB, CmdCompare},
    {CMD_COPY_A_TO_B, CmdCopyAToB},
    {CMD_COPY_B_TO_A, CmdCopyBToA},
};

// Right-button popups that carry the Edit items: those of Dual Mono, Stereo
// and the Analyser, with the main menu shown or hidden.
constexpr int EditPopupCount = 4;

void SetEditItem(HMENU menu, UINT command, bool enabled) {
    if (menu != nullptr) EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

// Steps end in the panels, dialogs and loads as well as in the commands, so
// the Edit items are brought up to date at every message of the main window
// (it has one per frame and per timer tick, and one before any menu opens);
// only a change touches the menus.
void SyncEditMenu() {
    if (MainMenuHandle == nullptr) return;
    const EditMenuStates s = EditMenuStatesFor(DeviceFunction);
    if (Shell.editMenuKnown && s == Shell.editMenu) return;
    Shell.editMenu = s;
    Shell.editMenuKnown = true;
    HMENU menus[1 + EditPopupCount] = {MainMenuHandle};
    for (int i = 0; i < EditPopupCount; ++i)
        menus[1 + i] = Shell.rightButtonMenu.Get() != nullptr ? GetSubMenu(Shell.rightButtonMenu.Get(), i) : nullptr;
    for (HMENU m : menus) {
        SetEditItem(m, CMD_UNDO, s.undo);
        SetEditItem(m, CMD_REDO, s.redo);
        SetEditItem(m, CMD_COMPARE_AB, s.compare);
        SetEditItem(m, CMD_COPY_A_TO_B, s.copies);
        SetEditItem(m, CMD_COPY_B_TO_A, s.copies);
    }
}

// The rest of the start-up, at the first paint: timer, menus, cursor, link,
// title, the analyser settings window class.
void LateInitialisation(HWND window) {
    Shell.firstPaintPending = false;
    SetTimer(window, SupervisionTimerId, SupervisionTimerMs, nullptr);
    HMENU systemMenu = GetSystemMenu(window, FALSE);
    if (systemMenu != nullptr) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, CMD_TOGGLE_MAIN_MENU, "Toggle &Main Menu");
    }
    Shell.rightButtonMenu.Reset(LoadMenuA(MainInstance, "RBMENU"));
    Shell.arrowCursor = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    SetupComment[0] = '\0';
    MainMenuHandle = GetMenu(window);
    SetCheck(CMD_ALWAYS_ON_TOP, ProgramSettings.alwaysTop != 0);
    SetCheck(CMD_SAFE_FILE_MODE, ProgramSettings.safeMode != 0);
    SetCheck(CMD_DEACTIVATE_SCREENSAVER, ProgramSettings.screenSaverOff != 0);
    CheckPanelSize();
    ConnectChosenPort(window);
    UpdateWindowTitle();
    SetCursor(Shell.arrowCursor);
    RegisterAnalyserSettingsClass(MainInstance);
}

bool PlatformIsWin32s() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
    return known && version.dwPlatformId == VER_PLATFORM_WIN32s;
}

// Message handlers.
LRESULT OnCreate(HWND window) {
    if (PlatformIsWin32s()) {
        MessageBoxA(window, Win32sText, nullptr, MB_ICONEXCLAMATION | MB_OK);
        return -1;
    }
    ReadSettingsFile(window);
    SetPanelSizeChoice(PanelSizeFromNumber(ProgramSettings.panelSize));
    Shell.firstPaintPending = true;
    const Placement p = PlacementFromRect(ProgramSettings.mainWindowRect);
    MoveWindow(window, p.x, p.y, p.width, p.height, FALSE);
    FitWindowToPanel(window, -1, -1, true);
    Shell.created = true;
    return 0;
}

LRESULT OnDestroy(HWND window) {
    StopPortRetries(Shell.portKeeper);
    Disconnect();
    DestroyAnalyserSettingsWindow();
    const bool saved = !Shell.created || WriteSettingsFile();
    Shell.rightButtonMenu.Reset();
    Shell.detachedMainMenu.Reset();  // a hidden main menu is not the window's
    KillTimer(window, SupervisionTimerId);
    // After the timer is gone: the message box's own loop must not run the
    // link supervision of a window being destroyed.
    if (!saved) ReportSettingsNotSaved();
    PostQuitMessage(0);
    return 0;
}

LRESULT OnMove(HWND window) {
    if (IsIconic(window)) return 0;
    RECT r;
    if (GetWindowRect(window, &r)) ProgramSettings.mainWindowRect = {r.left, r.top, r.right, r.bottom};
    return 0;
}

// The main window takes the keyboard focus at every paint, but not from an
// active analyser settings window: the main window is painted while that
// window is dragged over it or changes the analyser layout, and losing the
// activation would end the move (the window jumps back) or the edit.
// Nor from the help window, whose keys must stay its own.
void TakeFocus(HWND window) {
    if (AnalyserSettingsWindow != nullptr && GetActiveWindow() == AnalyserSettingsWindow) return;
    if (IsHelpWindowOrChild(GetActiveWindow())) return;
    SetFocus(window);
}

LRESULT OnPaint(HWND window) {
    if (Shell.firstPaintPending) LateInitialisation(window);
    TakeFocus(window);
    ApplyAlwaysOnTop(window);
    // With a function, the panel has painted (and validated) already; a
    // resize it made meanwhile leaves its new area for the next paint.
    if (DeviceFunction == FunctionNone) PaintEmptyPanel(window);
    return 0;
}

LRESULT OnClose(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!ConfirmClose(window)) return 0;
    return DefWindowProcA(window, WM_CLOSE, wParam, lParam);
}

// The port went away (a USB adapter pulled out): closed at once, OFFLINE
// without a message, and reopened quietly when it comes back. A report of
// an earlier port, whose watch has been replaced since, changes nothing.
void OnPortLost() {
    if (!CurrentPortWatchEnded(IoWaitLimitMs)) return;
    Disconnect();
    MarkLinkLost();
    ShowLinkLost();
    StartPortRetries(Shell.portKeeper, NowMs());
}

// The port's event thread cannot show a message itself.
LRESULT OnPortFailure(HWND window, WPARAM wParam, LPARAM lParam) {
    const PortError error = static_cast<PortError>(wParam);
    if (error == PortError::Lost) {
        OnPortLost();
        return 0;
    }
    TellPortResult(window, {error, static_cast<uint32_t>(lParam)});
    return 0;
}

// A background open of the chosen port ended. A port opened for an attempt
// that no longer counts (another port was chosen, the program closes) is
// closed again.
LRESULT OnPortReopened(HWND window, WPARAM wParam, LPARAM lParam) {
    const HANDLE port = reinterpret_cast<HANDLE>(wParam);
    const bool opened = port != INVALID_HANDLE_VALUE && port != nullptr;
    if (!PortAttemptEnded(Shell.portKeeper, static_cast<uint32_t>(lParam), opened, NowMs())) {
        if (opened) CloseHandle(port);
        return 0;
    }
    if (!ConnectOpened(window, port).Ok()) StartPortRetries(Shell.portKeeper, NowMs());
    UpdateWindowTitle();
    return 0;
}

// Windows announces every new device, a serial port too: a port being
// retried may be back.
LRESULT OnDeviceChange(HWND window, WPARAM wParam) {
    if (wParam == DBT_DEVICEARRIVAL) {
        PortsArrived(Shell.portKeeper, NowMs());
        RetryPortIfDue(window);
    }
    return TRUE;
}

LRESULT OnCommNotify() {
    // Ignored while Disconnect waits for the event thread to end.
    if (LinkIsEnabled()) ReceiveFromPort();
    return 0;
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    for (const Command& c : Commands) {
        if (c.id == id) {
            c.run(window);
            return 0;
        }
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    if (wParam == CMD_TOGGLE_MAIN_MENU) {
        ToggleMainMenu(window);
        return 0;
    }
    if ((wParam & 0xFFF0) == SC_SCREENSAVE && ProgramSettings.screenSaverOff != 0) return 1;
    return DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
}

LRESULT OnTimer(HWND window, WPARAM wParam, LPARAM lParam) {
    if (wParam == SupervisionTimerId) {
        ReleaseEndedPorts();
        RetryPortIfDue(window);
    }
    if (wParam == SupervisionTimerId && LinkSupervisionTick()) {
        UpdateWindowTitle();
        RefreshModeState();
        PutMetersAtRest(DeviceFunction);
    }
    return DefWindowProcA(window, WM_TIMER, wParam, lParam);
}

LRESULT OnRightButtonDown(HWND window, LPARAM lParam) {
    POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &at);
    const int position = (Shell.mainMenuHidden ? 1 : 0) + (DeviceFunction == FunctionAnalyser ? 2 : 0) +
                         (DeviceFunction == FunctionNone ? 4 : 0);
    HMENU popup = Shell.rightButtonMenu.Get() != nullptr ? GetSubMenu(Shell.rightButtonMenu.Get(), position) : nullptr;
    if (popup == nullptr) return 0;
    return TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, window, nullptr);
}

// Moved to a monitor of another DPI (or its DPI changed): Windows suggests
// where the window goes; the next paint zooms the panel for the new DPI and
// fits the window to it.
LRESULT OnDpiChanged(HWND window, LPARAM lParam) {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (suggested != nullptr)
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (DeviceFunction == FunctionNone) FitWindowToPanel(window, EmptyPanelWidth, EmptyPanelHeight, true);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT OnBringToFront(HWND window, WPARAM wParam) {
    if (wParam != 1) return 0;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    BringWindowToTop(window);
    return 0;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    MainWindow = window;
    SyncEditMenu();
    if (DeviceFunction >= FunctionDualMono && DeviceFunction <= FunctionAnalyser)
        DispatchToPanel(window, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE: return OnCreate(window);
        case WM_DESTROY: return OnDestroy(window);
        case WM_MOVE: return OnMove(window);
        case WM_PAINT: return OnPaint(window);
        case WM_CLOSE: return OnClose(window, wParam, lParam);
        case WM_COMMNOTIFY: return OnCommNotify();
        case WM_COMMAND: return OnCommand(window, wParam, lParam);
        case WM_SYSCOMMAND: return OnSysCommand(window, wParam, lParam);
        case WM_TIMER: return OnTimer(window, wParam, lParam);
        case WM_RBUTTONDOWN: return OnRightButtonDown(window, lParam);
        case MSG_PORT_FAILURE: return OnPortFailure(window, wParam, lParam);
        case MSG_PORT_REOPENED: return OnPortReopened(window, wParam, lParam);
        case WM_DEVICECHANGE: return OnDeviceChange(window, wParam);
        case MSG_BRING_TO_FRONT: return OnBringToFront(window, wParam);
        case WM_DPICHANGED: return OnDpiChanged(window, lParam);
        default: return DefWindowProcA(window, msg, wParam, lParam);
    }
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "DSP");
    wc.hCursor = nullptr;
    wc.hbrBackground = nullptr;
    wc.lpszMenuName = "MainMenu";
    wc.lpszClassName = MainClassName;
    return RegisterClassA(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
    MainInstance = instance;
    return CreateWindowExA(WS_EX_STATICEDGE, MainClassName, InitialTitle, WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX,
                           CW_USEDEFAULT, CW_USEDEFAULT, MainWindowWidth, MainWindowHeight, nullptr, nullptr, instance,
                           nullptr);
}

bool ConfirmClose(HWND window) {
    if (!SaveCurrentFirstIfWanted(window)) return false;
    Disconnect();
    return true;
}

void ConnectChosenPort(HWND window) {
    StopPortRetries(Shell.portKeeper);
    const PortResult result = Connect(window, ProgramSettings.portName);
    TellPortResult(window, result);
    // After the message: the box's own message loop must not start retries.
    if (!result.Ok()) StartPortRetries(Shell.portKeeper, NowMs());
}

bool PortInUse() { return LinkIsEnabled() || Shell.portKeeper.retrying; }

void TellPortResult(HWND window, const PortResult& result) {
    const PortFailureNotice* notice = PortFailureNoticeFor(result.error);
    if (notice == nullptr) return;
    if (notice->beep) MessageBeep(MB_ICONEXCLAMATION);
    MessageBoxA(notice->ownedByWindow ? window : nullptr, notice->text, notice->caption, MB_ICONEXCLAMATION | MB_OK);
}

// A request from the main window brings the help to the front; one from a
// dialog leaves the dialog active, so it keeps its typing.
void OpenHelp(HWND owner, int topic) {
    ShowHelpTopic(owner, ProgramSettings.helpLanguage, DeviceFunction, topic, owner == MainWindow);
}

// The title seam of the link core.
void UpdateWindowTitle() {
    if (MainWindow == nullptr) return;
    const int f = (DeviceFunction >= 0 && DeviceFunction < FunctionSlots) ? DeviceFunction : 0;
    char title[TitleCapacity];
    const char compare = !CompareInUse(f) ? 0 : ShownCompareSide(f) == CompareSide::A ? 'A' : 'B';
    ComposeWindowTitle({f, Online != 0, CurrentSetupTitle[f], UnsavedChanges != 0, TransmitCount, compare}, title,
                       sizeof title);
    if (std::strcmp(title, Shell.lastTitle) == 0) return;
    SetWindowTextA(MainWindow, title);
    std::memcpy(Shell.lastTitle, title, sizeof title);
}
