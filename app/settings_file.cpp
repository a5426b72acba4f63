// QEN72.INI text format: writer and line reader.
#include "app/settings_file.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "link/user_change.h"
#include "model/param_ids.h"
#include "panel/panel_zoom.h"
#include "model/param_tables.h"

const char* const SettingsKeyNames[SettingsKeyCount] = {
    "AlwaysTop", "COMPort", "SafeMode", "ScrSave_deactive", "HelpLanguage", "WinPos", "Printfont", "Printpage",
};

namespace {

// Appends formatted text; a text that does not fit marks the whole output
// as failed.
struct TextOut {
    char* out;
    size_t capacity;
    size_t length;
    bool failed;
};

void Append(TextOut& t, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(TextOut& t, const char* format, ...) {
    if (t.failed) return;
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(t.out + t.length, t.capacity - t.length, format, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= t.capacity - t.length) {
        t.failed = true;
        return;
    }
    t.length += static_cast<size_t>(n);
}

// Reads an integer the way "%i" does: blanks, a sign, then decimal, 0x
// hexadecimal or 0 octal. A number outside the 32-bit range counts as
// unreadable.
bool ScanInt(const char*& p, int32_t& out) {
    char* end = nullptr;
    const long long v = std::strtoll(p, &end, 0);
    if (end == p) return false;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    out = static_cast<int32_t>(v);
    p = end;
    return true;
}

// Up to `count` integers separated by single commas, stored in order until
// the first one that cannot be read.
void ScanIntList(const char* p, int32_t* const* fields, int count) {
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (*p != ',') return;
            ++p;
        }
        int32_t v = 0;
        if (!ScanInt(p, v)) return;
        *fields[i] = v;
    }
}

