// Panel backgrounds. Every position below is derived from the records'
// rectangles: labels keep a fixed distance from the control they name,
// dividers run through the middle of the gap between two sections, the
// metering strip's groove through the middle of the gap above it.
#include "tools/artgen/panel_art.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "panel/control_drawing.h"
#include "panel/panel_bitmaps.h"
#include "tools/artgen/art_draw.h"
#include "tools/artgen/pixel_font.h"

namespace {

using TS = TextStyle;

enum class Place {
    Left,   // right-aligned before the control, on the line of its text
    Above,  // centred over the control
    Below,  // centred under the control
    Badge,  // channel mark in a light badge before the control
    Side,   // channel mark in the small print, in the gap left of a meter
    Share,  // no label of its own: shares the label of `share`
};

struct LabelPlan {
    int id;
    const char* text;
    Place place;
    TS style;
    int share;  // id whose label this control shares (Place::Share)
};

constexpr LabelPlan L(int id, const char* text) { return {id, text, Place::Left, TS::Normal, -1}; }
constexpr LabelPlan Up(int id, const char* text) { return {id, text, Place::Above, TS::Normal, -1}; }
constexpr LabelPlan Down(int id, const char* text) { return {id, text, Place::Below, TS::Normal, -1}; }
constexpr LabelPlan Small(int id, const char* text) { return {id, text, Place::Left, TS::Small, -1}; }
constexpr LabelPlan Badge(int id, const char* text) { return {id, text, Place::Badge, TS::Normal, -1}; }
constexpr LabelPlan Side(int id, const char* text) { return {id, text, Place::Side, TS::Small, -1}; }
constexpr LabelPlan Share(int id, int with) { return {id, nullptr, Place::Share, TS::Normal, with}; }

constexpr char Phase[] = {PhaseSign, '\0'};

// A section: its title, the id of its on/off switch (which the title
// labels) or -1, and the ids of its controls, ending with -1.
struct SectionPlan {
    const char* title;
    int switchId;
    const int* ids;
};

struct PanelPlan {
    int titleY;                  // top row of the section titles
    TS titleStyle;               // their font
    const SectionPlan* sections;  // upper row, left to right
    int sectionCount;
    const SectionPlan* strip;  // the metering strip along the bottom, or null
    const LabelPlan* labels;
    int labelCount;
    const char* function;  // the function on the name plate, or null
};

// ---- Dual Mono ----

constexpr int DmInput[] = {0, 1, 2, 3, 4, -1};
constexpr int DmLowCut[] = {5, 6, 7, -1};
constexpr int DmDelay[] = {21, 22, 23, 67, 68, 69, 70, -1};
constexpr int DmExpander[] = {8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 66, 46, 47, -1};
constexpr int DmDeEsser[] = {24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 44, 45, -1};
constexpr int DmNlc[] = {18, 19, 20, -1};
constexpr int DmAlc[] = {34, 35, 62, 36, 37, 38, 63, 39, 40, 41, 42, 43, -1};
constexpr int DmOutput[] = {61, 55, 56, 57, 58, 65, -1};
constexpr int Metering[] = {52, 53, 54, 48, 49, 59, 60, 64, 50, 51, -1};

constexpr SectionPlan DmSections[] = {
    {"INPUT", -1, DmInput},         {"LOW CUT", 5, DmLowCut}, {"DELAY", 21, DmDelay},
    {"EXPANDER", 8, DmExpander},    {"DE-ESSER", 24, DmDeEsser}, {"NLC", 18, DmNlc},
    {"ALC", 34, DmAlc},             {"OUTPUT", -1, DmOutput},
};
constexpr SectionPlan MeteringStrip = {"METERING", -1, Metering};

// Labels shared by the Dual Mono and Stereo panels come first.
#define QIV_COMMON_LABELS                                                                        \
    Up(0, "SOURCE"), Badge(0, "L"), L(1, Phase), Up(2, "SOURCE"), Badge(2, "R"), L(3, Phase),    \
        Up(4, "M/S"), Up(6, "FREQ"), L(9, "THR"), L(10, "RATIO"), L(11, "REL"),               \
        L(17, "LINK"), L(66, "SLOW"), Up(46, "GR"),                                                \
        Up(19, "GAIN"), Up(22, "TIME"), Up(23, "TIME"), L(67, "EXP"), L(68, "ALC"),              \
        L(69, "EXP"), L(70, "ALC"), L(25, "FREQ"), L(26, "Q"), L(27, "RATIO"),                  \
        L(33, "LISTEN"), Up(44, "GR"), L(35, "MAX"), L(62, "HDRM"),                              \
        L(36, "RISE"), L(37, "GAIN"), Up(42, "GAIN"), L(52, "SOURCE"), L(53, "HOLD"),            \
        L(54, "RELEASE"), Badge(48, "L"), Badge(49, "R"), Share(59, 48), Share(60, 49),          \
        L(64, "CORR"), L(50, "PEAK"), L(51, "PEAK"), L(61, "BYPASS"), L(55, "RATE"),             \
        Up(56, "CHANNEL STATUS"), L(57, "BITS"), L(58, "DITH"), L(65, "WCLK OUT")

constexpr LabelPlan DmLabels[] = {
    QIV_COMMON_LABELS,
    L(12, "DAMP"), L(16, "DAMP"), Share(47, 46), L(28, "GR"), L(32, "GR"), Share(45, 44),
    Up(7, "FREQ"), L(13, "THR"), L(14, "RATIO"), L(15, "REL"), Up(20, "GAIN"),
    L(29, "FREQ"), L(30, "Q"), L(31, "RATIO"), L(38, "MAX"), L(63, "HDRM"),
    L(39, "RISE"), L(40, "GAIN"), L(41, "LINK"), Share(43, 42),
};

// ---- Stereo ----

constexpr int StInput[] = {0, 1, 2, 3, 4, -1};
constexpr int StLowCut[] = {5, 6, -1};
constexpr int StDelay[] = {21, 22, 23, 67, 68, 69, 70, -1};
constexpr int StExpander[] = {8, 9, 10, 11, 12, 16, 66, 17, 46, 47, -1};
constexpr int StDeEsser[] = {24, 25, 26, 27, 28, 32, 33, 44, 45, -1};
constexpr int StNlc[] = {18, 19, -1};
constexpr int StAlc[] = {34, 35, 62, 36, 37, 42, -1};
constexpr int StOutput[] = {61, 55, 56, 57, 58, 65, -1};

constexpr SectionPlan StSections[] = {
    {"INPUT", -1, StInput},      {"LOW CUT", 5, StLowCut},    {"DELAY", 21, StDelay},
    {"EXPANDER", 8, StExpander}, {"DE-ESSER", 24, StDeEsser}, {"NLC", 18, StNlc},
    {"ALC", 34, StAlc},          {"OUTPUT", -1, StOutput},
};

// One row of readouts and one meter per channel, where the Dual Mono panel
// has a row per channel: each names its channel.
constexpr LabelPlan StLabels[] = {
    QIV_COMMON_LABELS,
    L(12, "DAMP L"), L(16, "DAMP R"), L(28, "GR L"), L(32, "GR R"),
    Side(46, "L"), Side(47, "R"), Side(44, "L"), Side(45, "R"),
};

#undef QIV_COMMON_LABELS

// ---- Analyser settings ----

constexpr int AnInput[] = {0, 1, 2, 3, 4, -1};
constexpr int AnAnalyser[] = {33, 34, 35, 36, 39, 44, 45, 37, 38, 40, 43, 42, 46, -1};
constexpr int AnMeter[] = {51, 52, 53, 54, -1};
constexpr int AnOutput[] = {61, 55, 57, 58, 56, 65, -1};

constexpr SectionPlan AnSections[] = {
    {"INPUT", -1, AnInput},
    {"ANALYSER", -1, AnAnalyser},
    {"METER", -1, AnMeter},
    {"OUTPUT", -1, AnOutput},
};

constexpr LabelPlan AnLabels[] = {
    Up(0, "SOURCE"), Badge(0, "L"), L(1, Phase), Up(2, "SOURCE"), Badge(2, "R"), L(3, Phase),
    Down(4, "M/S"), L(33, "TYPE"), L(34, "INPUT"), L(35, "RISE"), L(36, "RELEASE"),
    L(39, "HOLD"), L(44, "INST"), Down(45, "RESET"), L(37, "RANGE"), L(38, "TOP"),
    L(40, "MODE"), L(43, "SIZE"), L(42, "RES"), Down(46, "FREEZE"), L(51, "DISPLAY"),
    Up(52, "SOURCE"), Up(53, "PEAK HOLD"), Up(54, "RELEASE"), L(61, "BYPASS"), L(55, "RATE"),
    L(57, "BITS"), L(58, "DITH"), Up(56, "CHANNEL STATUS"), L(65, "WCLK OUT"),
};

template <typename T, int N>
constexpr int CountOf(const T (&)[N]) {
    return N;
}

const PanelPlan Plans[BitmapPanelCount] = {
    // The titles of the upper sections stand between the panel's light top
    // edge and the switch frames at row 9, a free row on either side: they
    // are one row lower than the other bold texts.
    {2, TS::Title, DmSections, CountOf(DmSections), &MeteringStrip, DmLabels, CountOf(DmLabels), "DUAL MONO"},
    {2, TS::Title, StSections, CountOf(StSections), &MeteringStrip, StLabels, CountOf(StLabels), "STEREO"},
    {11, TS::Bold, AnSections, CountOf(AnSections), nullptr, AnLabels, CountOf(AnLabels), nullptr},
};

// ---- geometry ----

struct Box {
    int x0, y0, x1, y1;  // inclusive corners; empty when x1 < x0
    bool Empty() const { return x1 < x0 || y1 < y0; }
    void Add(const Box& b) {
        if (b.Empty()) return;
        if (Empty()) {
            *this = b;
            return;
        }
        x0 = std::min(x0, b.x0);
        y0 = std::min(y0, b.y0);
        x1 = std::max(x1, b.x1);
        y1 = std::max(y1, b.y1);
    }
};
constexpr Box NoBox = {0, 0, -1, -1};

Box BoxOf(const ArtBox& a) { return {a.x, a.y, a.x + a.width - 1, a.y + a.height - 1}; }

// The control with its bezel ring.
Box FramedBox(const ParamDesc& r) { return {r.x - 1, r.y - 1, r.x + r.width, r.y + r.height}; }

bool Drawn(const ParamDesc& r) { return r.kind != ControlKind::None && (r.flags & Hidden) == 0; }

struct Layout {
    const PanelPlan* plan;
    ParamDesc* table;
    int count;
    int width, height;
    PanelArt art;
    int stripGroove = -1;  // row of the metering strip's groove

