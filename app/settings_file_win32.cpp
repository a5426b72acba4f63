// QEN72.INI on the disk: the system's answers about the places of
// settings_location, and the bytes between the file and the format of
// settings_file. Wide-character paths throughout.
#include "app/settings_file_win32.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/dialogs.h"
#include "app/settings_file.h"
#include "app/settings_location.h"
#include "app/shell_state.h"
#include "win32/win32_handles.h"

namespace {

constexpr DWORD ReadChunk = 512;
constexpr wchar_t MessageCaption[] = L"QIV-72 RC";
constexpr wchar_t TemporaryPrefix[] = L"q72";
constexpr size_t MessageSize = SettingsPathMax + 200;

// The places found at start-up and what exit may do. Touched by the
// user-interface thread only.
struct SettingsFiles {
    wchar_t folder[SettingsPathMax];                      // "<AppData>\QIV-72"; empty when unknown
    wchar_t paths[SettingsPlaceCount][SettingsPathMax];  // empty: that place is unknown
    bool writeAtExit;                                     // false until start-up allows it
};
SettingsFiles Files = {};

const wchar_t* PathOf(SettingsPlace place) { return Files.paths[static_cast<int>(place)]; }

// A known folder, or the environment variable that names it on systems
// without the known-folder call's answer. False when neither is there.
bool KnownFolder(REFKNOWNFOLDERID id, const wchar_t* variable, wchar_t (&out)[SettingsPathMax]) {
    out[0] = L'\0';
    PWSTR found = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &found)) && found != nullptr &&
        lstrlenW(found) < static_cast<int>(SettingsPathMax))
        lstrcpyW(out, found);
    CoTaskMemFree(found);  // also when the call failed
    if (out[0] != L'\0') return true;
    const DWORD n = GetEnvironmentVariableW(variable, out, SettingsPathMax);
    if (n == 0 || n >= SettingsPathMax) out[0] = L'\0';
    return out[0] != L'\0';
}

void FindPlaces() {
    Files = {};
    wchar_t roaming[SettingsPathMax];
    if (KnownFolder(FOLDERID_RoamingAppData, L"APPDATA", roaming) &&
        SettingsFolderPath(roaming, Files.folder, SettingsPathMax))
        SettingsFilePath(Files.folder, Files.paths[static_cast<int>(SettingsPlace::AppData)], SettingsPathMax);
    wchar_t windows[SettingsPathMax];
    const UINT n = GetWindowsDirectoryW(windows, SettingsPathMax);
    if (n == 0 || n >= SettingsPathMax) return;
    SettingsFilePath(windows, Files.paths[static_cast<int>(SettingsPlace::WindowsDirectory)], SettingsPathMax);
    wchar_t local[SettingsPathMax];
    if (KnownFolder(FOLDERID_LocalAppData, L"LOCALAPPDATA", local))
        VirtualStoreSettingsPath(local, windows, Files.paths[static_cast<int>(SettingsPlace::VirtualStore)],
                                 SettingsPathMax);
}

HANDLE OpenForReading(const wchar_t* path) {
    return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Errors that say there is no file at the path; any other failure may hide
// a file that exists.
bool NoSuchFile(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
           error == ERROR_BAD_PATHNAME || error == ERROR_DIRECTORY || error == ERROR_INVALID_DRIVE ||
           error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME;
}

SettingsFileState Probe(SettingsPlace place, void*) {
    const wchar_t* path = PathOf(place);
    if (path[0] == L'\0') return SettingsFileState::Missing;
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return NoSuchFile(GetLastError()) ? SettingsFileState::Missing : SettingsFileState::Unreadable;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return SettingsFileState::Missing;
    UniqueHandle file(OpenForReading(path));
    return file.Valid() ? SettingsFileState::Readable : SettingsFileState::Unreadable;
}

// False when the file cannot be opened or a read fails; the lines read
// before a failing read keep their effect.
bool ReadFrom(const wchar_t* path) {
    UniqueHandle file(OpenForReading(path));
    if (!file.Valid()) return false;
    SettingsReader reader;
    BeginSettingsRead(reader);
    char chunk[ReadChunk];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) != 0) && got > 0)
        FeedSettingsText(reader, chunk, got, ProgramSettings);
    EndSettingsRead(reader, ProgramSettings);
    return ok;
}

