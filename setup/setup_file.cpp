// Setup file text: the writer's fixed layout and the forgiving reader.
#include "setup/setup_file.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "link/edit_history.h"
#include "link/host_encoder.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"

namespace {

// Window coordinates from a file are kept within this range, so that sizes
// computed from them cannot overflow.
constexpr long long WindowCoordinateLimit = 1000000;

bool StartsWith(const char* line, int length, const char* prefix) {
    const size_t n = std::strlen(prefix);
    return static_cast<size_t>(length) >= n && std::memcmp(line, prefix, n) == 0;
}

// One "%i" conversion: optional blanks, sign, decimal, 0x hexadecimal or
// 0 octal. Out-of-range numbers saturate instead of being undefined.
bool ScanInt(const char*& p, int32_t* out) {
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(p, &end, 0);
    if (end == p) return false;
    if (v > WindowCoordinateLimit) v = WindowCoordinateLimit;
    if (v < -WindowCoordinateLimit) v = -WindowCoordinateLimit;
    *out = static_cast<int32_t>(v);
    p = end;
    return true;
}

void ReadWinPos(ScreenRect& r, const char* rest) {
    // left, right, top, bottom: the order the writer uses.
    int32_t* fields[4] = {&r.left, &r.right, &r.top, &r.bottom};
    const char* p = rest;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (*p != ',') return;
            ++p;
        }
        if (!ScanInt(p, fields[i])) return;
    }
}

void ReadComment(char* comment, const char* rest, int length) {
    int n = length;
    if (n > SetupCommentSize - 1) n = SetupCommentSize - 1;
    std::memcpy(comment, rest, static_cast<size_t>(n));
    comment[n] = '\0';
}

void ReadEntry(SetupReader& reader, ParamDesc& entry, const char* line, int length) {
    const int nameLength = static_cast<int>(std::strlen(entry.name));
    // The character after the name (normally '=') is skipped unseen; a line
    // that ends there carries no value.
    if (length <= nameLength + 1) return;
    const char* number = line + nameLength + 1;
    char* end = nullptr;
    const double v = std::strtod(number, &end);
    if (end == number) return;  // no number: the entry keeps its value
    // The setup's unsaved mark is the loader's business: a loaded file is the
    // saved setup.
    const double before = entry.value;
    if (ApplyUserChange(entry, v, RaiseHoldByOne, SetupEffect::KeepState)) {
        ++reader.changed;
        NoteUserChange(entry, before, StepKind::Load, SendHoldFrames);
    } else if (reader.sendEvery && IsSavedKind(entry.kind)) {
        entry.flags |= SendPending;
    }
}

void EndLine(SetupReader& reader) {
    reader.line[reader.length] = '\0';
    ApplySetupLine(reader, reader.line, reader.length);
    reader.length = 0;
}

}  // namespace

const char* SetupTypeName(int function) {
    switch (function) {
        case FunctionDualMono: return "QIV-72 Dual Mono Configuration";
        case FunctionStereo: return "QIV-72 Stereo Configuration";
        case FunctionAnalyser: return "QIV-72 Analyser Configuration";
        default: return nullptr;
    }
}

const char* SetupExtension(int function) {
    switch (function) {
        case FunctionDualMono: return ".c72";
        case FunctionStereo: return ".s72";
        case FunctionAnalyser: return ".a72";
        default: return nullptr;
    }
}

size_t FormatSetupFile(int function, const char* comment, const ScreenRect& window, char* out, size_t capacity) {
    const char* type = SetupTypeName(function);
    if (type == nullptr || capacity == 0) return 0;
    size_t used = 0;
    bool fits = true;
    auto append = [&](int n) {
        if (n < 0 || static_cast<size_t>(n) >= capacity - used) {
            fits = false;
            return;
        }
        used += static_cast<size_t>(n);
    };
    append(std::snprintf(out + used, capacity - used, "%s\n", type));
    if (fits) append(std::snprintf(out + used, capacity - used, "Comment=%s\n", comment));
    const ParamDesc* table = TableByNumber(function);
    const int count = TableRecordCount(function);
    for (int i = 0; i < count && fits; ++i) {
        if (!IsSavedKind(table[i].kind)) continue;
        append(std::snprintf(out + used, capacity - used, "%s=%f\n", table[i].name, table[i].value));
    }
    const ScreenRect& r = window;
    if (fits)
        append(std::snprintf(out + used, capacity - used, "WinPos=%i,%i,%i,%i\n", static_cast<int>(r.left),
                             static_cast<int>(r.right), static_cast<int>(r.top), static_cast<int>(r.bottom)));
    return fits ? used : 0;
}

bool IsNewSetupTitle(const char* title) {
    return std::tolower(static_cast<unsigned char>(title[0])) == 'n' &&
           std::tolower(static_cast<unsigned char>(title[1])) == 'e' &&
           std::tolower(static_cast<unsigned char>(title[2])) == 'w';
}

void BeginSetupLoad(SetupReader& reader, ParamDesc* table, int count, char (&comment)[SetupCommentSize],
                    ScreenRect& window, bool sendEvery) {
    reader.table = table;
    reader.count = count;
    reader.comment = comment;
    reader.window = &window;
    reader.changed = 0;
    reader.sendEvery = sendEvery;
    reader.length = 0;
    // The whole file is one step of the user's: its values, not its name or
    // comment.
    BeginUserStep(StepKind::Load, SendHoldFrames);
    TransmitCount = SendHoldFrames;
    comment[0] = '\0';
}

void FeedSetupBytes(SetupReader& reader, const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            EndLine(reader);
            continue;
        }
        reader.line[reader.length++] = data[i];
        if (reader.length == SetupLineMax) EndLine(reader);
    }
}

void FinishSetupLoad(SetupReader& reader) {
    if (reader.length > 0) EndLine(reader);
    EndUserStep();
}

void ApplySetupLine(SetupReader& reader, const char* line, int length) {
    if (StartsWith(line, length, "Comment") && length > 7) ReadComment(reader.comment, line + 8, length - 8);
    if (StartsWith(line, length, "WinPos") && length > 7) ReadWinPos(*reader.window, line + 7);
    for (int i = 0; i < reader.count; ++i) {
        ParamDesc& entry = reader.table[i];
        if (StartsWith(line, length, entry.name)) {
            ReadEntry(reader, entry, line, length);
            return;
        }
    }
}
