// Where QEN72.INI is kept, without any platform call: which file start-up
// reads, the paths of the places, the safe replacement at exit and the
// messages about it. The Windows side answers the file system questions
// through the small seams below (settings_file_win32.cpp).
//
// The file lives in the user's roaming application data folder,
// "<AppData>\QIV-72\QEN72.INI", the one place a program run without
// administrator rights may write on today's Windows. Older installations
// kept it in the Windows directory, and Windows file virtualization may
// have kept an older 32-bit program's writes to it under
// "<LocalAppData>\VirtualStore\<Windows directory>\QEN72.INI"; both are
// only read, and only while the application data file does not exist, so
// that two files never disagree.
//
// Paths are wide-character text, as the Windows side takes them, so that a
// user profile whose name lies outside the ANSI code page works.
#pragma once

#include <cstddef>

// The places in the order they are tried. The virtualized copy comes before
// the Windows directory's file because it is the one an older program saw
// on such a PC: Windows showed it in place of the real file.
enum class SettingsPlace { AppData, VirtualStore, WindowsDirectory };
inline constexpr int SettingsPlaceCount = 3;

// What the file system says about the file at one place. A directory of
// that name, or a place whose folder is unknown, counts as Missing; a file
// that exists (or may exist) but cannot be opened for reading (locked by
// another program, no permission) is Unreadable.
enum class SettingsFileState { Missing, Readable, Unreadable };

enum class SettingsStart {
    Read,        // read the file at `place`; written to the application data file at exit
    FirstRun,    // no file anywhere: the first-run questions; written at exit
    Unreadable,  // the file at `place` exists but cannot be read: the defaults, no
                 // questions, said once, and nothing written at exit
};
struct SettingsChoice {
    SettingsStart start;
    SettingsPlace place;  // AppData for FirstRun
};

// The first place in order whose file is not Missing decides; `probe` is
// asked about no place after it.
using SettingsProbe = SettingsFileState (*)(SettingsPlace place, void* context);
SettingsChoice ChooseSettingsFile(SettingsProbe probe, void* context);

// The longest path, terminator included, that the Windows side handles (the
// temporary file call takes no longer one).
inline constexpr size_t SettingsPathMax = 260;

// "<appData>\QIV-72": the program's folder in the application data folder.
// "<folder>\QEN72.INI". "<localAppData>\VirtualStore<Windows directory
// without its drive>\QEN72.INI". A trailing separator of a given folder is
// dropped. False, with `out` empty, when a folder is empty or the path does
// not fit `size`.
bool SettingsFolderPath(const wchar_t* appData, wchar_t* out, size_t size);
bool SettingsFilePath(const wchar_t* folder, wchar_t* out, size_t size);
bool VirtualStoreSettingsPath(const wchar_t* localAppData, const wchar_t* windowsDirectory, wchar_t* out,
                              size_t size);

// The path named in the messages when the application data folder is
// unknown.
extern const wchar_t UnknownSettingsPath[];

// "Settings could not be saved to <path>." (at exit) and the message for a
// file that exists but cannot be read (at start). Cut to `size` - 1
// characters; the length written.
size_t FormatSettingsNotSaved(const wchar_t* path, wchar_t* out, size_t size);
size_t FormatSettingsNotRead(const wchar_t* path, wchar_t* out, size_t size);

// The safe write at exit: the text goes to a new temporary file in the
// settings folder, which then takes the old file's place, so that a crash
// or a full disk never leaves half a settings file. Each step returns false
// when it fails; the Windows side gives the real steps, tests a fake.
struct SettingsWriteSteps {
    // The settings folder exists afterwards.
    bool (*makeFolder)(void* context);
    // A new file beside the settings file gets every byte, on disk, and is
    // closed. After a failure a partial file may be left for removal.
    bool (*writeTemporary)(void* context, const char* text, size_t length);
    // The temporary file becomes the settings file.
    bool (*replaceSettings)(void* context);
    // After a failure: the temporary file, if there is one, goes.
    void (*removeTemporary)(void* context);
};

// The step that failed; None when the settings file holds the text. After a
// failure the old settings file is as it was and no temporary file is left.
enum class SettingsWriteError { None, NoText, FolderNotMade, NotWritten, NotReplaced };
SettingsWriteError WriteSettingsSafely(const SettingsWriteSteps& steps, void* context, const char* text,
                                       size_t length);
