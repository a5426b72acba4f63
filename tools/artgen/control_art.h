// The control bitmaps of the panel bitmap table, drawn from code: the two
// value fonts and the scale font, the switch images, the vertical meters,
// the level bar and the analyser band images. Each has exactly the size its
// slot gives.
#pragma once

#include "tools/artgen/bmp_io.h"

// The bitmap for a slot of the panel bitmap table (1 to 9, 11 to 33); an
// empty image for the slots that name none.
RgbImage DrawSlotBitmap(int slot);

// Segment height and the band height it lines up with, for the analyser
// band slots 11 to 33, from the analyser geometry table (which uses each slot
// with one segment height; the segments line up from the bottom of that
// band); {0, 0} for other slots and for slots no display size uses.
struct BandSlotUse {
    int segment;
    int height;
    bool overload;       // the slot shows level meters with three overload segments
    double bottomDb;     // level at the foot of the band (bands: below their top)
    double pixelsPerDb;  // rows per dB; every size that uses the slot has the same
};
BandSlotUse BandSlotUseOf(int slot);
