// VALUEIN, SELECTIN and VALUEOUT. Each dialog procedure hands its messages
// to one small handler each; the record travels in the dialog's user data.
#include "panel/value_dialogs_win32.h"

#include "panel/panel_input.h"
#include "panel/panel_shell_win32.h"
#include "resources/resource_ids.h"

namespace {

// The longest value text VALUEIN reads.
constexpr int TypedTextMax = 254;

ParamDesc* RecordOf(HWND dialog) { return reinterpret_cast<ParamDesc*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

ParamDesc* Attach(HWND dialog, LPARAM lParam) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    return reinterpret_cast<ParamDesc*>(lParam);
}

void SetText(HWND dialog, int id, const char* text) { SetDlgItemTextA(dialog, id, text); }

void ShowLimit(HWND dialog, int id, const ParamDesc& r, double value) {
    char text[512];
    FormatDialogLimit(r, value, text, sizeof text);
    SetText(dialog, id, text);
}

void ShowLabel(HWND dialog, int id, const ParamDesc& r, double index) {
    const char* label = LabelOf(r, index);
    SetText(dialog, id, label != nullptr ? label : "");
}

void Help(HWND dialog) {
    const ParamDesc* r = RecordOf(dialog);
    if (r != nullptr) OpenHelp(dialog, r->helpContext);
}

void Close(HWND dialog) { EndDialog(dialog, 1); }

// --- VALUEIN --------------------------------------------------------------

void ValueInOnInit(HWND dialog, const ParamDesc& r) {
    SetText(dialog, IDC_VALUE_NAME, r.name);
    SetText(dialog, IDC_VALUE_UNIT, r.unit);
    char value[512];
    FormatDialogNumber(r, r.value, value, sizeof value);
    SetText(dialog, IDC_VALUE_EDIT, value);
    ShowLimit(dialog, IDC_VALUE_LOW, r, r.min);
    ShowLimit(dialog, IDC_VALUE_HIGH, r, r.max);
    CenterDialog(dialog);
}

// Compared with the record as it is now: values from the unit may have
// arrived while the dialog was open.
void ValueInOnOk(HWND dialog) {
    char typed[TypedTextMax + 1] = {};
    GetDlgItemTextA(dialog, IDC_VALUE_EDIT, typed, sizeof typed);
    ParamDesc* r = RecordOf(dialog);
    if (r != nullptr) CommitTypedValue(*r, typed);
    Close(dialog);
}

INT_PTR CALLBACK ValueInProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: ValueInOnInit(dialog, *Attach(dialog, lParam)); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: ValueInOnOk(dialog); return TRUE;
                case IDCANCEL: Close(dialog); return TRUE;
                case IDC_HELP_BUTTON: Help(dialog); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

// --- SELECTIN -------------------------------------------------------------

LRESULT List(HWND dialog, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, IDC_VALUE_LIST, msg, wParam, lParam);
}

void SelectInOnInit(HWND dialog, const ParamDesc& r) {
    SetText(dialog, IDC_VALUE_NAME, r.name);
    const int labels = SelectionLabelCount(r);
    for (int i = 0; i < labels; ++i) List(dialog, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.labels->label[i]));
    // A value that names no entry leaves the list without a selection.
    if (r.value >= 0.0 && r.value < labels) List(dialog, LB_SETCURSEL, static_cast<WPARAM>(r.value));
    CenterDialog(dialog);
}

void SelectInOnOk(HWND dialog) {
    const LRESULT selected = List(dialog, LB_GETCURSEL);
    if (selected == LB_ERR) {
        MessageBeep(MB_ICONEXCLAMATION);
        MessageBoxA(dialog, "Wrong data selection!", nullptr, MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    ParamDesc* r = RecordOf(dialog);
    if (r != nullptr) CommitSelection(*r, static_cast<int>(selected));
    Close(dialog);
}

INT_PTR CALLBACK SelectInProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: SelectInOnInit(dialog, *Attach(dialog, lParam)); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: SelectInOnOk(dialog); return TRUE;
                case IDCANCEL: Close(dialog); return TRUE;
                case IDC_HELP_BUTTON: Help(dialog); return TRUE;
                case IDC_VALUE_LIST:
                    // A double-click picks; other changes wait for OK.
                    if (HIWORD(wParam) == LBN_DBLCLK) SelectInOnOk(dialog);
                    return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

// --- VALUEOUT -------------------------------------------------------------

void ValueOutOnInit(HWND dialog, const ParamDesc& r) {
    SetText(dialog, IDC_VALUE_NAME, r.name);
    if (r.kind == ControlKind::Indicator) {
        ShowLabel(dialog, IDC_VALUE_LOW, r, 0.0);
        ShowLabel(dialog, IDC_VALUE_HIGH, r, r.max);
    } else {
        ShowLimit(dialog, IDC_VALUE_LOW, r, r.min);
        ShowLimit(dialog, IDC_VALUE_HIGH, r, r.max);
    }
    CenterDialog(dialog);
}

INT_PTR CALLBACK ValueOutProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: ValueOutOnInit(dialog, *Attach(dialog, lParam)); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDCANCEL: Close(dialog); return TRUE;
                case IDC_HELP_BUTTON: Help(dialog); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

}  // namespace

void OpenValueDialog(HWND owner, ParamDesc& record) {
    const char* resource = nullptr;
    DLGPROC proc = nullptr;
    switch (DialogForKind(record.kind)) {
        case ValueDialog::ValueIn: resource = "VALUEIN"; proc = ValueInProc; break;
        case ValueDialog::SelectIn: resource = "SELECTIN"; proc = SelectInProc; break;
        case ValueDialog::ValueOut: resource = "VALUEOUT"; proc = ValueOutProc; break;
        case ValueDialog::None: return;
    }
    DialogBoxParamA(GetModuleHandleA(nullptr), resource, owner, proc, reinterpret_cast<LPARAM>(&record));
}
