// QEN72.INI in the Windows directory: the bytes between the file and the
// format of settings_file.
#include "app/settings_file_win32.h"

#include <cstdio>

#include "app/dialogs.h"
#include "app/settings_file.h"
#include "app/shell_state.h"
#include "win32/win32_handles.h"

namespace {

constexpr UINT WindowsDirectorySize = 255;
constexpr DWORD ReadChunk = 512;

// "<Windows directory>\QEN72.INI"; false when the directory is unknown or
// its name too long for the buffer.
bool SettingsPath(char (&path)[MAX_PATH]) {
    char directory[WindowsDirectorySize + 1] = {};
    const UINT n = GetWindowsDirectoryA(directory, WindowsDirectorySize);
    if (n == 0 || n >= WindowsDirectorySize) return false;
    const int written = std::snprintf(path, sizeof path, "%s\\%s", directory, SettingsFileName);
    return written > 0 && written < static_cast<int>(sizeof path);
}

}  // namespace

int ReadSettingsFile(HWND owner) {
    char path[MAX_PATH];
    UniqueHandle file;
    if (SettingsPath(path))
        file.Reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
    if (!file.Valid()) {
        // First run: ask for the help language and the port.
        ShowHelpLanguageDialog(owner);
        ShowPortDialog(owner);
        return 0;
    }
    SettingsReader reader;
    BeginSettingsRead(reader);
    char chunk[ReadChunk];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        FeedSettingsText(reader, chunk, got, ProgramSettings);
    EndSettingsRead(reader, ProgramSettings);
    return 1;
}

void WriteSettingsFile() {
    char text[SettingsTextCapacity];
    const size_t length = FormatSettingsFile(ProgramSettings, text, sizeof text);
    char path[MAX_PATH];
    if (length == 0 || !SettingsPath(path)) return;
    UniqueHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return;
    DWORD written = 0;
    WriteFile(file.Get(), text, static_cast<DWORD>(length), &written, nullptr);
}
