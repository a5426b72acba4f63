// The shell's modal dialogs. Each dialog procedure hands its messages to
// one small handler each; the input rules live in dialog_rules.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/dialog_rules.h"
#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/port_enum_win32.h"
#include "app/port_list.h"
#include "app/shell_state.h"
#include "link/link_state.h"
#include "link/serial_win32.h"
#include "panel/window_geometry.h"
#include "resources/resource_ids.h"

namespace {

constexpr DWORD ReconnectPauseMs = 100;

void WrongSelection(HWND dialog) {
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBoxA(dialog, "Wrong data selection!", nullptr, MB_ICONEXCLAMATION | MB_OK);
}

void Close(HWND dialog) { EndDialog(dialog, 1); }

LRESULT Item(HWND dialog, int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, id, msg, wParam, lParam);
}

void OpenDialog(HWND owner, const char* resource, DLGPROC proc) {
    DialogBoxParamA(MainInstance, resource, owner, proc, 0);
}

// --- About --------------------------------------------------------------

INT_PTR CALLBACK AboutProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: CenterDialog(dialog); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) Close(dialog);
            return TRUE;
        default: return FALSE;
    }
}

// --- COM port -----------------------------------------------------------

// The entries of the open port dialog (it is modal: one at a time). Each
// list item's data is its index here, so the friendly text shown never
// becomes the stored port name.
std::vector<PortEntry> PortDialogEntries;

std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

