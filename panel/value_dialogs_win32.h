// The value dialogs a double-click on a panel control opens: VALUEIN to
// type a number, SELECTIN to pick a label, VALUEOUT to see what a
// display-only control means. Each is modal, owned by the panel window,
// centred over the main window, and has a Help button for the record's help
// topic. The input rules are the portable ones of panel_input.
// User-interface thread only.
#pragma once

#include <windows.h>

#include "model/param_tables.h"

// Opens the dialog for the record's kind and returns when it has closed;
// kinds without a dialog open nothing. The dialog writes the record.
void OpenValueDialog(HWND owner, ParamDesc& record);
