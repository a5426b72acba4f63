// The generated bitmaps: every resource at its size and depth, the same
// bytes on every run, legible fonts, switch and meter images that fit the
// controls, and backgrounds whose artwork leaves every control free.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "panel/analyser_layout.h"
#include "panel/control_drawing.h"
#include "panel/panel_bitmaps.h"
#include "tests/test_support.h"
#include "tools/artgen/art_draw.h"
#include "tools/artgen/art_set.h"
#include "tools/artgen/control_art.h"
#include "tools/artgen/panel_art.h"

namespace {

std::string ArtPath(const std::string& name) { return std::string(QIV_ART_DIR) + "/" + name; }

const std::vector<ArtImage>& Art() {
    static const std::vector<ArtImage> images = [] {
        FreshStart();
        return DrawAllArt();
    }();
    return images;
}

const RgbImage& ImageOf(int resource) {
    for (const ArtImage& a : Art())
        if (a.resource == resource) return a.image;
    static const RgbImage none;
    ADD_FAILURE() << "no image for resource " << resource;
    return none;
}

// ---- the files ----

TEST(ArtFiles, EveryResourceAtItsSizeAsAnEightBitBitmap) {
    int files = 0;
    auto check = [&](const PanelBitmapSlot& entry) {
        const char* name = ArtFileName(entry.resource);
        ASSERT_NE(name, nullptr) << entry.resource;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadFileBytes(ArtPath(name), &bytes)) << name;
        BmpInfo info;
        ASSERT_TRUE(ReadBmpInfo(bytes, &info)) << name;
        EXPECT_EQ(info.width, entry.width) << name;
        EXPECT_EQ(info.height, entry.height) << name;
        EXPECT_EQ(info.bitsPerPixel, 8) << name;
        EXPECT_EQ(info.compression, 0) << name;
        ++files;
    };
    for (int slot = 0; slot < PanelBitmapSlotCount; ++slot)
        if (const PanelBitmapSlot* entry = BitmapSlot(slot)) check(*entry);
    for (const PanelBitmapSlot& background : PanelBackgrounds) check(background);
    EXPECT_EQ(files, 32 + 3);
    EXPECT_EQ(ArtFiles().size(), 35u);
}

TEST(ArtFiles, BuiltFilesAreWhatTheGeneratorDrawsAndDrawingRepeatsExactly) {
    const std::vector<ArtImage> again = DrawAllArt();
    const std::vector<uint32_t> palette = ArtPalette(Art());
    ASSERT_FALSE(palette.empty()) << "more than 256 colours";
    ASSERT_EQ(again.size(), Art().size());
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].image.pixels, Art()[i].image.pixels) << again[i].name;
        std::vector<uint8_t> onDisk;
        ASSERT_TRUE(ReadFileBytes(ArtPath(again[i].name), &onDisk));
        EXPECT_EQ(onDisk, EncodeBmp(again[i].image, BmpFormat::Palette8, palette)) << again[i].name;
    }
}

TEST(ArtFiles, ResourceFragmentListsEveryBitmapOnce) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(ArtPath(ResourceFragmentName), &bytes));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, ResourceFragment());
    std::set<int> listed;
    size_t at = 0;
    while ((at = text.find(" BITMAP \"", at)) != std::string::npos) {
        const size_t lineStart = text.rfind('\n', at) + 1;
        const int resource = std::stoi(text.substr(lineStart, at - lineStart));
        const size_t nameStart = at + 9, nameEnd = text.find('"', nameStart);
        EXPECT_EQ(text.substr(nameStart, nameEnd - nameStart), ArtFileName(resource));
        EXPECT_TRUE(listed.insert(resource).second) << resource;
        at = nameEnd;
    }
    EXPECT_EQ(listed, (std::set<int>{138, 142, 148, 157, 161, 162, 173, 175, 177, 178, 180, 181,
                                     182, 184, 185, 186, 187, 188, 189, 190, 191, 192, 193, 194,
                                     195, 196, 197, 198, 199, 200, 201, 203, 204, 205, 207}));
}

