#include "tools/ctl/ctl_values.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "link/host_encoder.h"
#include "link/link_state.h"
#include "model/param_tables.h"

namespace {

constexpr double TenthsPerUnit = 10.0;
constexpr uint32_t SignBit24 = 0x800000u;
constexpr int32_t Span24 = 0x1000000;
constexpr int ReportedNameLength = 10;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

// The whole text as a finite decimal number.
bool WholeNumber(const std::string& text, double* out) {
    const std::string t = Trim(text);
    if (t.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

}  // namespace

std::vector<ParamDesc*> UnitSettingsOf(int function) {
    std::vector<ParamDesc*> out;
    ParamDesc* table = TableByNumber(function);
    if (function < FunctionDualMono || function > FunctionAnalyser || table == nullptr) return out;
    for (int i = 0; i < TableRecordCount(function); ++i)
        if (IsSavedKind(table[i].kind) && FindParamCommand(function, table[i].id) != nullptr) out.push_back(&table[i]);
    return out;
}

ParamDesc* FindUnitSetting(int function, const std::string& name) {
    const std::string wanted = Lower(Trim(name));
    for (ParamDesc* p : UnitSettingsOf(function))
        if (Lower(p->name) == wanted) return p;
    return nullptr;
}

std::vector<std::string> ClosestSettingNames(int function, const std::string& name, size_t count) {
    std::vector<std::pair<size_t, std::string>> ranked;
    const std::string wanted = Lower(Trim(name));
    for (const ParamDesc* p : UnitSettingsOf(function)) ranked.emplace_back(EditDistance(wanted, Lower(p->name)), p->name);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (size_t i = 0; i < ranked.size() && i < count; ++i) out.push_back(ranked[i].second);
    return out;
}

bool ParseSettingValue(const ParamDesc& record, const std::string& text, double* value, std::string* error) {
    const std::string t = Lower(Trim(text));
    if (record.kind == ControlKind::Toggle) {
        if (t == "1" || t == "on") *value = 1.0;
        else if (t == "0" || t == "off") *value = 0.0;
        else {
            *error = "a switch takes 0/1 or on/off";
            return false;
        }
        return true;
    }
    if (record.labels != nullptr) {
        for (int i = 0; i <= static_cast<int>(record.max) && i < record.labels->count; ++i) {
            if (Lower(Trim(record.labels->label[i])) == t) {
                *value = i;
                return true;
            }
        }
        double index = 0.0;
        if (WholeNumber(text, &index) && index == std::floor(index)) {
            *value = index;
            return true;
        }
        std::string labels;
        for (int i = 0; i <= static_cast<int>(record.max) && i < record.labels->count; ++i)
            labels += (i > 0 ? ", " : "") + Trim(record.labels->label[i]);
        *error = "takes one of " + labels + " or an index";
        return false;
    }
    if (!WholeNumber(text, value)) {
        *error = "is not a number";
        return false;
    }
    return true;
}

double WireValue(int function, const ParamDesc& record, double value) {
    const ParamCommand* c = FindParamCommand(function, record.id);
    if (c == nullptr) return value;
    if (c->encoding == Encoding::Switch) return IsOn(value) ? 1.0 : 0.0;
    uint8_t b[3];
    EncodeValueBytes(c->encoding, value, b);
    switch (c->encoding) {
        case Encoding::Byte: return b[0];
        case Encoding::TenthsByte: return b[0] / TenthsPerUnit;
        case Encoding::TenthsWord: return (b[0] | (b[1] << 8)) / TenthsPerUnit;
        case Encoding::Signed24: {
            const uint32_t raw = b[0] | (b[1] << 8) | (static_cast<uint32_t>(b[2]) << 16);
            return raw >= SignBit24 ? static_cast<int32_t>(raw) - Span24 : static_cast<int32_t>(raw);
        }
        case Encoding::Switch: break;
    }
    return value;
}

std::string SettingText(const ParamDesc& record) {
    if (record.kind == ControlKind::Toggle) return IsOn(record.value) ? "on" : "off";
    if (record.labels != nullptr) {
        const char* label = LabelOf(record, record.value);
        if (label != nullptr) return Trim(label);
    }
    char text[64];
    FormatParamValue(record, text, sizeof text);
    return Trim(text);
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u >= 0x7F) {
            // The unit's names are 8-bit bytes; JSON wants valid text.
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string SettingJson(const ParamDesc& record) {
    if (record.kind == ControlKind::Toggle) return IsOn(record.value) ? "true" : "false";
    if (record.labels != nullptr && LabelOf(record, record.value) != nullptr) return JsonString(SettingText(record));
    if (!std::isfinite(record.value)) return "null";
    return SettingText(record);
}

const char* FunctionName(int function) {
    switch (function) {
        case FunctionDualMono: return "Dual Mono";
        case FunctionStereo: return "Stereo";
        case FunctionAnalyser: return "Analyser";
        default: return "none";
    }
}

int FunctionFromArgument(const std::string& text) {
    if (text == "dual-mono") return FunctionDualMono;
    if (text == "stereo") return FunctionStereo;
    if (text == "analyser") return FunctionAnalyser;
    return FunctionNone;
}

bool MemoryNameReported(int memory) {
    return memory >= 1 && memory <= MemoryCount && MemoryNames[memory][0] != '\0';
}

std::string ReportedMemoryName(int memory) {
    if (!MemoryNameReported(memory)) return "";
    std::string name(MemoryNames[memory], strnlen(MemoryNames[memory], ReportedNameLength));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

std::string FileSafeName(const std::string& name) {
    std::string out;
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool bad = u < 0x20 || u == 0x7F || std::strchr("<>:\"/\\|?*", c) != nullptr;
        out += bad ? '_' : c;
    }
    // Windows refuses names that end in a blank or a dot.
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.back() = '_';
    return out.empty() ? "unnamed" : out;
}
