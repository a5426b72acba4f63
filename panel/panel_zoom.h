// The panel zoom, without the platform: which zoom a window's panel is drawn
// at (from the monitor's DPI or the user's Panel Size choice, stepped down
// until the window fits the work area), panel pixels to screen pixels and
// back, and the nearest-neighbour enlargement of panel pixels.
//
// A zoom is counted in halves (2 = 100 %, 3 = 150 %, 4 = 200 %), so that
// every zoom the program offers is exact. Panel pixel p covers the screen
// pixels ScaleToScreen(p) to ScaleToScreen(p + 1) - 1: at whole factors a
// block of equal size, at 150 % alternately one and two pixels wide. Every
// screen pixel shows exactly one panel pixel's colour, so the pixel artwork
// keeps its hard edges at every zoom (no smoothing, no mixed colours).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr int ZoomHalves100 = 2;
inline constexpr int ZoomHalvesMax = 8;  // 400 %, the most Auto ever takes
inline constexpr int ScreenDpiBase = 96;  // the DPI at which the panel is drawn 1:1

// The Panel Size choice of the Options menu, kept in QEN72.INI as its
// percentage (0 for Auto).
enum class PanelSize : int32_t { Auto = 0, Percent100 = 100, Percent150 = 150, Percent200 = 200, Percent300 = 300 };

// The choice a stored number names; anything unknown is Auto.
PanelSize PanelSizeFromNumber(int32_t number);

// The zoom a choice asks for on a monitor of `dpi`: Auto takes the largest
// half step not above dpi / 96 (100 % at 96, 150 % at 144, 200 % at 192,
// 100 % for any DPI below 144), the others their own percentage.
int WantedZoomHalves(PanelSize size, int32_t dpi);

struct ZoomFitInput {
    int wantedHalves;
    int32_t panelWidth, panelHeight;  // panel pixels; negative: not known yet
    int32_t frameWidth, frameHeight;  // window size minus client size
    int32_t workWidth, workHeight;    // the monitor's work area
};

// The wanted zoom, stepped down by halves until the window would fit the
// work area; never below 100 %.
int FittingZoomHalves(const ZoomFitInput& in);

// Panel pixels to screen pixels (a position or a size from the origin).
int32_t ScaleToScreen(int32_t panel, int halves);
// The panel pixel a screen pixel shows.
int32_t ScaleToPanel(int32_t screen, int halves);

// Enlarges the panel pixels x..x+w-1, y..y+h-1 of `src` (row length
// `srcStride` pixels) into `dst` (row length `dstStride`), which holds the
// whole zoomed panel: each panel pixel fills its block of screen pixels.
// The caller keeps the rectangle inside both images.
void ZoomPixels(const uint32_t* src, int32_t srcStride, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t* dst,
                int32_t dstStride, int halves);

// A rectangle of panel pixels; empty when w or h is 0.
struct PanelPixelRect {
    int32_t x, y, w, h;
};

// Of the panel pixels x..x+w-1, y..y+h-1 of `src`, the smallest rectangle
// holding every one that differs from the same pixel of `shown` (a copy of
// the panel as the window shows it, same size): what a redraw has to
// enlarge and show again. A bar that moves by a few segments differs in
// those segments only; rows that did not change are passed over at memory
// speed.
PanelPixelRect ChangedPanelPixels(const uint32_t* src, const uint32_t* shown, int32_t stride, int32_t x, int32_t y,
                                  int32_t w, int32_t h);

// What a zoomed window shows of the tall pieces copied plainly from the
// panel bitmaps (bars and meters), row by row: which bitmap row each panel
// row of such a column came from. A bar redrawn at a new level copies the
// same dark and lit rows as before everywhere but between the old and the
// new level (and where a peak segment moved); only those rows can differ
// from what is shown, so only those are compared and enlarged. Rows are
// known only while nothing else has drawn over them: every other drawing
// that touches a column forgets the rows it covers, and a whole paint
// forgets everything.
class ShownPieces {
public:
    // Rows from y to y + h - 1.
    struct RowSpan {
        int32_t y, h;
    };
    // Pieces at least this tall get a column of their own (a glyph does not).
    static constexpr int32_t TallPiece = 16;
    // More columns than any panel has bars and meters; beyond, pieces are
    // simply compared.
    static constexpr size_t MaxColumns = 256;

    // Forgets every column; the panel is `panelHeight` rows high.
    void Reset(int32_t panelHeight);

    // A plain copy of the bitmap piece (slot, srcX, srcY) of w x h pixels to
    // (x, y) has just been drawn: `stale` receives the spans of its rows
    // that may differ from what is shown (the caller shows them now), in
    // order from the top.
    void Copied(int32_t slot, int32_t srcX, int32_t srcY, int32_t x, int32_t y, int32_t w, int32_t h,
                std::vector<RowSpan>& stale);

    // Any other drawing over x..x+w-1, y..y+h-1.
    void Drawn(int32_t x, int32_t y, int32_t w, int32_t h);

private:
    struct RowSource {
        int32_t slot, srcX, offset;  // bitmap row = panel row + offset; slot -1: not known
        bool operator==(const RowSource& o) const { return slot == o.slot && srcX == o.srcX && offset == o.offset; }
    };
    struct Column {
        int32_t x, w;
        std::vector<RowSource> rows;  // one per panel row
    };
    int32_t height_ = 0;
    std::vector<Column> columns_;
};