TEST(ArtFiles, RunLengthFormReadsBackExactly) {
    const RgbImage& panel = ImageOf(204);
    const std::vector<uint32_t> palette = ArtPalette(Art());
    for (BmpFormat format : {BmpFormat::Palette8, BmpFormat::Palette8Rle, BmpFormat::Rgb24}) {
        RgbImage back;
        std::string error;
        ASSERT_TRUE(DecodeBmp(EncodeBmp(panel, format, palette), &back, &error)) << error;
        EXPECT_EQ(back.pixels, panel.pixels);
    }
}

// ---- fonts ----

// The cell of character c in a glyph font.
std::vector<uint32_t> Cell(const RgbImage& font, int c) {
    std::vector<uint32_t> cell;
    for (int y = 0; y < GlyphHeight; ++y)
        for (int x = 0; x < GlyphWidth; ++x) cell.push_back(font.At(GlyphWidth * (c - FirstGlyph) + x, y));
    return cell;
}

TEST(Fonts, NinetyOneDistinctGlyphsThatNeverTouch) {
    for (int slot : {SlotValueFont, SlotReadoutFont, SlotScaleFont}) {
        const RgbImage& font = ImageOf(PanelBitmapSlots[slot].resource);
        ASSERT_EQ(font.width, GlyphCount * GlyphWidth);
        const uint32_t back = font.At(GlyphWidth - 1, 0);
        std::set<std::vector<uint32_t>> seen;
        const std::vector<uint32_t> blank = Cell(font, ' ');
        for (int c = FirstGlyph; c <= LastGlyph; ++c) {
            const std::vector<uint32_t> cell = Cell(font, c);
            EXPECT_TRUE(seen.insert(cell).second) << "slot " << slot << ": '" << char(c) << "' repeats";
            if (c != ' ') {
                EXPECT_NE(cell, blank) << "slot " << slot << ": '" << char(c) << "' is empty";
            }
            // Column 5 and row 0 are background: neighbouring cells keep a gap.
            for (int y = 0; y < GlyphHeight; ++y) EXPECT_EQ(cell[size_t(y * GlyphWidth + 5)], back) << char(c);
            for (int x = 0; x < GlyphWidth; ++x) EXPECT_EQ(cell[size_t(x)], back) << char(c);
        }
    }
}

TEST(Fonts, ScaleGlyphsStandOnBlackForOring) {
    const RgbImage& font = ImageOf(203);
    EXPECT_EQ(Cell(font, ' '), std::vector<uint32_t>(GlyphWidth * GlyphHeight, 0u));
    const RgbImage& value = ImageOf(200);
    const RgbImage& readout = ImageOf(162);
    EXPECT_NE(value.At(0, 0), readout.At(0, 0));  // two text colours
}

// ---- switches and meters ----

TEST(Switches, AsWideAsTheWidestRectangleAndTwoStates) {
    FreshStart();
    for (int slot : {SlotRedSwitch, SlotSwitch, SlotResetSwitch}) {
        int widest = 0;
        for (int t = TableDualMono; t <= TableAnalyser; ++t)
            for (int i = 0; i < TableRecordCount(t); ++i)
                if (TableByNumber(t)[i].bitmap == slot) widest = std::max(widest, TableByNumber(t)[i].width);
        const RgbImage& image = ImageOf(PanelBitmapSlots[slot].resource);
        EXPECT_EQ(image.width, widest) << "slot " << slot;
        EXPECT_EQ(image.height, 20);
        bool differs = false;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x) differs |= image.At(x, y) != image.At(x, y + 10);
        EXPECT_TRUE(differs) << "slot " << slot << ": on and off look alike";
    }
}

