// The panel bitmap table and the panel background sizes.
#include "panel/panel_bitmaps.h"

// The switch images are as wide as the widest rectangle that shows them
// (slot 2: 20, slot 5: 90, slot 8: 26 pixels), so no copy ever reaches past
// an image's right edge.
const PanelBitmapSlot PanelBitmapSlots[PanelBitmapSlotCount] = {
    {0, 0, 0},        // 0: none
    {200, 546, 10},   // 1: value font
    {138, 20, 20},    // 2: red switch (key listen, full bypass)
    {148, 20, 55},    // 3: bar meter (ALC, expander and de-esser)
    {142, 432, 20},   // 4: level bar
    {157, 90, 20},    // 5: switch
    {161, 20, 55},    // 6: correlation meter
    {162, 546, 10},   // 7: readout font
    {201, 26, 20},    // 8: hold reset switch
    {203, 546, 10},   // 9: scale font, glyphs on black
    {0, 0, 0},        // 10: none
    {173, 20, 125},   // 11 to 17: analyser bands and meters, small size
    {175, 20, 129},
    {177, 20, 169},
    {178, 20, 203},
    {180, 20, 154},
    {181, 20, 131},
    {182, 20, 307},
    {184, 30, 245},   // 18 to 25: medium size
    {185, 30, 249},
    {186, 30, 241},
    {187, 30, 307},
    {188, 30, 304},
    {189, 30, 256},
    {190, 30, 261},
    {191, 30, 432},
    {192, 40, 428},   // 26 to 33: big size
    {193, 40, 435},
    {194, 40, 433},
    {195, 40, 506},
    {196, 40, 506},
    {197, 40, 460},
    {198, 40, 469},
    {199, 40, 506},
};

const PanelBitmapSlot PanelBackgrounds[BitmapPanelCount] = {
    {204, 799, 252},  // Dual Mono
    {207, 799, 234},  // Stereo
    {205, 524, 141},  // analyser settings
};

const PanelBitmapSlot* BitmapSlot(int slot) {
    if (slot < 0 || slot >= PanelBitmapSlotCount) return nullptr;
    const PanelBitmapSlot& entry = PanelBitmapSlots[slot];
    return entry.resource == 0 ? nullptr : &entry;
}
