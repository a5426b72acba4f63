// The setup file commands the main window and its questions call: save,
// open and load a setup of one device function, with the file dialogs and
// the unsaved-data questions.
#pragma once

#include <windows.h>

struct ParamDesc;

// The captions of the unsaved-data question: the main window's commands and
// the analyser user-settings keys.
inline constexpr char SaveQuestionCaption[] = "QIV-72 RC";
inline constexpr char AnalyserSaveQuestionCaption[] = "QIV-72 Audio Analyser";

// What a save did. Only Saved lets a question's Yes go on.
enum class [[nodiscard]] SaveResult {
    Saved,
    Cancelled,  // the user cancelled the save dialog or the replace question
    Failed,     // the file could not be written; the user has been told
    NoSetup,    // function 0 has no setup
};

// Saves the setup of `function` (1 to 3): through the save dialog when
// `askForName` is set or the file still has a "new" name, otherwise to the
// function's current file. The file is written beside the old one and then
// put in its place, so a failed write keeps the old file; the user is told.
SaveResult SaveSetupFile(HWND owner, int function, bool askForName);

// The unsaved-data question before the setup of `function` is replaced or
// lost, asked only when the setup has unsaved changes and Safe File Mode is
// on: Yes saves through the save dialog, No goes on, Cancel stops. True when
// the caller may go on.
bool SaveFirstIfWanted(HWND owner, const char* caption, int function);

// Asks about unsaved data, shows the open dialog and loads the chosen file
// into the function's table. Does nothing for function 0.
void OpenSetupFile(HWND owner, int function);

// Asks about unsaved data and loads the file at `path` (relative names from
// the current directory) into `table` of `count` records; it becomes the
// function's current file. Used by the analyser user-settings keys.
void LoadSetupFile(HWND owner, ParamDesc* table, int count, const char* path);
