// qiv72examples DIR: writes one example setup file per device function into
// DIR with the program's own setup file writer, for the Windows download.
#include <cstdio>
#include <cstring>

#include "link/link_state.h"
#include "model/param_tables.h"
#include "setup/setup_file.h"

namespace {

struct Setting {
    const char* name;
    double value;
};

struct Example {
    int table;
    int function;
    const char* file;
    const char* comment;
    Setting settings[8];
};

// Start values with a few changes that show what a setup is for.
const Example Examples[] = {
    {TableDualMono, FunctionDualMono, "example-dual-mono.c72", "Example: two speech microphones with phantom power",
     {{"Input Select Left", 2}, {"Input Select Right", 2}, {"Low Cut Frequency Left", 100},
      {"Low Cut Frequency Right", 100}, {"Expander Threshold Left", -60}, {"Expander Threshold Right", -60},
      {"De-esser Frequency Left", 6.0}, {"De-esser Frequency Right", 6.0}}},
    {TableStereo, FunctionStereo, "example-stereo.s72", "Example: stereo music recording, gentle processing",
     {{"Low Cut Frequency", 40}, {"Expander Threshold", -70}, {"Expander Link L/R", 1}, {"ALC Maximum Gain", 6},
      {"Sample Rate", 2}, {"De-esser On/Off", 0}, {nullptr, 0}, {nullptr, 0}}},
    {TableAnalyser, FunctionAnalyser, "example-analyser.a72", "Example: 30 bands with peak hold, medium size",
     {{"Analyser Type Select", 6}, {"Analyser Mode Select", 2}, {"Analyser Size", 1}, {"Analyser Peak Hold", 2.0},
      {nullptr, 0}, {nullptr, 0}, {nullptr, 0}, {nullptr, 0}}},
};

// Where the program's main window starts without settings.
constexpr ScreenRect DefaultWindow = {100, 100, 900, 380};

bool Set(int table, const Setting& s) {
    ParamDesc* t = TableByNumber(table);
    for (int i = 0; i < TableRecordCount(table); ++i) {
        if (std::strcmp(t[i].name, s.name) == 0) {
            t[i].value = s.value;
            return true;
        }
    }
    std::fprintf(stderr, "qiv72examples: no setting \"%s\"\n", s.name);
    return false;
}

bool Write(const char* dir, const Example& e) {
    for (const Setting& s : e.settings)
        if (s.name != nullptr && !Set(e.table, s)) return false;
    static char text[SetupFileCapacity];
    const size_t n = FormatSetupFile(e.function, e.comment, DefaultWindow, text, sizeof text);
    char path[1024];
    std::snprintf(path, sizeof path, "%s/%s", dir, e.file);
    std::FILE* f = std::fopen(path, "wb");
    const bool ok = n > 0 && f != nullptr && std::fwrite(text, 1, n, f) == n;
    if (f != nullptr && std::fclose(f) != 0) return false;
    if (!ok) std::fprintf(stderr, "qiv72examples: cannot write %s\n", path);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qiv72examples DIR\n");
        return 2;
    }
    BuildIdIndices();
    for (const Example& e : Examples)
        if (!Write(argv[1], e)) return 1;
    return 0;
}