    int PositionOf(int id) const {
        for (int i = 0; i < count; ++i)
            if (table[i].id == id) return i;
        return -1;
    }
    void AddBox(ArtKind kind, int x, int y, int w, int h, int record) {
        art.boxes.push_back({kind, x, y, w, h, record});
    }
    // Everything that belongs to a section: framed controls and the boxes
    // labelling them.
    Box SectionExtent(const SectionPlan& s) const {
        Box b = NoBox;
        for (const int* id = s.ids; *id >= 0; ++id) {
            const int pos = PositionOf(*id);
            if (pos < 0) continue;
            b.Add(FramedBox(table[pos]));
            for (const ArtBox& a : art.boxes)
                if (a.record == pos && a.kind != ArtKind::Title) b.Add(BoxOf(a));
        }
        return b;
    }
};

// ---- painting pieces ----

void HGroove(RgbImage& image, int x0, int x1, int y) {
    if (x1 < x0) return;
    HLine(image, x0, y, x1 - x0 + 1, Colour::GrooveDark);
    HLine(image, x0, y + 1, x1 - x0 + 1, Colour::GrooveLight);
}

void VGroove(RgbImage& image, int x, int y0, int y1) {
    if (y1 < y0) return;
    VLine(image, x, y0, y1 - y0 + 1, Colour::GrooveDark);
    VLine(image, x + 1, y0, y1 - y0 + 1, Colour::GrooveLight);
}

void DrawBadge(RgbImage& image, int x, int y, const char* text) {
    FillRect(image, x + 1, y, 7, 9, Colour::Label);
    FillRect(image, x, y + 1, 9, 7, Colour::Label);
    DrawText(image, x + 2, y + 1, text, TS::Normal, Colour::BadgeText);
}

void DrawScrew(RgbImage& image, int x, int y) {
    static const char* const Rows[7] = {"..ooo..", ".ohhho.", "ohhhllo", "o-----o",
                                        "ohhhhho", ".ohhho.", "..ooo.."};
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            const char p = Rows[r][c];
            if (p == '.') continue;
            const uint32_t colour = p == 'o'   ? Colour::ScrewRim
                                    : p == 'h' ? Colour::ScrewHead
                                    : p == 'l' ? Colour::ScrewLight
                                               : Colour::ScrewSlot;
            image.At(x + c, y + r) = colour;
        }
    }
}