void PortOnInit(HWND dialog) {
    PortDialogEntries = BuildPortList(ListSystemPorts(), ProgramSettings.portName);
    for (size_t i = 0; i < PortDialogEntries.size(); ++i) {
        const std::wstring text = Wide(PortDialogEntries[i].text);
        const LRESULT at = SendDlgItemMessageW(dialog, IDC_PORT_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (at >= 0) Item(dialog, IDC_PORT_LIST, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
        if (lstrcmpiA(PortDialogEntries[i].name, ProgramSettings.portName) == 0)
            Item(dialog, IDC_PORT_LIST, CB_SETCURSEL, static_cast<WPARAM>(at));
    }
    CenterDialog(dialog);
}

void PortOnOk(HWND dialog) {
    const LRESULT selected = Item(dialog, IDC_PORT_LIST, CB_GETCURSEL);
    bool close = false;
    if (selected == CB_ERR) {
        WrongSelection(dialog);
    } else {
        const LRESULT index = Item(dialog, IDC_PORT_LIST, CB_GETITEMDATA, static_cast<WPARAM>(selected));
        if (index >= 0 && static_cast<size_t>(index) < PortDialogEntries.size())
            SetPortName(PortDialogEntries[static_cast<size_t>(index)].name, ProgramSettings.portName);
        close = true;
    }
    // The chosen port takes effect at once, also after a failed connection;
    // on the first run the first paint connects.
    if (PortInUse()) {
        Disconnect();
        Sleep(ReconnectPauseMs);
        ConnectChosenPort(MainWindow);
    }
    if (close) Close(dialog);
}

INT_PTR CALLBACK PortProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: PortOnInit(dialog); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: PortOnOk(dialog); return TRUE;
                case IDCANCEL: Close(dialog); return TRUE;
                case IDC_HELP_BUTTON: OpenHelp(dialog, HelpTopicPortDialog); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

// --- Help language ------------------------------------------------------

void LanguageOnInit(HWND dialog) {
    Item(dialog, IDC_HELP_LANGUAGE_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Deutsch"));
    Item(dialog, IDC_HELP_LANGUAGE_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("English"));
    Item(dialog, IDC_HELP_LANGUAGE_LIST, CB_SETCURSEL, static_cast<WPARAM>(ProgramSettings.helpLanguage));
    CenterDialog(dialog);
}

void LanguageOnOk(HWND dialog) {
    const LRESULT selected = Item(dialog, IDC_HELP_LANGUAGE_LIST, CB_GETCURSEL);
    if (selected == CB_ERR) {
        WrongSelection(dialog);
        return;
    }
    ProgramSettings.helpLanguage = static_cast<int32_t>(selected);
    Close(dialog);
}

INT_PTR CALLBACK LanguageProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: LanguageOnInit(dialog); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: LanguageOnOk(dialog); return TRUE;
                case IDCANCEL: Close(dialog); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

// --- Comment ------------------------------------------------------------

void CommentOnInit(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_COMMENT_EDIT, SetupComment);
    CenterDialog(dialog);
}

void CommentOnOk(HWND dialog) {
    char text[CommentMax + 1] = {};
    GetDlgItemTextA(dialog, IDC_COMMENT_EDIT, text, sizeof text);
    if (std::strcmp(text, SetupComment) != 0) {
        std::memcpy(SetupComment, text, sizeof text);
        UnsavedChanges = 1;
    }
    Close(dialog);
}

INT_PTR CALLBACK CommentProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: CommentOnInit(dialog); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: CommentOnOk(dialog); return TRUE;
                case IDCANCEL: Close(dialog); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

// --- Store --------------------------------------------------------------

void StoreOnInit(HWND dialog) {
    const int count = MemoryCountFor(DeviceFunction);
    const int preselected = PreselectedMemoryPosition(CurrentMemory, DeviceFunction);
    for (int n = 1; n <= count; ++n) {
        char entry[8];
        FormatStoreEntry(n, entry, sizeof entry);
        Item(dialog, IDC_STORE_NUMBER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    Item(dialog, IDC_STORE_NUMBER, CB_SETCURSEL, static_cast<WPARAM>(preselected));
    SetDlgItemTextA(dialog, IDC_STORE_NAME, MemoryNameAtPosition(preselected));
    CenterDialog(dialog);
}

void StoreOnSelection(HWND dialog) {
    const LRESULT selected = Item(dialog, IDC_STORE_NUMBER, CB_GETCURSEL);
    if (selected == CB_ERR) {
        WrongSelection(dialog);
        return;
    }
    SetDlgItemTextA(dialog, IDC_STORE_NAME, MemoryNameAtPosition(static_cast<int>(selected)));
}

void StoreOnOk(HWND dialog) {
    const LRESULT selected = Item(dialog, IDC_STORE_NUMBER, CB_GETCURSEL);
    if (selected == CB_ERR) {
        WrongSelection(dialog);
        return;
    }
    char typed[StoreNameReadMax + 1] = {};
    GetDlgItemTextA(dialog, IDC_STORE_NAME, typed, sizeof typed);
    char name[StoreNameSize];
    if (BuildStoreName(typed, name) == StoreNameResult::TooLong) {
        MessageBoxA(dialog, "Only 10 chars allowed.", nullptr, MB_ICONEXCLAMATION | MB_OK);
        SetFocus(GetDlgItem(dialog, IDC_STORE_NAME));
        return;
    }
    StoreSlot = static_cast<int32_t>(selected) + 1;
    std::memcpy(StoreName, name, sizeof name);
    StoreNameChunksLeft = 4;
    Close(dialog);
}

INT_PTR CALLBACK StoreProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: StoreOnInit(dialog); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: StoreOnOk(dialog); return TRUE;
                case IDCANCEL: Close(dialog); return TRUE;
                case IDC_HELP_BUTTON: OpenHelp(dialog, HelpTopicStore); return TRUE;
                case IDC_STORE_NUMBER:
                    if (HIWORD(wParam) == CBN_SELCHANGE) StoreOnSelection(dialog);
                    return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

// --- Recall -------------------------------------------------------------

void RecallOnInit(HWND dialog) {
    const int count = MemoryCountFor(DeviceFunction);
    for (int n = 1; n <= count; ++n) {
        char entry[48];
        FormatRecallEntry(n, MemoryNameAtPosition(n - 1), entry, sizeof entry);
        Item(dialog, IDC_RECALL_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    Item(dialog, IDC_RECALL_LIST, LB_SETCURSEL,
         static_cast<WPARAM>(PreselectedMemoryPosition(CurrentMemory, DeviceFunction)));
    CenterDialog(dialog);
}

void RecallOnOk(HWND dialog) {
    const LRESULT selected = Item(dialog, IDC_RECALL_LIST, LB_GETCURSEL);
    if (selected == LB_ERR) {
        WrongSelection(dialog);
        return;
    }
    RecallSlot = static_cast<int32_t>(selected) + 1;
    Close(dialog);
}

INT_PTR CALLBACK RecallProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: RecallOnInit(dialog); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: RecallOnOk(dialog); return TRUE;
                case IDCANCEL: Close(dialog); return TRUE;
                case IDC_HELP_BUTTON: OpenHelp(dialog, HelpTopicRecall); return TRUE;
                case IDC_RECALL_LIST:
                    if (HIWORD(wParam) == LBN_DBLCLK) RecallOnOk(dialog);
                    return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

}  // namespace

void CenterDialog(HWND dialog) {
    RECT d, m;
    if (!GetWindowRect(dialog, &d)) return;
    if (MainWindow == nullptr || !GetWindowRect(MainWindow, &m)) return;
    const int32_t w = d.right - d.left;
    const int32_t h = d.bottom - d.top;
    const ScreenPoint p = CenteredDialogPosition({m.left, m.top, m.right, m.bottom}, w, h);
    MoveWindow(dialog, p.left, p.top, w, h, TRUE);
}

void ShowAboutBox(HWND owner) { OpenDialog(owner, "AboutBox", AboutProc); }
void ShowPortDialog(HWND owner) { OpenDialog(owner, "HWSetup", PortProc); }
void ShowHelpLanguageDialog(HWND owner) { OpenDialog(owner, "HELPLANG", LanguageProc); }
void ShowCommentDialog(HWND owner) { OpenDialog(owner, "COMMENTBOX", CommentProc); }
void ShowStoreDialog(HWND owner) { OpenDialog(owner, "SAVEBOX", StoreProc); }
void ShowRecallDialog(HWND owner) { OpenDialog(owner, "RECALLBOX", RecallProc); }