// A decimal number as "%lf" reads it. Infinite and NaN values are refused:
// they would pass the range limits unchanged.
bool ScanDouble(const char* p, double& out) {
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    if (end == p || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The first word of `p` into the port name; a word too long for it leaves
// the name as it was, since a cut name would be another port.
void ScanPortName(const char* p, char (&portName)[PortNameSize]) {
    while (IsBlank(*p)) ++p;
    size_t n = 0;
    while (p[n] != '\0' && !IsBlank(p[n])) ++n;
    if (n == 0 || n >= PortNameSize) return;
    std::memcpy(portName, p, n);
    portName[n] = '\0';
}

bool StartsWith(const char* line, const char* prefix, size_t& prefixLength) {
    prefixLength = std::strlen(prefix);
    return std::strncmp(line, prefix, prefixLength) == 0;
}

void ApplyKey(SettingsKey key, const char* value, ProgramSettingsData& s) {
    switch (key) {
        case SettingsKey::AlwaysTop: ScanInt(value, s.alwaysTop); break;
        case SettingsKey::COMPort: ScanPortName(value, s.portName); break;
        case SettingsKey::SafeMode: ScanInt(value, s.safeMode); break;
        case SettingsKey::ScrSaveDeactive: ScanInt(value, s.screenSaverOff); break;
        case SettingsKey::HelpLanguage: {
            // Only the two languages of the help file table are taken.
            int32_t v = 0;
            if (ScanInt(value, v) && (v == HelpDeutsch || v == HelpEnglish)) s.helpLanguage = v;
            break;
        }
        case SettingsKey::WinPos: {
            ScreenRect& r = s.mainWindowRect;
            int32_t* const fields[4] = {&r.left, &r.right, &r.top, &r.bottom};
            ScanIntList(value, fields, 4);
            break;
        }
        case SettingsKey::Printfont: {
            int32_t* const fields[2] = {&s.analyserSettingsPos.left, &s.analyserSettingsPos.top};
            ScanIntList(value, fields, 2);
            break;
        }
        case SettingsKey::Printpage: break;
    }
}

void ApplyRecord(ParamDesc& record, const char* value) {
    double v = 0.0;
    if (!ScanDouble(value, v)) return;
    if (record.id == AnalyserFreezeId) return;
    ApplyUserChange(record, v, RaiseHoldByOne, SetupEffect::KeepState);
}

}  // namespace

size_t FormatSettingsFile(const ProgramSettingsData& s, char* out, size_t capacity) {
    if (out == nullptr || capacity == 0) return 0;
    TextOut t = {out, capacity, 0, false};
    const ScreenRect& r = s.mainWindowRect;
    Append(t, "[Settings]\r\n");
    Append(t, "%s=%i\r\n", SettingsKeyNames[0], static_cast<int>(s.alwaysTop));
    Append(t, "%s=%s\r\n", SettingsKeyNames[1], s.portName);
    Append(t, "%s=%i\r\n", SettingsKeyNames[2], static_cast<int>(s.safeMode));
    Append(t, "%s=%i\r\n", SettingsKeyNames[3], static_cast<int>(s.screenSaverOff));
    Append(t, "%s=%i\r\n", SettingsKeyNames[4], static_cast<int>(s.helpLanguage));
    Append(t, "%s=%i,%i,%i,%i\r\n", SettingsKeyNames[5], static_cast<int>(r.left), static_cast<int>(r.right),
           static_cast<int>(r.top), static_cast<int>(r.bottom));
    Append(t, "%s=%i,%i\r\n", SettingsKeyNames[6], static_cast<int>(s.analyserSettingsPos.left),
           static_cast<int>(s.analyserSettingsPos.top));
    Append(t, "%s=\r\n", SettingsKeyNames[7]);
    for (const ParamDesc& p : AnalyserTable) Append(t, "%s=%f\r\n", p.name, p.value);
    Append(t, "%s=%i\r\n", PanelSizeKey, static_cast<int>(s.panelSize));
    if (t.failed) {
        out[0] = '\0';
        return 0;
    }
    return t.length;
}

void ApplySettingsLine(const char* line, ProgramSettingsData& settings) {
    size_t n = 0;
    for (int k = 0; k < SettingsKeyCount; ++k) {
        if (!StartsWith(line, SettingsKeyNames[k], n)) continue;
        // The character after the key ("=" normally) is skipped unseen; a
        // line that ends with the key has no value.
        if (line[n] != '\0') ApplyKey(static_cast<SettingsKey>(k), line + n + 1, settings);
        return;
    }
    for (ParamDesc& p : AnalyserTable) {
        if (!StartsWith(line, p.name, n)) continue;
        if (line[n] != '\0') ApplyRecord(p, line + n + 1);
        return;
    }
    // Only the sizes the Panel Size menu offers; anything else is Auto.
    if (!StartsWith(line, PanelSizeKey, n) || line[n] != '=') return;
    int32_t size = 0;
    const char* value = line + n + 1;
    if (ScanInt(value, size)) settings.panelSize = static_cast<int32_t>(PanelSizeFromNumber(size));
}

void BeginSettingsRead(SettingsReader& reader) {
    reader.length = 0;
    reader.overlong = false;
    reader.line[0] = '\0';
}

namespace {

void FinishLine(SettingsReader& reader, ProgramSettingsData& settings) {
    int n = reader.length;
    if (!reader.overlong) {
        if (n > 0 && reader.line[n - 1] == '\r') --n;  // CR LF line end
        if (n <= SettingsLineMax) {
            reader.line[n] = '\0';
            ApplySettingsLine(reader.line, settings);
        }
    }
    BeginSettingsRead(reader);
}

}  // namespace

void FeedSettingsText(SettingsReader& reader, const char* data, size_t size, ProgramSettingsData& settings) {
    constexpr int room = SettingsLineMax + 1;  // the line and a possible CR
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\n') {
            FinishLine(reader, settings);
        } else if (reader.length < room) {
            reader.line[reader.length++] = c;
        } else {
            reader.overlong = true;
        }
    }
}

void EndSettingsRead(SettingsReader& reader, ProgramSettingsData& settings) {
    if (reader.length > 0 || reader.overlong) FinishLine(reader, settings);
}

void ReadSettingsText(const char* data, size_t size, ProgramSettingsData& settings) {
    SettingsReader reader;
    BeginSettingsRead(reader);
    FeedSettingsText(reader, data, size, settings);
    EndSettingsRead(reader, settings);
}
