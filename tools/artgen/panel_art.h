// The three panel backgrounds (Dual Mono, Stereo, analyser settings), laid
// out from the rectangles of their parameter tables: titled sections with
// engraved dividers, a short label beside every control, left/right channel
// marks, meter scales, a recessed bezel around every control and the unit's
// name plate. Every piece of artwork is also listed with its box, so tests
// can check that none of it lies under a control.
#pragma once

#include <vector>

#include "model/param_tables.h"
#include "tools/artgen/bmp_io.h"

enum class ArtKind {
    Title,   // section title (labels the section's on/off switch, if any)
    Label,   // label beside a control
    Mark,    // channel mark (L, R) beside a control
    Scale,   // meter scale: ticks and numbers
    Groove,  // engraved divider line
    Screw,
    Plate,   // the unit's name plate
};

struct ArtBox {
    ArtKind kind;
    int x, y, width, height;
    int record;  // position of the record this labels, or -1
};

struct PanelArt {
    RgbImage image;
    std::vector<ArtBox> boxes;
    // Records without a label of their own that share the label of another
    // control of the same column (the right-hand meter under the left one,
    // the peak mark on its level bar): pairs (record, record whose label it
    // shares).
    std::vector<std::pair<int, int>> shared;
};

// The table a bitmap panel (type 0 to 2) shows, and its record count.
ParamDesc* PanelTable(int panelType);
int PanelTableCount(int panelType);

// The background of panel type 0 (Dual Mono), 1 (Stereo) or 2 (analyser
// settings), from the current contents of its table.
PanelArt DrawPanelArt(int panelType);

// The colour the background shows under a control of this kind and bitmap
// slot (what the control's image shows where nothing is lit or written).
uint32_t WellColourOf(const ParamDesc& record);
