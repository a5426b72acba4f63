#include "tools/ctl/setup_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/shell_state.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "setup/setup_file.h"
#include "setup/setup_names.h"

namespace {

std::string FirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

std::string FormatSetupText(int function, const std::string& comment) {
    char text[SetupCommentSize];
    CopySetupText(text, sizeof text, comment.c_str());
    std::string out(SetupFileCapacity, '\0');
    out.resize(FormatSetupFile(function, text, ProgramSettingsData{}.mainWindowRect, out.data(), out.size()));
    return out;
}

std::string LoadSetupText(const std::string& text, ParamDesc* table, int count) {
    SetupReader reader;
    char comment[SetupCommentSize];
    ScreenRect window = ProgramSettingsData{}.mainWindowRect;  // the tool has no window
    BeginSetupLoad(reader, table, count, comment, window, false);
    FeedSetupBytes(reader, text.data(), text.size());
    FinishSetupLoad(reader);
    return comment;
}

std::vector<const ParamDesc*> SetupEntriesNamed(const std::string& text, const ParamDesc* table, int count) {
    // The reader on a scratch copy whose values no file can hold: every
    // entry a line reaches is marked.
    std::vector<ParamDesc> scratch(table, table + count);
    for (ParamDesc& p : scratch) {
        p.value = std::nan("");
        p.flags = 0;
    }
    const int32_t transmitCount = TransmitCount;
    LoadSetupText(text, scratch.data(), count);
    TransmitCount = transmitCount;
    std::vector<const ParamDesc*> named;
    for (int i = 0; i < count; ++i)
        if (scratch[i].flags & SendPending) named.push_back(&table[i]);
    return named;
}

std::string SetupCommentOf(const std::string& text, int function) {
    const ParamDesc* table = TableByNumber(function);
    const int count = TableRecordCount(function);
    std::vector<ParamDesc> scratch(table, table + count);
    const int32_t transmitCount = TransmitCount;
    const std::string comment = LoadSetupText(text, scratch.data(), count);
    TransmitCount = transmitCount;
    return comment;
}

std::vector<std::string> SetupNamesSkipped(const std::string& text, const ParamDesc* table, int count) {
    std::vector<std::string> skipped;
    size_t pos = text.find('\n');  // the type line aside
    while (pos != std::string::npos && pos < text.size()) {
        const size_t start = pos + 1;
        pos = text.find('\n', start);
        std::string line = text.substr(start, pos == std::string::npos ? std::string::npos : pos - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        if (line.rfind("Comment", 0) == 0 || line.rfind("WinPos", 0) == 0) continue;
        bool known = false;
        for (int i = 0; i < count && !known; ++i) known = line.rfind(table[i].name, 0) == 0;
        if (!known) skipped.push_back(line.substr(0, eq));
    }
    return skipped;
}

int SetupFunctionOfText(const std::string& text) {
    const std::string line = FirstLine(text);
    for (int f = FunctionDualMono; f <= FunctionAnalyser; ++f)
        if (line == SetupTypeName(f)) return f;
    return FunctionNone;
}

std::string WithSetupExtension(int function, const std::string& path) {
    const std::filesystem::path p(path);
    if (p.has_extension() || SetupExtension(function) == nullptr) return path;
    return path + SetupExtension(function);
}

bool ReadWholeFile(const std::string& path, size_t limit, std::string* text, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        *error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    text->clear();
    char chunk[4096];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        text->append(chunk, n);
        if (text->size() > limit) {
            std::fclose(f);
            *error = path + " is too large";
            return false;
        }
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) *error = "cannot read " + path;
    return !failed;
}

bool WriteFileReplacing(const std::string& path, const std::string& text, std::string* error) {
    const std::string temporary = path + ".part";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (f == nullptr) {
        *error = "cannot write " + temporary + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (written && closed) {
        std::filesystem::rename(temporary, path, ec);
        if (!ec) return true;
    }
    std::filesystem::remove(temporary, ec);
    *error = "cannot write " + path;
    return false;
}