TEST(Meters, LitAndDarkDifferInEverySegmentPixel) {
    // The level bar: every column differs between the lit and dark rows, so
    // the drawn length can be read off the panel; a gap every 4 pixels.
    const RgbImage& bar = ImageOf(142);
    for (int x = 0; x < bar.width; ++x) {
        EXPECT_NE(bar.At(x, 4), bar.At(x, 14)) << x;
        if (x % 4 == 3) {
            EXPECT_NE(bar.At(x, 4), bar.At(x - 1, 4)) << "no gap at " << x;
        }
    }
    // The overload zone is another colour than the pixels before it.
    EXPECT_NE(bar.At(421, 4), bar.At(417, 4));
    // Vertical meters: 3-pixel segments from the bottom.
    for (int resource : {148, 161}) {
        const RgbImage& m = ImageOf(resource);
        const uint32_t litGap = m.At(4, 52), darkGap = m.At(14, 52);
        for (int y = 0; y < 55; ++y) {
            const bool gap = (55 - y) % 3 == 0;
            EXPECT_EQ(m.At(4, y) == litGap, gap) << resource << " row " << y;
            EXPECT_EQ(m.At(14, y) == darkGap, gap) << resource << " row " << y;
            EXPECT_NE(m.At(4, y), m.At(14, y)) << resource << " row " << y;
        }
    }
}

// Every display size of the analyser: its band image and its level meter
// image hold the band (meter) and light whole segments. Lighting L = k x
// segment pixels from the foot starts on a gap row, whichever size uses the
// image; lit and dark halves differ.
TEST(Meters, BandSegmentsLineUpWithEverySizeThatUsesThem) {
    int uses = 0;
    std::set<int> slots;
    for (const AnalyserGeometry& g : AnalyserGeometryTable) {
        const struct {
            int slot, segment, height;
        } parts[] = {{g.bitmap, g.step, g.height}, {g.meterBitmap, g.meterStep, g.height - g.meterTop}};
        for (const auto& part : parts) {
            ASSERT_NE(BitmapSlot(part.slot), nullptr) << part.slot;
            slots.insert(part.slot);
            ++uses;
            const RgbImage& image = ImageOf(PanelBitmapSlots[part.slot].resource);
            ASSERT_GE(image.height, part.height) << part.slot;
            const int x = image.width / 4;
            for (int lit = part.segment; lit <= part.height; lit += part.segment) {
                const int top = part.height - lit;
                EXPECT_NE(image.At(x, top), image.At(x, top + 1)) << part.slot << " " << lit;
            }
            EXPECT_NE(image.At(x, part.height - 1), image.At(x + image.width / 2, part.height - 1));
        }
    }
    EXPECT_EQ(uses, 36);
    EXPECT_EQ(slots.size(), size_t(SlotLastBand - SlotFirstBand + 1));  // every band slot in use
}

// The colours follow the level: a band is red only near its top, and a
// level meter red only in its three overload segments.
TEST(Meters, BandAndMeterColoursByLevel) {
    const AnalyserGeometry& g = AnalyserGeometryTable[7];  // medium, 30 dB, 1.0 dB
    const RgbImage& band = ImageOf(PanelBitmapSlots[g.bitmap].resource);
    const RgbImage& meter = ImageOf(PanelBitmapSlots[g.meterBitmap].resource);
    const int x = band.width / 4;
    // One segment per dB: the top segment red, 10 dB below yellow, 20 below green.
    const uint32_t top = band.At(x, 4), yellow = band.At(x, 4 + 8 * 6), green = band.At(x, 4 + 8 * 20);
    EXPECT_GT(top >> 16, (top >> 8) & 0xFF);  // red above green
    EXPECT_NE(top, yellow);
    EXPECT_NE(yellow, green);
    EXPECT_GT((green >> 8) & 0xFF, green >> 16);  // green above red
    // The meter's overload segments against the one below them.
    const int h = g.height - g.meterTop, s = g.meterStep;
    const int zeroTop = h - RisingLength(-0.001, g.meterMin, 0.5, h, s, true);
    const uint32_t over = meter.At(x, zeroTop - 2), below = meter.At(x, zeroTop + 1);
    EXPECT_GT(over >> 16, 0xC0u);
    EXPECT_LT((over >> 8) & 0xFF, 0x80u);
    EXPECT_NE(over, below);
}