// ---- layout steps ----

void PlaceLabels(Layout& lay) {
    const PanelPlan& plan = *lay.plan;
    for (int i = 0; i < plan.labelCount; ++i) {
        const LabelPlan& l = plan.labels[i];
        const int pos = lay.PositionOf(l.id);
        if (pos < 0) continue;
        const ParamDesc& r = lay.table[pos];
        if (l.place == Place::Share) {
            const int with = lay.PositionOf(l.share);
            if (with >= 0) lay.art.shared.push_back({pos, with});
            continue;
        }
        if (l.place == Place::Badge) {
            lay.AddBox(ArtKind::Mark, r.x - 12, r.y + (r.height - 9) / 2, 9, 9, pos);
            DrawBadge(lay.art.image, r.x - 12, r.y + (r.height - 9) / 2, l.text);
            continue;
        }
        const int tw = TextWidth(l.text, l.style), th = TextHeight(l.style);
        if (l.place == Place::Side) {
            const int x = r.x - 3 - tw, y = r.y + (r.height - th) / 2;
            lay.AddBox(ArtKind::Mark, x, y, tw + 1, th + 1, pos);
            DrawPrint(lay.art.image, x, y, l.text, l.style, Colour::Label);
            continue;
        }
        int x = 0, y = 0;
        switch (l.place) {
            case Place::Left:
                x = r.x - 4 - tw;
                y = r.y + (r.height - th) / 2;
                break;
            case Place::Above:
                x = r.x + (r.width - tw) / 2;
                y = r.y - 4 - th;
                break;
            case Place::Below:
                x = r.x + (r.width - tw) / 2;
                y = r.y + r.height + 3;
                break;
            default:
                break;
        }
        lay.AddBox(ArtKind::Label, x, y, tw + 1, th + 1, pos);
        DrawPrint(lay.art.image, x, y, l.text, l.style, Colour::Label);
    }
}

