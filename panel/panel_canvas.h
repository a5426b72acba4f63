// The drawing target of a panel: the few operations the control drawing and
// the panel backgrounds need from a window. Every control is drawn by copying
// pieces of the panel bitmaps (named by their slot in the panel bitmap
// table) onto the panel, plainly or combined by OR; computed backgrounds also
// fill rectangles and draw one-pixel lines.
//
// The Windows program implements it over a window's device context and the
// bitmap cache (copy: BitBlt with SRCCOPY or SRCPAINT from the slot's memory
// context; fill: a solid brush and FillRect; line: a solid one-pixel pen,
// MoveToEx and LineTo). The tests and the render tool implement it over an
// RGB buffer. A canvas owns no records and keeps no drawing state between
// calls.
#pragma once

#include <cstdint>

enum class BlitMode : int32_t {
    Copy = 0,  // SRCCOPY: the piece replaces what is there
    Or = 1,    // SRCPAINT: the piece's colour bits are ORed into what is there
};

struct PanelCanvas {
    // Whatever the implementation needs (device context, bitmap cache, RGB
    // buffer); passed back to every call.
    void* context;

    // Copies width x height pixels of the bitmap in `slot` from (srcX, srcY)
    // to the panel at (dstX, dstY). The control drawing calls it only with a
    // positive size and a source piece that lies wholly inside the slot's
    // bitmap as PanelBitmapSlots gives its size; the destination may reach
    // past the panel's edges.
    void (*copy)(void* context, int slot, int srcX, int srcY, int width, int height, int dstX,
                 int dstY, BlitMode mode);

    // Fills width x height pixels at (x, y) with the colour 0xRRGGBB.
    void (*fill)(void* context, int x, int y, int width, int height, uint32_t rgb);

    // A one-pixel line from (x0, y0) towards (x1, y1) in the colour 0xRRGGBB:
    // the start point is drawn, the end point is not (as LineTo draws).
    void (*line)(void* context, int x0, int y0, int x1, int y1, uint32_t rgb);
};