// ---- backgrounds against the tables ----

struct Rect {
    int x0, y0, x1, y1;  // inclusive
};
bool Overlap(const Rect& a, const Rect& b) { return !(a.x1 < b.x0 || b.x1 < a.x0 || a.y1 < b.y0 || b.y1 < a.y0); }
Rect RectOf(const ArtBox& a) { return {a.x, a.y, a.x + a.width - 1, a.y + a.height - 1}; }
Rect Drawn(const ParamDesc& r) { return {r.x, r.y, r.x + r.width - 1, r.y + r.height - 1}; }
// The control, its bezel ring and one pixel of clearance.
Rect Clearance(const ParamDesc& r) { return {r.x - 2, r.y - 2, r.x + r.width + 1, r.y + r.height + 1}; }

const char* PanelName(int type) { return type == 0 ? "Dual Mono" : type == 1 ? "Stereo" : "settings"; }

TEST(Backgrounds, SizesAndControlAreasFreeOfArtwork) {
    FreshStart();
    for (int type = 0; type < BitmapPanelCount; ++type) {
        const PanelArt art = DrawPanelArt(type);
        EXPECT_EQ(art.image.width, PanelBackgrounds[type].width);
        EXPECT_EQ(art.image.height, PanelBackgrounds[type].height);
        const ParamDesc* table = PanelTable(type);
        for (int i = 0; i < PanelTableCount(type); ++i) {
            const ParamDesc& r = table[i];
            // Under a control the background is one plain colour: no label,
            // line or scale reaches into it.
            const uint32_t well = WellColourOf(r);
            for (int y = r.y; y < r.y + r.height; ++y)
                for (int x = r.x; x < r.x + r.width; ++x)
                    ASSERT_EQ(art.image.At(x, y), well) << PanelName(type) << " " << r.name << " at " << x << "," << y;
        }
    }
}

TEST(Backgrounds, NoArtworkNearAControlOrOffThePanel) {
    FreshStart();
    for (int type = 0; type < BitmapPanelCount; ++type) {
        const PanelArt art = DrawPanelArt(type);
        const ParamDesc* table = PanelTable(type);
        const Rect panel = {0, 0, art.image.width - 1, art.image.height - 1};
        ASSERT_FALSE(art.boxes.empty());
        for (const ArtBox& box : art.boxes) {
            const Rect b = RectOf(box);
            EXPECT_TRUE(b.x0 >= 0 && b.y0 >= 0 && b.x1 <= panel.x1 && b.y1 <= panel.y1)
                << PanelName(type) << ": artwork off the panel at " << box.x << "," << box.y;
            for (int i = 0; i < PanelTableCount(type); ++i)
                EXPECT_FALSE(Overlap(b, Clearance(table[i])))
                    << PanelName(type) << ": artwork at " << box.x << "," << box.y << " " << box.width << "x"
                    << box.height << " touches " << table[i].name;
        }
        // Printed things (labels, titles, marks, scales, plate, screws) do
        // not run into each other.
        for (size_t a = 0; a < art.boxes.size(); ++a) {
            for (size_t b = a + 1; b < art.boxes.size(); ++b) {
                if (art.boxes[a].kind == ArtKind::Groove || art.boxes[b].kind == ArtKind::Groove) continue;
                EXPECT_FALSE(Overlap(RectOf(art.boxes[a]), RectOf(art.boxes[b])))
                    << PanelName(type) << ": boxes at " << art.boxes[a].x << "," << art.boxes[a].y << " and "
                    << art.boxes[b].x << "," << art.boxes[b].y;
            }
        }
        // Grooves cross no printing.
        for (const ArtBox& g : art.boxes) {
            if (g.kind != ArtKind::Groove) continue;
            for (const ArtBox& other : art.boxes) {
                if (other.kind == ArtKind::Groove) continue;
                EXPECT_FALSE(Overlap(RectOf(g), RectOf(other)))
                    << PanelName(type) << ": groove at " << g.x << "," << g.y << " crosses artwork at "
                    << other.x << "," << other.y;
            }
        }
    }
}

