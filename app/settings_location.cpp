// Where QEN72.INI is kept: the choice at start-up, paths, messages and the
// order of the safe write.
#include "app/settings_location.h"

#include <cwchar>

#include "app/settings_file.h"

const wchar_t UnknownSettingsPath[] = L"%APPDATA%\\QIV-72\\QEN72.INI";

namespace {

constexpr wchar_t ProgramFolderName[] = L"QIV-72";
constexpr wchar_t VirtualStoreFolderName[] = L"VirtualStore";
constexpr wchar_t SettingsFileNameWide[] = L"QEN72.INI";
constexpr wchar_t NotSavedText[] = L"Settings could not be saved to %ls.";
constexpr wchar_t NotReadText[] =
    L"Settings could not be read from %ls.\n"
    L"The program starts with its default settings and leaves that file as it is.";

static_assert(sizeof SettingsFileNameWide / sizeof(wchar_t) == sizeof SettingsFileName,
              "the wide file name is the file name");

// Appends to a path being built; a part that does not fit marks it failed.
struct PathOut {
    wchar_t* out;
    size_t size;
    size_t length;
    bool failed;
};

void AppendPart(PathOut& p, const wchar_t* part, size_t count) {
    if (p.failed) return;
    if (count >= p.size - p.length) {
        p.failed = true;
        return;
    }
    std::wmemcpy(p.out + p.length, part, count);
    p.length += count;
    p.out[p.length] = L'\0';
}

void Append(PathOut& p, const wchar_t* part) { AppendPart(p, part, std::wcslen(part)); }

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// A folder without its trailing separators.
void AppendFolder(PathOut& p, const wchar_t* folder) {
    size_t n = std::wcslen(folder);
    while (n > 0 && IsSeparator(folder[n - 1])) --n;
    AppendPart(p, folder, n);
}

bool Finish(PathOut& p) {
    if (p.failed && p.size > 0) p.out[0] = L'\0';
    return !p.failed;
}

bool Usable(const wchar_t* folder, wchar_t* out, size_t size) {
    if (out == nullptr || size == 0) return false;
    out[0] = L'\0';
    return folder != nullptr && folder[0] != L'\0';
}

// `template` with its one "%ls" replaced by `path`, cut to fit.
size_t FormatWithPath(const wchar_t* text, const wchar_t* path, wchar_t* out, size_t size) {
    if (out == nullptr || size == 0) return 0;
    PathOut p = {out, size, 0, false};
    out[0] = L'\0';
    const wchar_t* mark = std::wcsstr(text, L"%ls");
    const wchar_t* parts[] = {text, path, mark + 3};
    const size_t counts[] = {static_cast<size_t>(mark - text), std::wcslen(path), std::wcslen(mark + 3)};
    for (int i = 0; i < 3; ++i) {
        const size_t room = size - 1 - p.length;
        AppendPart(p, parts[i], counts[i] < room ? counts[i] : room);
    }
    return p.length;
}

}  // namespace

SettingsChoice ChooseSettingsFile(SettingsProbe probe, void* context) {
    for (int i = 0; i < SettingsPlaceCount; ++i) {
        const auto place = static_cast<SettingsPlace>(i);
        switch (probe(place, context)) {
            case SettingsFileState::Missing: continue;
            case SettingsFileState::Readable: return {SettingsStart::Read, place};
            case SettingsFileState::Unreadable: return {SettingsStart::Unreadable, place};
        }
    }
    return {SettingsStart::FirstRun, SettingsPlace::AppData};
}

bool SettingsFolderPath(const wchar_t* appData, wchar_t* out, size_t size) {
    if (!Usable(appData, out, size)) return false;
    PathOut p = {out, size, 0, false};
    AppendFolder(p, appData);
    Append(p, L"\\");
    Append(p, ProgramFolderName);
    return Finish(p);
}

bool SettingsFilePath(const wchar_t* folder, wchar_t* out, size_t size) {
    if (!Usable(folder, out, size)) return false;
    PathOut p = {out, size, 0, false};
    AppendFolder(p, folder);
    Append(p, L"\\");
    Append(p, SettingsFileNameWide);
    return Finish(p);
}

bool VirtualStoreSettingsPath(const wchar_t* localAppData, const wchar_t* windowsDirectory, wchar_t* out,
                              size_t size) {
    if (!Usable(localAppData, out, size) || windowsDirectory == nullptr || windowsDirectory[0] == L'\0')
        return false;
    // Windows keeps the virtualized copy under the file's path without its
    // drive: C:\Windows\QEN72.INI -> VirtualStore\Windows\QEN72.INI.
    const wchar_t* rest = windowsDirectory;
    if (rest[0] != L'\0' && rest[1] == L':') rest += 2;
    while (IsSeparator(rest[0])) ++rest;
    PathOut p = {out, size, 0, false};
    AppendFolder(p, localAppData);
    Append(p, L"\\");
    Append(p, VirtualStoreFolderName);
    if (rest[0] != L'\0') {
        Append(p, L"\\");
        AppendFolder(p, rest);
    }
    Append(p, L"\\");
    Append(p, SettingsFileNameWide);
    return Finish(p);
}

size_t FormatSettingsNotSaved(const wchar_t* path, wchar_t* out, size_t size) {
    return FormatWithPath(NotSavedText, path, out, size);
}

size_t FormatSettingsNotRead(const wchar_t* path, wchar_t* out, size_t size) {
    return FormatWithPath(NotReadText, path, out, size);
}

SettingsWriteError WriteSettingsSafely(const SettingsWriteSteps& steps, void* context, const char* text,
                                       size_t length) {
    if (text == nullptr || length == 0) return SettingsWriteError::NoText;
    if (!steps.makeFolder(context)) return SettingsWriteError::FolderNotMade;
    SettingsWriteError error = SettingsWriteError::None;
    if (!steps.writeTemporary(context, text, length))
        error = SettingsWriteError::NotWritten;
    else if (!steps.replaceSettings(context))
        error = SettingsWriteError::NotReplaced;
    if (error != SettingsWriteError::None) steps.removeTemporary(context);
    return error;
}
