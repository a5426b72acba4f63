// The RGB-buffer canvas and the panel renderer.
#include "tools/render/soft_canvas.h"

#include <cmath>

#include "panel/analyser_layout.h"
#include "panel/control_drawing.h"
#include "tools/artgen/art_set.h"

namespace {

void SoftCopy(void* context, int slot, int srcX, int srcY, int width, int height, int dstX, int dstY,
              BlitMode mode) {
    SoftCanvas& c = *static_cast<SoftCanvas*>(context);
    ++c.copies;
    if (slot < 0 || slot >= PanelBitmapSlotCount) {
        ++c.outsideReads;
        return;
    }
    const RgbImage& source = c.slots[slot];
    if (srcX < 0 || srcY < 0 || width <= 0 || height <= 0 || srcX + width > source.width ||
        srcY + height > source.height) {
        ++c.outsideReads;
    }
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            if (!source.Inside(srcX + i, srcY + j) || !c.target.Inside(dstX + i, dstY + j)) continue;
            const uint32_t pixel = source.At(srcX + i, srcY + j);
            uint32_t& out = c.target.At(dstX + i, dstY + j);
            out = mode == BlitMode::Or ? (out | pixel) : pixel;
        }
    }
}

void SoftFill(void* context, int x, int y, int width, int height, uint32_t rgb) {
    SoftCanvas& c = *static_cast<SoftCanvas*>(context);
    for (int j = y; j < y + height; ++j)
        for (int i = x; i < x + width; ++i)
            if (c.target.Inside(i, j)) c.target.At(i, j) = rgb;
}

