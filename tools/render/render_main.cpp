// qiv72render: paints a panel with chosen values into a bitmap file, from
// the bitmaps the artwork generator wrote, without Windows.
//   qiv72render <art folder> <panel> <output.bmp> [--demo] [id=value ...]
// <panel> is dualmono, stereo, settings (analyser settings) or empty. Values
// go to the records of the panel's table by id; --demo first sets meter and
// readout values that show every part of the drawing.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/param_tables.h"
#include "tools/render/soft_canvas.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: qiv72render <art folder> dualmono|stereo|settings|empty <output.bmp> "
                 "[--demo] [id=value ...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return Usage();
    const std::string art = argv[1], panelName = argv[2], output = argv[3];
    int panelType;
    if (panelName == "dualmono") panelType = 0;
    else if (panelName == "stereo") panelType = 1;
    else if (panelName == "settings") panelType = 2;
    else if (panelName == "empty") panelType = EmptyPanelType;
    else return Usage();

    BuildIdIndices();
    int count = 0;
    ParamDesc* table = RenderTable(panelType, &count);
    for (int i = 4; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0) {
            ApplyDemoValues(panelType);
            continue;
        }
        char* end = nullptr;
        const long id = std::strtol(argv[i], &end, 10);
        if (end == argv[i] || *end != '=') return Usage();
        const char* valueText = end + 1;
        const double value = std::strtod(valueText, &end);
        if (end == valueText || *end != '\0') return Usage();
        bool found = false;
        for (int k = 0; k < count; ++k) {
            if (table[k].id == id) {
                table[k].value = value;
                found = true;
            }
        }
        if (!found) {
            std::fprintf(stderr, "qiv72render: no record with id %ld on this panel\n", id);
            return 1;
        }
    }

    SoftCanvas canvas;
    std::string error;
    if (!RenderPanel(&canvas, art, panelType, &error)) {
        std::fprintf(stderr, "qiv72render: %s\n", error.c_str());
        return 1;
    }
    if (!WriteFileBytes(output, EncodeBmp(canvas.target, BmpFormat::Rgb24, {}))) {
        std::fprintf(stderr, "qiv72render: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
