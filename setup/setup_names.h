// Names around the setup files that need no platform: the file dialogs'
// filters, when a save asks for a name, the extension a typed name gets, the
// folder a temporary file goes to, and the messages about files.
#pragma once

#include <cstddef>

struct ParamDesc;

// Filters of the save and open dialogs for a function (1 to 3): pairs of
// description and pattern, each ended by a NUL, the list by a second NUL.
// Null for any other function.
const char* SetupSaveFilter(int function);
const char* SetupOpenFilter(int function);

// A save asks for a name when the caller wants it, or when the function's
// file still has a "new" name.
bool SetupSaveAsksForName(bool askForName, const char* title);

// After the save dialog: when the chosen file name has no extension (no
// "." after its last separator), the function's extension is appended to
// the path and the file name. TooLong, changing nothing, when either would
// not fit its buffer. (The dialog's own extension offset is not used: the
// platforms disagree on it for a name without extension.)
enum class ExtensionResult { Kept, Added, TooLong };
ExtensionResult AddSetupExtension(int function, char* path, size_t pathSize, char* title, size_t titleSize);

// Copies `text` into `out`, cut to `size` - 1 characters. False when cut.
bool CopySetupText(char* out, size_t size, const char* text);

// The folder of `path` for a temporary file beside it: everything up to its
// last separator ('\\', '/' or a drive's ':'), or "." for a bare file name.
// False when it does not fit `out`.
bool SetupFolderOf(const char* path, char* out, size_t size);

// The function (1 to 3) whose table `table` is; 0 for any other table.
int SetupFunctionOfTable(const ParamDesc* table);

// "File %s not found." and the message for a file that cannot be written.
// Both return the length written, cut to `size` - 1.
int FormatSetupNotFound(const char* path, char* out, size_t size);
int FormatSetupNotWritten(const char* path, char* out, size_t size);
