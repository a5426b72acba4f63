// The state file's text.
#include "tools/sim/unit_state_text.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "link/link_state.h"

namespace {

struct TextOut {
    char* out;
    size_t capacity;
    size_t length;
    bool overflow;
};

__attribute__((format(printf, 2, 3))) void Line(TextOut* t, const char* format, ...) {
    if (t->overflow) return;
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(t->out + t->length, t->capacity - t->length, format, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= t->capacity - t->length) {
        t->overflow = true;
        return;
    }
    t->length += static_cast<size_t>(n);
}

}  // namespace

const char* UnitFunctionName(int function) {
    switch (function) {
        case FunctionDualMono: return "Dual Mono";
        case FunctionStereo: return "Stereo";
        case FunctionAnalyser: return "Analyser";
        default: return "none";
    }
}

size_t FormatUnitState(const UnitModel& unit, char* out, size_t capacity) {
    if (capacity == 0) return 0;
    TextOut t = {out, capacity, 0, false};
    out[0] = '\0';
    const int fn = unit.function;
    const UnitFunctionState& f = CurrentFunctionState(unit);
    Line(&t, "Function=%s\n", UnitFunctionName(fn));
    if (UnitIsBooting(unit)) Line(&t, "Booting=%s\n", UnitFunctionName(unit.bootTarget));
    // A script that pulled the cable by signal waits for this line, not for
    // a guessed time.
    if (unit.unplugHeld) Line(&t, "Cable=out\n");
    Line(&t, "Switch Word=0x%06X\n", static_cast<unsigned>(f.current.switchWord & 0xFFFFFFu));

    const ParamDesc* table = TableByNumber(fn);
    const int count = TableRecordCount(fn);
    for (int i = 0; i < count; ++i) {
        const ParamDesc& r = table[i];
        if (!IsSavedKind(r.kind) || !UnitCarriesSetting(fn, r.id)) continue;
        double v = UnitSettingValue(f.current, fn, r.id);
        if (v == 0.0) v = 0.0;  // no "-0"
        Line(&t, "%s=%.10g\n", r.name, v);
    }

    if (fn == FunctionDualMono || fn == FunctionStereo) {
        Line(&t, "Current Memory=%d\n", static_cast<int>(f.currentMemory));
        for (int k = 0; k < UnitMemoryCount; ++k) {
            // A host may store any bytes; control characters would break
            // the line format and show as '?'.
            char name[UnitNameLength + 1];
            int len = 0;
            for (int i = 0; i < UnitNameLength; ++i) {
                const unsigned char c = static_cast<unsigned char>(f.memories[k].name[i]);
                name[i] = (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
                if (c != ' ' && c != '\0') len = i + 1;
            }
            name[len] = '\0';
            Line(&t, "Memory %d=%s\n", k + 1, name);
        }
    }
    if (t.overflow) {
        out[0] = '\0';
        return 0;
    }
    return t.length;
}

namespace {

// The record of the current function's table that a state file line names.
const ParamDesc* SettingNamed(int function, const std::string& name) {
    const ParamDesc* table = TableByNumber(function);
    const int count = TableRecordCount(function);
    for (int i = 0; i < count; ++i) {
        const ParamDesc& r = table[i];
        if (IsSavedKind(r.kind) && UnitCarriesSetting(function, r.id) && name == r.name) return &r;
    }
    return nullptr;
}

bool ParseSettingValue(const std::string& text, double* value) {
    const char* start = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(start, &end);
    if (end == start || !std::isfinite(v)) return false;
    while (*end == ' ' || *end == '\t' || *end == '\r') ++end;
    if (*end != '\0') return false;
    *value = v;
    return true;
}

}  // namespace

UnitSettingsApplied ApplyUnitSettingsText(UnitModel* unit, const char* text, size_t size) {
    UnitSettingsApplied result = {0, 0};
    size_t pos = 0;
    while (pos < size) {
        size_t end = pos;
        while (end < size && text[end] != '\n') ++end;
        std::string line(text + pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        const ParamDesc* r = eq == std::string::npos ? nullptr : SettingNamed(unit->function, line.substr(0, eq));
        double v = 0.0;
        if (r == nullptr || !ParseSettingValue(line.substr(eq + 1), &v)) {
            ++result.rejected;
            continue;
        }
        if (UnitSetSetting(unit, r->id, ClampToLimits(*r, v)))
            ++result.applied;
        else
            ++result.rejected;
    }
    return result;
}
