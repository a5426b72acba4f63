// Setup file commands: the common file dialogs, the unsaved-data questions,
// and the bytes between the files and the setup text of setup_file.
#include "app/setup_commands.h"

#include <commdlg.h>

#include <cstdio>

#include "app/main_window.h"
#include "app/shell_state.h"
#include "link/link_seams.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "panel/panel_win32.h"
#include "panel/window_geometry.h"
#include "setup/setup_file.h"
#include "setup/setup_names.h"
#include "win32/win32_handles.h"

namespace {

constexpr char UnsavedQuestion[] = "Current data are still not saved.\nSave now?";
constexpr char ReplaceQuestion[] = "%s already exists.\nDo you want to replace it?";
constexpr char SaveDialogCaption[] = "Save As";
constexpr DWORD ReadChunk = 512;
constexpr size_t MessageSize = SetupPathSize + 100;

// The text of the file being saved (user-interface thread only).
char SetupText[SetupFileCapacity];

bool IsSetupFunction(int function) { return function >= FunctionDualMono && function <= FunctionAnalyser; }

void Warn(HWND owner, const char* text) {
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBoxA(owner, text, nullptr, MB_ICONEXCLAMATION | MB_OK);
}

void TellNotWritten(HWND owner, const char* path) {
    char message[MessageSize];
    FormatSetupNotWritten(path, message, sizeof message);
    Warn(owner, message);
}

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Both setup file dialogs: the filter, the path and file name buffers, the
// current directory as the start, and the overwrite prompt as the only flag.
OPENFILENAMEA SetupFileDialog(HWND owner, const char* filter, char (&path)[SetupPathSize],
                              char (&title)[SetupTitleSize]) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = sizeof title;
    dialog.lpstrInitialDir = "";
    dialog.Flags = OFN_OVERWRITEPROMPT;
    return dialog;
}

enum class NameChoice { Chosen, Cancelled, TooLong };

// The save dialog, opened with the bare file name. On Chosen, `path` and
// `title` hold the file to write, with the function's extension when the
// typed name had none.
NameChoice AskForSaveName(HWND owner, int function, char (&path)[SetupPathSize], char (&title)[SetupTitleSize]) {
    CopySetupText(path, sizeof path, title);
    OPENFILENAMEA dialog = SetupFileDialog(owner, SetupSaveFilter(function), path, title);
    if (!GetSaveFileNameA(&dialog)) return NameChoice::Cancelled;
    switch (AddSetupExtension(function, path, sizeof path, title, sizeof title)) {
        case ExtensionResult::TooLong: return NameChoice::TooLong;
        case ExtensionResult::Kept: return NameChoice::Chosen;
        case ExtensionResult::Added: break;
    }
    // The dialog asked about the name as typed; the name with the extension
    // may be another existing file, which is not replaced unasked.
    if (!FileExists(path)) return NameChoice::Chosen;
    char question[MessageSize];
    std::snprintf(question, sizeof question, ReplaceQuestion, path);
    MessageBeep(MB_ICONEXCLAMATION);
    const int answer = MessageBoxA(owner, question, SaveDialogCaption, MB_YESNO | MB_ICONEXCLAMATION);
    return answer == IDYES ? NameChoice::Chosen : NameChoice::Cancelled;
}