TEST(Backgrounds, TitlesKeepAFreeRowBelowThePanelsTopEdge) {
    // Row 0 is the light edge; a title on row 1 would touch it.
    FreshStart();
    for (int type = 0; type < BitmapPanelCount; ++type) {
        for (const ArtBox& box : DrawPanelArt(type).boxes) {
            if (box.kind != ArtKind::Title) continue;
            EXPECT_GE(box.y, 2) << PanelName(type) << ": title at " << box.x;
        }
    }
}

TEST(Backgrounds, EveryControlHasALabelOrSharesItsColumnsLabel) {
    FreshStart();
    for (int type = 0; type < BitmapPanelCount; ++type) {
        const PanelArt art = DrawPanelArt(type);
        const ParamDesc* table = PanelTable(type);
        std::set<int> labelled;
        for (const ArtBox& box : art.boxes)
            if (box.record >= 0 && (box.kind == ArtKind::Label || box.kind == ArtKind::Mark || box.kind == ArtKind::Title))
                labelled.insert(box.record);
        for (const auto& [record, with] : art.shared) {
            EXPECT_TRUE(labelled.count(with)) << table[with].name;
            EXPECT_EQ(table[record].x, table[with].x) << table[record].name << " shares a label of another column";
            EXPECT_EQ(table[record].width, table[with].width) << table[record].name;
            labelled.insert(record);
        }
        for (int i = 0; i < PanelTableCount(type); ++i)
            EXPECT_TRUE(labelled.count(i)) << PanelName(type) << ": " << table[i].name << " has no label";
        // Two channel marks per panel at least: L and R.
        int marks = 0;
        for (const ArtBox& box : art.boxes) marks += box.kind == ArtKind::Mark;
        EXPECT_GE(marks, 2) << PanelName(type);
    }
}

TEST(Backgrounds, ControlFramesLeaveOtherControlsFree) {
    // The bezel drawn around a control must not reach into another one;
    // controls that share their rectangle (a bar and its peak mark) are one.
    FreshStart();
    for (int type = 0; type < BitmapPanelCount; ++type) {
        const ParamDesc* table = PanelTable(type);
        for (int i = 0; i < PanelTableCount(type); ++i) {
            const ParamDesc& a = table[i];
            const Rect ring = {a.x - 1, a.y - 1, a.x + a.width, a.y + a.height};
            for (int j = 0; j < PanelTableCount(type); ++j) {
                const ParamDesc& b = table[j];
                if (i == j || (a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height)) continue;
                EXPECT_FALSE(Overlap(ring, Drawn(b))) << PanelName(type) << ": " << a.name << " / " << b.name;
            }
        }
    }
}

TEST(Backgrounds, FollowTheTablesRectangles) {
    // Move a control: its well and label move with it.
    FreshStart();
    ParamDesc* release = FindParam(TableDualMono, 54);
    release->x += 100;
    const PanelArt art = DrawPanelArt(0);
    const int pos = int(release - DualMonoTable);
    bool found = false;
    for (const ArtBox& box : art.boxes) {
        if (box.record != pos || box.kind != ArtKind::Label) continue;
        found = true;
        EXPECT_EQ(box.x + box.width, release->x - 3);
        EXPECT_EQ(box.y, release->y + 1);
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(art.image.At(release->x, release->y), WellColourOf(*release));
    FreshStart();
}

}  // namespace