// A number of a vertical meter scale, right of the meter, centred on its row.
void VerticalMark(Layout& lay, int pos, int row, const char* text, Box& extent) {
    const ParamDesc& r = lay.table[pos];
    row = std::min(std::max(row, r.y), r.y + r.height - 1);
    const int tx = r.x + r.width + 3;
    const int ty = row - 2;
    DrawPrint(lay.art.image, tx, ty, text, TS::Small, Colour::Label);
    extent.Add({tx, ty, tx + TextWidth(text, TS::Small), ty + 5});
}

void PlaceMeterScales(Layout& lay) {
    int lowestBar = -1, highestBar = -1;
    for (int pos = 0; pos < lay.count; ++pos) {
        const ParamDesc& r = lay.table[pos];
        if (!Drawn(r)) continue;
        Box extent = NoBox;
        switch (r.kind) {
            case ControlKind::ReductionMeter:  // depth of the reduction, in dB
                for (int db = 0; db <= 50; db += 10) {
                    char text[8];
                    std::snprintf(text, sizeof text, "%d", db);
                    // Evenly spaced from the top row (0) to the bottom row
                    // (50), not on the 3-pixel segments, which would space
                    // them 9 to 12 pixels apart.
                    VerticalMark(lay, pos, r.y + db * (r.height - 1) / 50, text, extent);
                }
                break;
            case ControlKind::RisingBar: {  // gain, in dB
                static const int Marks[] = {24, 18, 12, 6};
                for (int db : Marks) {
                    char text[8];
                    std::snprintf(text, sizeof text, "%d", db);
                    const int lit = RisingLength(db, r.min, r.max, r.height, int(r.step), false);
                    VerticalMark(lay, pos, r.y + r.height - lit, text, extent);
                }
                break;
            }
            case ControlKind::NeedleMeter: {  // correlation
                static const struct {
                    double v;
                    const char* text;
                } Marks[] = {{1, "+1"}, {0, "0"}, {-1, "-1"}};
                for (const auto& m : Marks) {
                    const int lit = NeedleLength(m.v, r.min, r.max, r.height);
                    VerticalMark(lay, pos, r.y + r.height - lit, m.text, extent);
                }
                break;
            }
            case ControlKind::LevelBar:
                if (lowestBar < 0 || r.y > lay.table[lowestBar].y) lowestBar = pos;
                if (highestBar < 0 || r.y < lay.table[highestBar].y) highestBar = pos;
                break;
            default:
                break;
        }
        if (!extent.Empty())
            lay.AddBox(ArtKind::Scale, extent.x0, extent.y0, extent.x1 - extent.x0 + 1,
                       extent.y1 - extent.y0 + 1, pos);
    }
    if (lowestBar < 0) return;
    // dB scale under the lowest level bar: ticks on the last column of the
    // segment that a value lights last.
    const ParamDesc& bar = lay.table[lowestBar];
    static const int Marks[] = {-60, -50, -40, -30, -20, -10, -6, -3, 0};
    Box extent = NoBox;
    const int tickY = bar.y + bar.height + 2;
    for (int db : Marks) {
        const double v = db == 0 ? -0.01 : db;  // 0: the edge of the overload zone
        const int col = bar.x + LevelBarLength(v, bar.min, bar.max, bar.width) - 1;
        VLine(lay.art.image, col, tickY, 2, Colour::Label);
        char text[8];
        std::snprintf(text, sizeof text, "%d", db);
        const int tw = TextWidth(text, TS::Small);
        const int tx = col - tw / 2;
        DrawPrint(lay.art.image, tx, tickY + 3, text, TS::Small, Colour::Label);
        extent.Add({col, tickY, col, tickY + 1});
        extent.Add({tx, tickY + 3, tx + tw, tickY + 8});
    }
    const int dbX = bar.x + bar.width + 3;
    DrawPrint(lay.art.image, dbX, tickY + 3, "dB", TS::Small, Colour::Label);
    extent.Add({dbX, tickY + 3, dbX + TextWidth("dB", TS::Small), tickY + 8});
    lay.AddBox(ArtKind::Scale, extent.x0, extent.y0, extent.x1 - extent.x0 + 1, extent.y1 - extent.y0 + 1,
               lowestBar);
    // The overload zone's name at the end of the upper bar.
    const ParamDesc& top = lay.table[highestBar];
    const int ovrX = top.x + top.width + 3;
    const int ovrY = top.y + (top.height - 5) / 2;
    DrawPrint(lay.art.image, ovrX, ovrY, "OVR", TS::Small, Colour::Warn);
    lay.AddBox(ArtKind::Scale, ovrX, ovrY, TextWidth("OVR", TS::Small) + 1, 6, highestBar);
}

