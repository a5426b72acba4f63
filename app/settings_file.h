// The program settings file QEN72.INI: its text format, written and read
// here without any platform call. The Windows side only moves the bytes
// between the file and these functions.
//
// Written: "[Settings]", eight key lines and one line per record of the
// analyser settings table, then the added lines (PanelSize=), every line
// ended by CR LF. Read: line by line;
// each line is matched against the keys, then against the record names, by
// prefix (case-sensitive); anything else is ignored.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/shell_state.h"

inline constexpr char SettingsFileName[] = "QEN72.INI";
inline constexpr int SettingsFileLines = 37;
// Lines added after those, which older copies of the program ignore: no
// older key or record name starts them, and they start none.
inline constexpr char PanelSizeKey[] = "PanelSize";
inline constexpr int SettingsAddedLines = 1;
// The longest line the reader takes, without its line end. A longer line is
// ignored as a whole, so that a cut-off number is never taken for a value.
inline constexpr int SettingsLineMax = 255;
// Room for the whole file as the writer produces it.
inline constexpr size_t SettingsTextCapacity = 4096;

// The keys in the order the writer follows and the reader tries them.
enum class SettingsKey { AlwaysTop, COMPort, SafeMode, ScrSaveDeactive, HelpLanguage, WinPos, Printfont, Printpage };
inline constexpr int SettingsKeyCount = 8;
extern const char* const SettingsKeyNames[SettingsKeyCount];

// The file's text for `settings` and the current analyser settings table.
// Returns its length, or 0 when `capacity` is too small (nothing usable is
// written then).
size_t FormatSettingsFile(const ProgramSettingsData& settings, char* out, size_t capacity);

// One line without its line end. Keys set fields of `settings`; record names
// set analyser records (limited to the record's range, marked for sending,
// TransmitCount raised), except "Analyser Freeze", which is never restored.
void ApplySettingsLine(const char* line, ProgramSettingsData& settings);

// Reads a file that arrives in pieces of any size. Holds one line at most;
// nothing is allocated.
struct SettingsReader {
    char line[SettingsLineMax + 2];  // room for a CR before the line feed
    int length;
    bool overlong;  // the current line is past SettingsLineMax: it is dropped
};
void BeginSettingsRead(SettingsReader& reader);
void FeedSettingsText(SettingsReader& reader, const char* data, size_t size, ProgramSettingsData& settings);
// The last line, when the file does not end with a line feed.
void EndSettingsRead(SettingsReader& reader, ProgramSettingsData& settings);

// The whole text at once.
void ReadSettingsText(const char* data, size_t size, ProgramSettingsData& settings);
