// Whole panels as the program paints them: background, then every control,
// compared pixel for pixel with golden images in tests/golden. Run with
// QIV_UPDATE_GOLDEN=1 to rewrite the golden images after a deliberate
// change of the artwork or the drawing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "panel/analyser_layout.h"
#include "panel/control_drawing.h"
#include "panel/panel_zoom.h"
#include "tests/panel_recorder.h"
#include "tests/test_support.h"
#include "tools/render/soft_canvas.h"

namespace {

const char* const GoldenNames[3] = {"dual_mono.bmp", "stereo.bmp", "analyser_settings.bmp"};

RgbImage Paint(int type) {
    SoftCanvas canvas;
    std::string error;
    EXPECT_TRUE(RenderPanel(&canvas, QIV_ART_DIR, type, &error)) << error;
    EXPECT_EQ(canvas.outsideReads, 0);
    return canvas.target;
}

void CompareWithGolden(const RgbImage& actual, const std::string& name) {
    const std::string path = std::string(QIV_GOLDEN_DIR) + "/" + name;
    if (std::getenv("QIV_UPDATE_GOLDEN") != nullptr) {
        const std::vector<uint32_t> colours = ColoursOf({&actual});
        const bool fits = colours.size() <= 256;
        ASSERT_TRUE(WriteFileBytes(path, EncodeBmp(actual, fits ? BmpFormat::Palette8Rle : BmpFormat::Rgb24, colours)))
            << path;
        return;
    }
    RgbImage golden;
    std::string error;
    ASSERT_TRUE(ReadBmpFile(path, &golden, &error)) << error << " (QIV_UPDATE_GOLDEN=1 writes it)";
    ASSERT_EQ(golden.width, actual.width);
    ASSERT_EQ(golden.height, actual.height);
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            if (golden.At(x, y) == actual.At(x, y)) continue;
            if (differing++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    if (differing > 0) {
        const std::string saved = std::string(QIV_ART_DIR) + "/../actual_" + name;
        WriteFileBytes(saved, EncodeBmp(actual, BmpFormat::Rgb24, {}));
        ADD_FAILURE() << name << ": " << differing << " pixels differ, the first at " << firstX << "," << firstY
                      << "; this paint is in " << saved;
    }
}

TEST(Golden, PanelsWithDemoValues) {
    for (int type = 0; type < 3; ++type) {
        FreshStart();
        ApplyDemoValues(type);
        CompareWithGolden(Paint(type), GoldenNames[type]);
    }
    FreshStart();
}

// The analyser panel in the looks its settings give it, with a music-like
// spectrum, held peaks and level meters (one channel in overload).
TEST(Golden, AnalyserPanels) {
    const struct {
        const char* name;
        double type, size, range, resolution, meters, mode, instant, top, rate;
        int width, height;
    } panels[] = {
        // 10 bands, small, 30 dB, 1.0 dB, Bar, 44.1 kHz, meters off.
        {"analyser_10band_small.bmp", 0, 0, 0, 1, 0, 1, 0, 7, 1, 192, 165},
        // 30 bands, big, 50 dB, 0.5 dB, Peak Hold, meters on.
        {"analyser_30band_big_meters.bmp", 6, 2, 1, 0, 1, 2, 0, 7, 2, 892, 546},
        // The three display modes: 20 bands, medium, 30 dB, 1.0 dB.
        {"analyser_point.bmp", 4, 1, 0, 1, 1, 0, 0, 7, 2, 527, 289},
        {"analyser_bar.bmp", 4, 1, 0, 1, 1, 1, 0, 7, 2, 527, 289},
        {"analyser_peak_hold.bmp", 4, 1, 0, 1, 1, 2, 0, 7, 2, 527, 289},
        // Bar with instant hold: the held levels as bars.
        {"analyser_instant_hold.bmp", 4, 1, 0, 1, 1, 1, 1, 7, 2, 527, 289},
        // Top level 0 dB: 15 bands at 32.0 kHz (none dropped), 50 dB.
        {"analyser_top_0db.bmp", 3, 1, 1, 1, 0, 2, 0, 7, 0, 337, 296},
        // Top level -20 dB: 20 bands at 32.0 kHz lose "20k", meters on.
        {"analyser_top_minus20db.bmp", 5, 1, 1, 1, 1, 2, 0, 5, 0, 508, 296},
    };
    for (const auto& p : panels) {
        SCOPED_TRACE(p.name);
        FreshStart();
        const struct {
            int id;
            double value;
        } settings[] = {{33, p.type},   {43, p.size}, {37, p.range},   {42, p.resolution}, {51, p.meters},
                        {40, p.mode},   {44, p.instant}, {38, p.top}, {55, p.rate}};
        for (const auto& setting : settings) FindParam(TableAnalyser, setting.id)->value = setting.value;
        ApplyDemoValues(PanelAnalyser);
        const RgbImage image = Paint(PanelAnalyser);
        EXPECT_EQ(image.width, p.width);
        EXPECT_EQ(image.height, p.height);
        CompareWithGolden(image, p.name);
    }
    FreshStart();
}

RgbImage Zoomed(const RgbImage& panel, int halves) {
    RgbImage out(ScaleToScreen(panel.width, halves), ScaleToScreen(panel.height, halves), 0);
    ZoomPixels(panel.pixels.data(), panel.width, 0, 0, panel.width, panel.height, out.pixels.data(), out.width, halves);
    return out;
}

// At 200 % as the program shows them: every panel pixel a 2 x 2 block.
TEST(Golden, PanelsAt200Percent) {
    constexpr int halves200 = 4;
    FreshStart();
    ApplyDemoValues(PanelDualMono);
    const RgbImage dualMono = Zoomed(Paint(PanelDualMono), halves200);
    EXPECT_EQ(dualMono.width, 1598);
    EXPECT_EQ(dualMono.height, 504);
    CompareWithGolden(dualMono, "dual_mono_200.bmp");

    FreshStart();
    const struct {
        int id;
        double value;
    } smallest[] = {{33, 0}, {43, 0}, {37, 0}, {42, 1}, {51, 0}, {40, 1}, {44, 0}, {38, 7}, {55, 1}};
    for (const auto& setting : smallest) FindParam(TableAnalyser, setting.id)->value = setting.value;
    ApplyDemoValues(PanelAnalyser);
    CompareWithGolden(Zoomed(Paint(PanelAnalyser), halves200), "analyser_10band_small_200.bmp");
    FreshStart();
}

TEST(Golden, EmptyPanelIsFlatGrey) {
    SoftCanvas canvas;
    std::string error;
    ASSERT_TRUE(RenderPanel(&canvas, QIV_ART_DIR, PanelEmpty, &error)) << error;
    EXPECT_EQ(canvas.target.width, 300);
    EXPECT_EQ(canvas.target.height, 20);
    EXPECT_EQ(canvas.target.pixels, std::vector<uint32_t>(300 * 20, 0x787878u));
}

// After a device frame only the changed records are drawn; the panel must
// then look as if it had been painted whole with the new values.
TEST(Redraw, MarkedRecordsBringThePanelUpToDate) {
    FreshStart();
    SoftCanvas canvas;
    std::string error;
    ASSERT_TRUE(RenderPanel(&canvas, QIV_ART_DIR, 0, &error)) << error;
    const struct {
        int id;
        double value;
    } changes[] = {{9, -110}, {10, 4.5}, {5, 0}, {55, 6}, {56, 2}, {46, -33}, {42, 20},
                   {64, -0.7}, {48, -3}, {59, -3}, {50, -3}, {67, 1}};
    for (const auto& c : changes) {
        ParamDesc* r = FindParam(TableDualMono, c.id);
        r->value = c.value;
        r->flags |= Redraw;
    }
    canvas.copies = 0;
    DrawMarkedControls(CanvasOf(&canvas), DualMonoTable, DualMonoCount, false);
    EXPECT_GT(canvas.copies, 0);
    EXPECT_LT(canvas.copies, 100);  // a dozen records, not the whole panel (about 700 copies)
    for (int i = 0; i < DualMonoCount; ++i) EXPECT_EQ(DualMonoTable[i].flags & Redraw, 0u);
    const RgbImage incremental = canvas.target;
    EXPECT_EQ(incremental.pixels, Paint(0).pixels);
    FreshStart();
}

}  // namespace
