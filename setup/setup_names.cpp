#include "setup/setup_names.h"

#include <cstdio>
#include <cstring>

#include "link/link_state.h"
#include "model/param_tables.h"
#include "setup/setup_file.h"

namespace {

// Each literal ends with the list's second NUL.
constexpr char SaveDualMono[] = "QIV-72 Dual Mono Configuration Data (*.c72)\0*.c72\0";
constexpr char SaveStereo[] = "QIV-72 Stereo Configuration Data (*.s72)\0*.s72\0";
constexpr char SaveAnalyser[] = "QIV-72 Analyser Configuration Data (*.a72)\0*.a72\0";
constexpr char OpenDualMono[] = "QIV-72 Dual Mono Configuration Data (*.c72)\0*.c72\0All Files (*.*)\0*.*\0";
constexpr char OpenStereo[] = "QIV-72 Stereo Configuration Data (*.s72)\0*.s72\0All Files (*.*)\0*.*\0";
constexpr char OpenAnalyser[] = "QIV-72 Audio Analyser Configuration Data (*.a72)\0*.a72\0All Files (*.*)\0*.*\0";

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

int Cut(int n, size_t size) {
    if (n < 0) return 0;
    return static_cast<size_t>(n) >= size ? static_cast<int>(size) - 1 : n;
}

}  // namespace

const char* SetupSaveFilter(int function) {
    switch (function) {
        case FunctionDualMono: return SaveDualMono;
        case FunctionStereo: return SaveStereo;
        case FunctionAnalyser: return SaveAnalyser;
        default: return nullptr;
    }
}

const char* SetupOpenFilter(int function) {
    switch (function) {
        case FunctionDualMono: return OpenDualMono;
        case FunctionStereo: return OpenStereo;
        case FunctionAnalyser: return OpenAnalyser;
        default: return nullptr;
    }
}

bool SetupSaveAsksForName(bool askForName, const char* title) { return askForName || IsNewSetupTitle(title); }

ExtensionResult AddSetupExtension(int function, char* path, size_t pathSize, char* title, size_t titleSize) {
    const char* extension = SetupExtension(function);
    const size_t pathLength = strnlen(path, pathSize);
    const size_t titleLength = strnlen(title, titleSize);
    if (extension == nullptr || pathLength >= pathSize || titleLength >= titleSize) return ExtensionResult::TooLong;
    for (size_t i = pathLength; i > 0 && !IsSeparator(path[i - 1]); --i)
        if (path[i - 1] == '.') return ExtensionResult::Kept;
    const size_t add = std::strlen(extension);
    if (pathLength + add >= pathSize || titleLength + add >= titleSize) return ExtensionResult::TooLong;
    std::memcpy(path + pathLength, extension, add + 1);
    std::memcpy(title + titleLength, extension, add + 1);
    return ExtensionResult::Added;
}

bool CopySetupText(char* out, size_t size, const char* text) {
    if (size == 0) return false;
    const size_t n = strnlen(text, size);
    const bool fits = n < size;
    const size_t copied = fits ? n : size - 1;
    std::memcpy(out, text, copied);
    out[copied] = '\0';
    return fits;
}

bool SetupFolderOf(const char* path, char* out, size_t size) {
    const char* end = nullptr;  // one past the last separator
    for (const char* p = path; *p != '\0'; ++p)
        if (IsSeparator(*p)) end = p + 1;
    if (end == nullptr) return CopySetupText(out, size, ".");
    const size_t n = static_cast<size_t>(end - path);
    if (n >= size) return false;
    std::memcpy(out, path, n);
    out[n] = '\0';
    return true;
}

int SetupFunctionOfTable(const ParamDesc* table) {
    for (int f = FunctionDualMono; f <= FunctionAnalyser; ++f)
        if (table != nullptr && table == TableByNumber(f)) return f;
    return FunctionNone;
}

int FormatSetupNotFound(const char* path, char* out, size_t size) {
    return Cut(std::snprintf(out, size, "File %s not found.", path), size);
}

int FormatSetupNotWritten(const char* path, char* out, size_t size) {
    return Cut(std::snprintf(out, size, "File %s cannot be written.\nThe setup is not saved.", path), size);
}