// Bresenham, end point excluded.
void SoftLine(void* context, int x0, int y0, int x1, int y1, uint32_t rgb) {
    SoftCanvas& c = *static_cast<SoftCanvas*>(context);
    const int dx = x1 > x0 ? x1 - x0 : x0 - x1, sx = x0 < x1 ? 1 : -1;
    const int dy = y1 > y0 ? y0 - y1 : y1 - y0, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (!(x0 == x1 && y0 == y1)) {
        if (c.target.Inside(x0, y0)) c.target.At(x0, y0) = rgb;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

}  // namespace

bool LoadSlotBitmaps(SoftCanvas* canvas, const std::string& artFolder, std::string* error) {
    for (int slot = 0; slot < PanelBitmapSlotCount; ++slot) {
        const PanelBitmapSlot* entry = BitmapSlot(slot);
        if (entry == nullptr) continue;
        const char* name = ArtFileName(entry->resource);
        if (name == nullptr) {
            *error = "no file for bitmap resource " + std::to_string(entry->resource);
            return false;
        }
        RgbImage& image = canvas->slots[slot];
        if (!ReadBmpFile(artFolder + "/" + name, &image, error)) return false;
        if (image.width != entry->width || image.height != entry->height) {
            *error = std::string(name) + " is not " + std::to_string(entry->width) + " x " +
                     std::to_string(entry->height);
            return false;
        }
    }
    return true;
}

PanelCanvas CanvasOf(SoftCanvas* canvas) { return {canvas, SoftCopy, SoftFill, SoftLine}; }

bool LoadPanelBackground(SoftCanvas* canvas, const std::string& artFolder, int panelType,
                         std::string* error) {
    if (panelType == PanelEmpty) {
        canvas->target = RgbImage(EmptyPanelWidth, EmptyPanelHeight, PanelGrey);
        return true;
    }
    if (panelType == PanelAnalyser) {
        const AnalyserLayout layout = LayOutAnalyserPanel();
        canvas->target = RgbImage(layout.clientWidth, layout.clientHeight, 0);
        PaintAnalyserBackground(CanvasOf(canvas), layout, layout.clientWidth, layout.clientHeight);
        return true;
    }
    if (panelType < 0 || panelType >= BitmapPanelCount) {
        *error = "no bitmap panel of type " + std::to_string(panelType);
        return false;
    }
    const PanelBitmapSlot& entry = PanelBackgrounds[panelType];
    const std::string path = artFolder + "/" + ArtFileName(entry.resource);
    if (!ReadBmpFile(path, &canvas->target, error)) return false;
    if (canvas->target.width != entry.width || canvas->target.height != entry.height) {
        *error = path + " has the wrong size";
        return false;
    }
    return true;
}

ParamDesc* RenderTable(int panelType, int* count) {
    switch (panelType) {
        case 0: *count = DualMonoCount; return DualMonoTable;
        case 1: *count = StereoCount; return StereoTable;
        case 2: *count = AnalyserCount; return AnalyserTable;
        case PanelAnalyser: *count = AnalyserDisplayCount; return AnalyserDisplayTable;
        default: *count = 0; return nullptr;
    }
}

bool RenderPanel(SoftCanvas* canvas, const std::string& artFolder, int panelType, std::string* error) {
    if (!LoadSlotBitmaps(canvas, artFolder, error)) return false;
    if (!LoadPanelBackground(canvas, artFolder, panelType, error)) return false;
    int count = 0;
    ParamDesc* table = RenderTable(panelType, &count);
    DrawMarkedControls(CanvasOf(canvas), table, count, true);
    return true;
}

namespace {

// Fraction of the band range by place in the spectrum (0 the lowest band,
// 1 the highest): full low mids, falling towards the highs, with a ripple.
double SpectrumShape(double x) {
    static const double Points[][2] = {{0.0, 0.60}, {0.10, 0.78}, {0.22, 0.88}, {0.35, 0.76},
                                       {0.50, 0.71}, {0.65, 0.62}, {0.80, 0.50}, {1.0, 0.30}};
    constexpr int N = sizeof Points / sizeof Points[0];
    double f = Points[N - 1][1];
    for (int i = 1; i < N; ++i) {
        if (x <= Points[i][0]) {
            const double t = (x - Points[i - 1][0]) / (Points[i][0] - Points[i - 1][0]);
            f = Points[i - 1][1] + t * (Points[i][1] - Points[i - 1][1]);
            break;
        }
    }
    return f + 0.05 * std::sin(23.0 * x + 0.7);
}

void ApplyAnalyserDemoValues() {
    const AnalyserLayout layout = ComputeAnalyserLayout(CurrentAnalyserSettings());
    const AnalyserGeometry& g = AnalyserGeometryTable[layout.row];
    const double lo = g.min + layout.shift, hi = g.max + layout.shift, span = hi - lo;
    const int last = layout.shownBands - 1;
    for (int j = 0; j < AnalyserBandSlots; ++j) {
        const int column = j - layout.hiddenBands;
        const double x = column <= 0 ? 0.0 : double(column) / last;
        const double level = lo + span * SpectrumShape(x);
        double held = level + span * (0.05 + 0.06 * std::fabs(std::sin(13.0 * x + 0.4)));
        // One band has just touched the top.
        if (column == last / 4) held = hi - 0.1;
        if (held > hi - 0.1) held = hi - 0.1;
        AnalyserDisplayTable[PosFirstBand + 2 * j].value = level;
        AnalyserDisplayTable[PosFirstBand + 2 * j + 1].value = held;
    }
    // RMS left, peak left, peak right (in overload), RMS right; the
    // overload peaks over the two peak meters.
    const double meters[6] = {-16.0, -5.0, 0.0, -11.0, -1.5, 0.0};
    for (int i = 0; i < 6; ++i) AnalyserDisplayTable[PosFirstMeter + i].value = meters[i];
}

}  // namespace

void ApplyDemoValues(int panelType) {
    if (panelType == PanelAnalyser) {
        ApplyAnalyserDemoValues();
        return;
    }
    struct Demo {
        int id;
        double value;
    };
    static const Demo Dm[] = {
        {12, -18}, {16, -42},   // expander damping readouts
        {46, -9},  {47, -27},   // expander meters
        {28, -4},  {32, -11},   // de-esser readouts
        {44, -6},  {45, -21},   // de-esser meters
        {37, 7},   {40, 12},    // ALC gain readouts
        {42, 7},   {43, 12},    // ALC meters
        {48, -14}, {49, -0.5},  // level bars: right one near full scale
        {59, -8},  {60, 0},     // peak marks: right one in the overload zone
        {50, -8},  {51, 0},     // peak hold readouts
        {64, 0.6},              // correlation
        {1, 1}, {17, 1},        // phase left, expander link
    };
    static const Demo St[] = {
        {12, -18}, {16, -24}, {46, -9}, {47, -13}, {28, -4}, {32, -6}, {44, -6}, {45, -8},
        {37, 7},   {42, 7},   {48, -14}, {49, -0.5}, {59, -8}, {60, 0}, {50, -8}, {51, 0},
        {64, 0.6}, {17, 1},
    };
    static const Demo An[] = {{44, 1}, {46, 1}};
    const Demo* demos = Dm;
    int n = 0;
    int table = TableDualMono;
    switch (panelType) {
        case 0: demos = Dm; n = int(sizeof Dm / sizeof Dm[0]); table = TableDualMono; break;
        case 1: demos = St; n = int(sizeof St / sizeof St[0]); table = TableStereo; break;
        case 2: demos = An; n = int(sizeof An / sizeof An[0]); table = TableAnalyser; break;
        default: return;
    }
    for (int i = 0; i < n; ++i)
        if (ParamDesc* r = FindParam(table, demos[i].id)) r->value = demos[i].value;
}
