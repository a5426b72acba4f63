// The panel bitmap table and the panel backgrounds: which bitmap resource
// each slot names, how large every bitmap is and how the glyph fonts are laid
// out. The control drawing reads only inside these sizes; the artwork
// generator makes its bitmaps to exactly these sizes.
#pragma once

#include <cstdint>

inline constexpr int PanelBitmapSlotCount = 34;

struct PanelBitmapSlot {
    int32_t resource;  // bitmap resource number; 0 for the two empty slots
    int32_t width;
    int32_t height;
};

// Indexed by ParamDesc::bitmap. Slots 0 and 10 name no bitmap.
extern const PanelBitmapSlot PanelBitmapSlots[PanelBitmapSlotCount];

// Slots with a special meaning to the drawing.
enum PanelSlot : int32_t {
    SlotValueFont = 1,
    SlotRedSwitch = 2,
    SlotBarMeter = 3,
    SlotLevelBar = 4,
    SlotSwitch = 5,
    SlotNeedleMeter = 6,
    SlotReadoutFont = 7,
    SlotResetSwitch = 8,
    SlotScaleFont = 9,
    SlotFirstBand = 11,
    SlotLastBand = 33,
};

// Glyph fonts (slots 1, 7 and 9): one row of 6 x 10 cells for the
// characters 32 (blank) to 122 (z) in character order.
inline constexpr int GlyphWidth = 6;
inline constexpr int GlyphHeight = 10;
inline constexpr int FirstGlyph = 32;
inline constexpr int LastGlyph = 122;
inline constexpr int GlyphCount = LastGlyph - FirstGlyph + 1;  // 91

// Two-state images (slots 2, 5, 8): the on image in rows 0-9, the off image
// in rows 10-19. Vertical meter images (slots 3, 6): lit in columns 0-9,
// dark in columns 10-19. Level bar (slot 4): lit in rows 0-9, dark in rows
// 10-19, the last 12 pixels the overload zone. Band images (slots 11-33):
// lit half left, dark half right.
inline constexpr int LevelBarOverloadZone = 12;

// Panel types: the background a paint request paints first. The first three
// are bitmaps; the analyser panel is computed; the empty panel is flat grey.
enum PanelType : int {
    PanelEmpty = -1,
    PanelDualMono = 0,
    PanelStereo = 1,
    PanelAnalyserSettings = 2,
    PanelAnalyser = 3,
};

// Panel backgrounds of the bitmap panel types.
inline constexpr int BitmapPanelCount = PanelAnalyserSettings + 1;
extern const PanelBitmapSlot PanelBackgrounds[BitmapPanelCount];

// The empty panel and the computed analyser panel: flat grey with sunken
// frames in the shadow and light colours.
inline constexpr uint32_t PanelGrey = 0x787878;         // 120, 120, 120
inline constexpr uint32_t PanelFrameShadow = 0x3C3C3C;  // 60, 60, 60
inline constexpr uint32_t PanelFrameLight = 0xA0A0A0;   // 160, 160, 160
inline constexpr int EmptyPanelWidth = 300;
inline constexpr int EmptyPanelHeight = 20;

// The slot's entry, or null for a number outside 0 to 33 or a slot that
// names no bitmap.
const PanelBitmapSlot* BitmapSlot(int slot);