// Writes the text to a new file in the same folder and then puts that file
// in place of `path`, so that the old file stays whole until the new one is
// complete.
bool WriteReplacing(const char* path, const char* text, size_t length) {
    char folder[MAX_PATH];
    char temporary[MAX_PATH];
    if (!SetupFolderOf(path, folder, sizeof folder)) return false;
    if (GetTempFileNameA(folder, "q72", 0, temporary) == 0) return false;
    bool written = false;
    {
        UniqueHandle file(
            CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        written = file.Valid() && WriteFile(file.Get(), text, static_cast<DWORD>(length), &done, nullptr) &&
                  done == length && FlushFileBuffers(file.Get());
    }  // closed before it is moved
    if (written && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temporary);
    return false;
}

// The main window goes to the rectangle the file gave, and stays on the
// work area.
void MoveMainWindowToSetupRect() {
    if (MainWindow == nullptr) return;
    const Placement p = PlacementFromRect(ProgramSettings.mainWindowRect);
    MoveWindow(MainWindow, p.x, p.y, p.width, p.height, TRUE);
    FitWindowToPanel(MainWindow, -1, -1, true);
}

// Loads the file at `path` into the function's table; it becomes the
// function's current file, shown as `title`.
void LoadFrom(HWND owner, int function, ParamDesc* table, int count, const char* path, const char* title) {
    UniqueHandle file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        char message[MessageSize];
        FormatSetupNotFound(path, message, sizeof message);
        MessageBoxA(owner, message, nullptr, MB_OK);
        return;
    }
    // Offline the table need not hold the unit's values: the whole file is
    // sent when the unit is plugged in.
    SetupReader reader;
    BeginSetupLoad(reader, table, count, SetupComment, ProgramSettings.mainWindowRect, Online == 0);
    CopySetupText(CurrentSetupPath[function], SetupPathSize, path);
    CopySetupText(CurrentSetupTitle[function], SetupTitleSize, title);
    char chunk[ReadChunk];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) FeedSetupBytes(reader, chunk, got);
    FinishSetupLoad(reader);
    file.Reset();
    // Cleared before the title is composed, so that it shows no "*".
    UnsavedChanges = 0;
    UpdateWindowTitle();
    MoveMainWindowToSetupRect();
}

}  // namespace

bool SaveFirstIfWanted(HWND owner, const char* caption, int function) {
    if (UnsavedChanges == 0 || ProgramSettings.safeMode == 0) return true;
    MessageBeep(MB_ICONEXCLAMATION);
    switch (MessageBoxA(owner, UnsavedQuestion, caption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: return SaveSetupFile(owner, function, true) == SaveResult::Saved;
        case IDNO: return true;
        default: return false;
    }
}

SaveResult SaveSetupFile(HWND owner, int function, bool askForName) {
    if (!IsSetupFunction(function)) return SaveResult::NoSetup;
    // The function's current file changes only when the new one is written.
    char path[SetupPathSize];
    char title[SetupTitleSize];
    CopySetupText(path, sizeof path, CurrentSetupPath[function]);
    CopySetupText(title, sizeof title, CurrentSetupTitle[function]);
    if (SetupSaveAsksForName(askForName, title)) {
        switch (AskForSaveName(owner, function, path, title)) {
            case NameChoice::Cancelled: return SaveResult::Cancelled;
            case NameChoice::TooLong: TellNotWritten(owner, path); return SaveResult::Failed;
            case NameChoice::Chosen: break;
        }
    }
    const size_t length =
        FormatSetupFile(function, SetupComment, ProgramSettings.mainWindowRect, SetupText, sizeof SetupText);
    if (length == 0 || !WriteReplacing(path, SetupText, length)) {
        TellNotWritten(owner, path);
        return SaveResult::Failed;
    }
    CopySetupText(CurrentSetupPath[function], SetupPathSize, path);
    CopySetupText(CurrentSetupTitle[function], SetupTitleSize, title);
    UnsavedChanges = 0;
    UpdateWindowTitle();
    return SaveResult::Saved;
}

void OpenSetupFile(HWND owner, int function) {
    if (!IsSetupFunction(function)) return;
    if (!SaveFirstIfWanted(owner, SaveQuestionCaption, function)) return;
    char path[SetupPathSize] = {};
    char title[SetupTitleSize] = {};
    // The file need not exist: a typed name of a missing file gets the
    // not-found message.
    OPENFILENAMEA dialog = SetupFileDialog(owner, SetupOpenFilter(function), path, title);
    if (!GetOpenFileNameA(&dialog)) return;
    LoadFrom(owner, function, TableByNumber(function), TableRecordCount(function), path, title);
}

void LoadSetupFile(HWND owner, ParamDesc* table, int count, const char* path) {
    const int function = SetupFunctionOfTable(table);
    if (function == FunctionNone || path == nullptr) return;
    if (count > TableRecordCount(function)) count = TableRecordCount(function);
    if (!SaveFirstIfWanted(owner, AnalyserSaveQuestionCaption, function)) return;
    LoadFrom(owner, function, table, count, path, path);
}