// Section titles, their groove and the dividers between sections.
void PlaceSections(Layout& lay) {
    const PanelPlan& plan = *lay.plan;
    RgbImage& image = lay.art.image;
    const int margin = 12;  // clear of the screws
    std::vector<Box> extents;
    std::vector<Box> titles;
    const int titleHeight = TextHeight(plan.titleStyle);
    for (int s = 0; s < plan.sectionCount; ++s) {
        const SectionPlan& sec = plan.sections[s];
        Box extent = lay.SectionExtent(sec);
        const int switchPos = sec.switchId >= 0 ? lay.PositionOf(sec.switchId) : -1;
        int cx0 = extent.x0 + 1, cx1 = extent.x1 - 1;
        if (switchPos >= 0) {
            cx0 = lay.table[switchPos].x;
            cx1 = lay.table[switchPos].x + lay.table[switchPos].width - 1;
        }
        const int tw = TextWidth(sec.title, plan.titleStyle);
        const int tx = (cx0 + cx1 + 1 - tw) / 2;
        DrawText(image, tx, plan.titleY, sec.title, plan.titleStyle, Colour::Title);
        lay.AddBox(ArtKind::Title, tx, plan.titleY, tw, titleHeight, switchPos);
        const Box title = {tx, plan.titleY, tx + tw - 1, plan.titleY + titleHeight - 1};
        extent.Add(title);
        extents.push_back(extent);
        titles.push_back(title);
    }
    const int grooveY = plan.titleY + (titleHeight - 1) / 2;  // through the titles' middle
    const int bottom = lay.stripGroove >= 0 ? lay.stripGroove - 1 : lay.height - 6;
    std::vector<int> dividers;  // left column of each divider
    for (size_t s = 0; s + 1 < extents.size(); ++s) {
        const int mid = (extents[s].x1 + extents[s + 1].x0) / 2;
        if (mid > extents[s].x1 && mid + 1 < extents[s + 1].x0) {
            dividers.push_back(mid);
            VGroove(image, mid, grooveY, bottom);
            lay.AddBox(ArtKind::Groove, mid, grooveY, 2, bottom - grooveY + 1, -1);
        } else {
            dividers.push_back(-1);
        }
    }
    // The title line of each section runs from divider to divider, broken
    // by the title.
    for (size_t s = 0; s < titles.size(); ++s) {
        const int left = s == 0 || dividers[s - 1] < 0 ? margin : dividers[s - 1] + 2;
        const int right = s + 1 == titles.size() || dividers[s] < 0 ? lay.width - 1 - margin : dividers[s] - 1;
        const int a0 = left, a1 = titles[s].x0 - 5;
        const int b0 = titles[s].x1 + 5, b1 = right;
        // Only where nothing of the section lies on the line.
        auto clear = [&](int x0, int x1) {
            const Box line = {x0, grooveY, x1, grooveY + 1};
            for (const ArtBox& a : lay.art.boxes) {
                const Box b = BoxOf(a);
                if (a.kind == ArtKind::Groove) continue;
                if (!(b.x1 < line.x0 || line.x1 < b.x0 || b.y1 < line.y0 || line.y1 < b.y0)) return false;
            }
            for (int i = 0; i < lay.count; ++i) {
                if (!Drawn(lay.table[i])) continue;
                const Box b = FramedBox(lay.table[i]);
                if (!(b.x1 < line.x0 - 1 || line.x1 + 1 < b.x0 || b.y1 < line.y0 - 1 || line.y1 + 1 < b.y0))
                    return false;
            }
            return true;
        };
        if (a1 - a0 >= 4 && clear(a0, a1)) {
            HGroove(image, a0, a1, grooveY);
            lay.AddBox(ArtKind::Groove, a0, grooveY, a1 - a0 + 1, 2, -1);
        }
        if (b1 - b0 >= 4 && clear(b0, b1)) {
            HGroove(image, b0, b1, grooveY);
            lay.AddBox(ArtKind::Groove, b0, grooveY, b1 - b0 + 1, 2, -1);
        }
    }
}

