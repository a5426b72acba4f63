// The setup file commands the main window and its questions call: save,
// open and load a setup of one device function, with the file dialogs and
// the unsaved-data questions.
#pragma once

#include <windows.h>

struct ParamDesc;

// Saves the setup of `function` (1 to 3): through the save dialog when
// `askForName` is set or the file still has a "new" name, otherwise to the
// function's current file. The file is written beside the old one and then
// put in its place, so a failed write keeps the old file; the user is told.
// Returns 1 when the file was written, 0 otherwise (cancelled, not
// writable, function 0).
int SaveSetupFile(HWND owner, int function, bool askForName);

// Asks about unsaved data, shows the open dialog and loads the chosen file
// into the function's table. Does nothing for function 0.
void OpenSetupFile(HWND owner, int function);

// Asks about unsaved data and loads the file at `path` (relative names from
// the current directory) into `table` of `count` records; it becomes the
// function's current file. Used by the analyser user-settings keys.
void LoadSetupFile(HWND owner, ParamDesc* table, int count, const char* path);
