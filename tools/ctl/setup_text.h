// The tool's side of the setup files: the window program's file text for
// the running function, a file read into a table, and files written
// beside and then renamed into place.
#pragma once

#include <string>
#include <vector>

struct ParamDesc;

// The setup file of `function` from its table, with `comment` and the
// window program's default window rectangle (so that loading it there puts
// the window somewhere sensible).
std::string FormatSetupText(int function, const std::string& comment);

// Reads setup file text into `table` as the window program reads a file
// (every line that starts with an entry's name sets it, marked for
// sending). Returns the file's comment.
std::string LoadSetupText(const std::string& text, ParamDesc* table, int count);

// The comment of setup text, read as a load into `function`'s table would
// read it, without changing anything.
std::string SetupCommentOf(const std::string& text, int function);

// The records of `table` the text names (by the same rule), without
// changing anything.
std::vector<const ParamDesc*> SetupEntriesNamed(const std::string& text, const ParamDesc* table, int count);

// The names on lines that name no entry of the table (Comment, WinPos and
// the first line aside).
std::vector<std::string> SetupNamesSkipped(const std::string& text, const ParamDesc* table, int count);

// The function (1 to 3) whose type line starts the text; 0 for none.
int SetupFunctionOfText(const std::string& text);

// FILE with the function's extension added when it has none.
std::string WithSetupExtension(int function, const std::string& path);

bool ReadWholeFile(const std::string& path, size_t limit, std::string* text, std::string* error);
// Writes beside the file, then renames over it: never a partial file.
bool WriteFileReplacing(const std::string& path, const std::string& text, std::string* error);