// The groove and title over the metering strip, in the middle of the gap
// between the upper sections and the strip.
void PlaceStrip(Layout& lay) {
    const PanelPlan& plan = *lay.plan;
    if (plan.strip == nullptr) return;
    Box strip = lay.SectionExtent(*plan.strip);
    Box upper = NoBox;
    for (int s = 0; s < plan.sectionCount; ++s) upper.Add(lay.SectionExtent(plan.sections[s]));
    const int y = (upper.y1 + strip.y0) / 2;
    lay.stripGroove = y;
    const int margin = 12;
    const char* title = plan.strip->title;
    const int tx = 20;
    const int tw = TextWidth(title, plan.titleStyle);
    const int th = TextHeight(plan.titleStyle);
    DrawText(lay.art.image, tx, y - (th - 1) / 2, title, plan.titleStyle, Colour::Title);
    lay.AddBox(ArtKind::Title, tx, y - (th - 1) / 2, tw, th, -1);
    HGroove(lay.art.image, margin, tx - 5, y);
    HGroove(lay.art.image, tx + tw + 4, lay.width - 1 - margin, y);
    lay.AddBox(ArtKind::Groove, margin, y, tx - 5 - margin + 1, 2, -1);
    lay.AddBox(ArtKind::Groove, tx + tw + 4, y, lay.width - 1 - margin - (tx + tw + 4) + 1, 2, -1);
}

