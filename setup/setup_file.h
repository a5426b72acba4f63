// Setup files: the text that holds one complete setup of one device
// function (every user-settable value, the comment, the main window's
// rectangle), as written and as read back line by line. No file I/O here:
// the program reads and writes the bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/screen_geometry.h"

struct ParamDesc;

// A line is read at most 512 characters at a time; the rest of a longer
// line is read as further lines.
inline constexpr int SetupLineMax = 512;
// Room for the longest file the writer can produce.
inline constexpr size_t SetupFileCapacity = 32768;
// A setup's comment: at most 255 characters and a terminator.
inline constexpr int SetupCommentSize = 256;

// "QIV-72 Dual Mono Configuration" and so on; null for function 0.
const char* SetupTypeName(int function);
// ".c72", ".s72", ".a72"; null for function 0.
const char* SetupExtension(int function);

// The file for `function` from its table, `comment` and the main window's
// rectangle `window`: type name, "Comment=", one "%s=%f" line per saved
// entry, "WinPos=left,right,top,bottom". Returns the number of bytes written
// to `out`, or 0 for function 0 or when `capacity` is too small.
size_t FormatSetupFile(int function, const char* comment, const ScreenRect& window, char* out, size_t capacity);

// Titles that begin with "new" in any case are always saved through the
// dialog.
bool IsNewSetupTitle(const char* title);

// Reads a setup file into a table as the user's change: every line that
// starts with an entry's name sets that entry (limited to its range, marked
// for sending, TransmitCount raised); "Comment" and "WinPos" lines set the
// comment and the window rectangle. Feed the bytes in any chunks.
struct SetupReader {
    ParamDesc* table;
    int count;
    char* comment;  // SetupCommentSize characters
    ScreenRect* window;
    int changed;     // entries whose value the file changed
    bool sendEvery;  // also send the values the table already holds
    int length;   // characters in `line`
    char line[SetupLineMax + 1];
};

// Starts a load into `table`, `comment` and `window`: TransmitCount becomes
// SendHoldFrames and the comment is cleared.
// Without a unit the table's values need not be the unit's: `sendEvery`
// then marks every saved value of the file for sending, also those equal
// to the table's, so that the unit gets the whole file when it is plugged
// in (they are not counted as changed).
void BeginSetupLoad(SetupReader& reader, ParamDesc* table, int count, char (&comment)[SetupCommentSize],
                    ScreenRect& window, bool sendEvery = false);
void FeedSetupBytes(SetupReader& reader, const char* data, size_t size);
// Takes a last line that has no line feed.
void FinishSetupLoad(SetupReader& reader);

// One line, without its line feed (a carriage return stays part of it).
// `line` must be NUL-terminated at `length`.
void ApplySetupLine(SetupReader& reader, const char* line, int length);