void ShowMessage(HWND owner, const wchar_t* text) {
    MessageBeep(MB_ICONEXCLAMATION);
    // In front also before the main window shows, and after it is gone.
    MessageBoxW(owner, text, MessageCaption, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
}

// The safe write's steps on the disk.
struct WriteJob {
    wchar_t temporary[SettingsPathMax];  // empty until made
};

bool MakeFolder(void*) {
    if (Files.folder[0] == L'\0') return false;
    if (CreateDirectoryW(Files.folder, nullptr)) return true;
    const DWORD attributes = GetFileAttributesW(Files.folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteTemporary(void* context, const char* text, size_t length) {
    auto& job = *static_cast<WriteJob*>(context);
    if (GetTempFileNameW(Files.folder, TemporaryPrefix, 0, job.temporary) == 0) {
        job.temporary[0] = L'\0';
        return false;
    }
    UniqueHandle file(
        CreateFileW(job.temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD done = 0;
    return file.Valid() && WriteFile(file.Get(), text, static_cast<DWORD>(length), &done, nullptr) &&
           done == length && FlushFileBuffers(file.Get());
}  // closed before it is moved

bool ReplaceSettings(void* context) {
    const auto& job = *static_cast<WriteJob*>(context);
    const wchar_t* path = PathOf(SettingsPlace::AppData);
    // ReplaceFileW keeps the old file's attributes and permissions; it
    // needs an old file, so the first write moves the new one in place.
    return ReplaceFileW(path, job.temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) ||
           MoveFileExW(job.temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

void RemoveTemporary(void* context) {
    const auto& job = *static_cast<WriteJob*>(context);
    if (job.temporary[0] != L'\0') DeleteFileW(job.temporary);
}

constexpr SettingsWriteSteps DiskSteps = {MakeFolder, WriteTemporary, ReplaceSettings, RemoveTemporary};

}  // namespace

int ReadSettingsFile(HWND owner) {
    FindPlaces();
    const SettingsChoice choice = ChooseSettingsFile(Probe, nullptr);
    switch (choice.start) {
        case SettingsStart::FirstRun:
            ShowHelpLanguageDialog(owner);
            ShowPortDialog(owner);
            Files.writeAtExit = true;
            return 0;
        case SettingsStart::Read:
            if (ReadFrom(PathOf(choice.place))) {
                Files.writeAtExit = true;
                return 1;
            }
            break;  // it went away or became unreadable since the probe
        case SettingsStart::Unreadable: break;
    }
    // Not a first run: the user's settings are there, only out of reach
    // now, so nothing may replace them with defaults at exit.
    wchar_t text[MessageSize];
    FormatSettingsNotRead(PathOf(choice.place), text, MessageSize);
    ShowMessage(owner, text);
    return 0;
}

bool WriteSettingsFile() {
    if (!Files.writeAtExit) return true;
    char text[SettingsTextCapacity];
    const size_t length = FormatSettingsFile(ProgramSettings, text, sizeof text);
    if (PathOf(SettingsPlace::AppData)[0] == L'\0') return false;
    WriteJob job = {};
    return WriteSettingsSafely(DiskSteps, &job, text, length) == SettingsWriteError::None;
}

void ReportSettingsNotSaved() {
    const wchar_t* path = PathOf(SettingsPlace::AppData);
    wchar_t text[MessageSize];
    FormatSettingsNotSaved(path[0] != L'\0' ? path : UnknownSettingsPath, text, MessageSize);
    ShowMessage(nullptr, text);
}