// The unit's name plate in the free corner right of the metering strip.
void PlacePlate(Layout& lay) {
    const PanelPlan& plan = *lay.plan;
    if (plan.function == nullptr || plan.strip == nullptr) return;
    const Box strip = lay.SectionExtent(*plan.strip);
    RgbImage& image = lay.art.image;
    const char* name = "QIV-72";
    const char* line = "DIGITAL AUDIO PROCESSOR";
    const int right = lay.width - 14;
    const int nameW = TextWidth(name, TS::Large);
    const int lineW = TextWidth(line, TS::Small);
    const int funcW = TextWidth(plan.function, TS::Bold);
    const int plateW = std::max(std::max(nameW, lineW), funcW);
    const int x0 = right - plateW + 1;
    const int top = lay.stripGroove + 10;
    const int bottomRoom = lay.height - 8 - top;
    const int plateH = 14 + 4 + 2 + 4 + 7 + 5 + 5;
    const int y0 = top + std::max(0, (bottomRoom - plateH) / 2);
    if (x0 <= strip.x1 + 8) return;  // no room
    DrawText(image, right - nameW + 1, y0, name, TS::Large, Colour::Title);
    HLine(image, x0, y0 + 18, plateW, Colour::Accent);
    DrawText(image, right - funcW + 1, y0 + 24, plan.function, TS::Bold, Colour::Title);
    DrawText(image, right - lineW + 1, y0 + 36, line, TS::Small, Colour::Label);
    lay.AddBox(ArtKind::Plate, x0, y0, plateW, plateH, -1);
}

void PlaceScrews(Layout& lay) {
    const int xs[2] = {2, lay.width - 9};
    const int ys[2] = {2, lay.height - 9};
    for (int x : xs) {
        for (int y : ys) {
            DrawScrew(lay.art.image, x, y);
            lay.AddBox(ArtKind::Screw, x, y, 7, 7, -1);
        }
    }
}

void PaintFace(Layout& lay) {
    RgbImage& image = lay.art.image;
    HLine(image, 0, 0, lay.width, Colour::FaceTop);
    HLine(image, 0, lay.height - 1, lay.width, Colour::FaceBottom);
    // Wells and recessed bezels of the controls.
    for (int i = 0; i < lay.count; ++i) {
        const ParamDesc& r = lay.table[i];
        if (!Drawn(r)) continue;
        HLine(image, r.x - 1, r.y - 1, r.width + 1, Colour::BezelDark);
        VLine(image, r.x - 1, r.y - 1, r.height + 1, Colour::BezelDark);
        HLine(image, r.x - 1, r.y + r.height, r.width + 2, Colour::BezelLight);
        VLine(image, r.x + r.width, r.y - 1, r.height + 2, Colour::BezelLight);
    }
    for (int i = 0; i < lay.count; ++i) {
        const ParamDesc& r = lay.table[i];
        if (Drawn(r)) FillRect(image, r.x, r.y, r.width, r.height, WellColourOf(r));
    }
}

}  // namespace

ParamDesc* PanelTable(int panelType) {
    switch (panelType) {
        case 0: return DualMonoTable;
        case 1: return StereoTable;
        case 2: return AnalyserTable;
        default: return nullptr;
    }
}

int PanelTableCount(int panelType) {
    switch (panelType) {
        case 0: return DualMonoCount;
        case 1: return StereoCount;
        case 2: return AnalyserCount;
        default: return 0;
    }
}

uint32_t WellColourOf(const ParamDesc& r) {
    switch (r.kind) {
        case ControlKind::Numeric:
        case ControlKind::Readout:
        case ControlKind::Choice:
        case ControlKind::CyclicChoice:
        case ControlKind::Indicator:
            return r.bitmap == SlotReadoutFont ? Colour::ReadoutBack : Colour::LcdBack;
        case ControlKind::Toggle:
            return Colour::CapBody;
        default:
            return Colour::Well;
    }
}

PanelArt DrawPanelArt(int panelType) {
    Layout lay;
    if (panelType < 0 || panelType >= BitmapPanelCount) return lay.art;
    lay.plan = &Plans[panelType];
    lay.table = PanelTable(panelType);
    lay.count = PanelTableCount(panelType);
    lay.width = PanelBackgrounds[panelType].width;
    lay.height = PanelBackgrounds[panelType].height;
    lay.art.image = RgbImage(lay.width, lay.height, Colour::Face);
    PaintFace(lay);
    PlaceLabels(lay);
    PlaceMeterScales(lay);
    PlaceStrip(lay);
    PlaceSections(lay);
    PlacePlate(lay);
    PlaceScrews(lay);
    return lay.art;
}
