// qiv72render: paints a panel with chosen values into a bitmap file, from
// the bitmaps the artwork generator wrote, without Windows.
//   qiv72render <art folder> <panel> <output.bmp> [--demo] [--zoom=PERCENT]
//     [name=value ...] [id=value ...]
// <panel> is dualmono, stereo, settings (analyser settings), analyser (the
// spectrum display) or empty. `id=value` sets the records of the panel's
// table with that id (on the analyser panel: band b's level is id 2b, its
// held level 2b + 1, the level meters 64 to 69). For the analyser panel the
// nine settings that shape it are given by name (type, range, top, mode,
// resolution, size, instant, meters, rate; values as the analyser settings
// panel holds them, e.g. type=6 for "30-Band Q=3 "). The settings are set
// first, then --demo (meter and readout values that show every part of the
// drawing), then the id values, whatever their order on the line.
// --zoom=150, 200 or 300 enlarges the panel as the program shows it at that
// Panel Size (nearest neighbour, panel/panel_zoom.h).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/param_tables.h"
#include "panel/analyser_layout.h"
#include "panel/panel_zoom.h"
#include "tools/render/soft_canvas.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: qiv72render <art folder> dualmono|stereo|settings|analyser|empty "
                 "<output.bmp> [--demo] [--zoom=150|200|300] [setting=value ...] [id=value ...]\n"
                 "analyser settings: type range top mode resolution size instant meters rate\n");
    return 2;
}

// The analyser settings that shape the analyser panel, by name.
struct NamedSetting {
    const char* name;
    int id;
};
constexpr NamedSetting AnalyserSettingNames[] = {
    {"type", 33}, {"range", 37}, {"top", 38},     {"mode", 40}, {"resolution", 42},
    {"size", 43}, {"instant", 44}, {"meters", 51}, {"rate", 55},
};

int SettingIdOf(const std::string& name) {
    for (const NamedSetting& s : AnalyserSettingNames)
        if (name == s.name) return s.id;
    return -1;
}

bool ParseValue(const char* text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return Usage();
    const std::string art = argv[1], panelName = argv[2], output = argv[3];
    int panelType;
    if (panelName == "dualmono") panelType = PanelDualMono;
    else if (panelName == "stereo") panelType = PanelStereo;
    else if (panelName == "settings") panelType = PanelAnalyserSettings;
    else if (panelName == "analyser") panelType = PanelAnalyser;
    else if (panelName == "empty") panelType = PanelEmpty;
    else return Usage();

    BuildIdIndices();
    int count = 0;
    ParamDesc* table = RenderTable(panelType, &count);
    bool demo = false;
    int halves = ZoomHalves100;
    struct IdValue {
        long id;
        double value;
    };
    std::vector<IdValue> values;
    for (int i = 4; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
            continue;
        }
        if (std::strncmp(argv[i], "--zoom=", 7) == 0) {
            const PanelSize size = PanelSizeFromNumber(std::atoi(argv[i] + 7));
            if (size == PanelSize::Auto) return Usage();
            halves = WantedZoomHalves(size, ScreenDpiBase);
            continue;
        }
        const char* equals = std::strchr(argv[i], '=');
        if (equals == nullptr) return Usage();
        const std::string key(argv[i], static_cast<size_t>(equals - argv[i]));
        double value = 0;
        if (!ParseValue(equals + 1, &value)) return Usage();
        const int settingId = panelType == PanelAnalyser ? SettingIdOf(key) : -1;
        if (settingId >= 0) {
            FindParam(TableAnalyser, settingId)->value = value;
            continue;
        }
        char* end = nullptr;
        const long id = std::strtol(key.c_str(), &end, 10);
        if (key.empty() || *end != '\0') return Usage();
        values.push_back({id, value});
    }
    if (demo) ApplyDemoValues(panelType);
    for (const IdValue& v : values) {
        bool found = false;
        for (int k = 0; k < count; ++k) {
            if (table[k].id == v.id) {
                table[k].value = v.value;
                found = true;
            }
        }
        if (!found) {
            std::fprintf(stderr, "qiv72render: no record with id %ld on this panel\n", v.id);
            return 1;
        }
    }

    SoftCanvas canvas;
    std::string error;
    if (!RenderPanel(&canvas, art, panelType, &error)) {
        std::fprintf(stderr, "qiv72render: %s\n", error.c_str());
        return 1;
    }
    const RgbImage& panel = canvas.target;
    RgbImage zoomed(ScaleToScreen(panel.width, halves), ScaleToScreen(panel.height, halves), 0);
    ZoomPixels(panel.pixels.data(), panel.width, 0, 0, panel.width, panel.height, zoomed.pixels.data(), zoomed.width,
               halves);
    if (!WriteFileBytes(output, EncodeBmp(zoomed, BmpFormat::Rgb24, {}))) {
        std::fprintf(stderr, "qiv72render: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
