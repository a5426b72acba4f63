// Test canvases for the control drawing: one that records every call, and
// helpers around the RGB canvas that loads the generated bitmaps.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "model/param_tables.h"
#include "panel/panel_canvas.h"
#include "tools/render/soft_canvas.h"

struct CopyCall {
    int slot, srcX, srcY, width, height, dstX, dstY;
    BlitMode mode;
    bool operator==(const CopyCall& o) const {
        return slot == o.slot && srcX == o.srcX && srcY == o.srcY && width == o.width &&
               height == o.height && dstX == o.dstX && dstY == o.dstY && mode == o.mode;
    }
};

inline std::ostream& operator<<(std::ostream& os, const CopyCall& c) {
    return os << "{slot " << c.slot << " src " << c.srcX << "," << c.srcY << " size " << c.width << "x"
              << c.height << " dst " << c.dstX << "," << c.dstY << (c.mode == BlitMode::Or ? " OR}" : "}");
}

struct Recorder {
    std::vector<CopyCall> copies;
};

inline PanelCanvas RecordingCanvas(Recorder* recorder) {
    PanelCanvas c{};
    c.context = recorder;
    c.copy = [](void* ctx, int slot, int sx, int sy, int w, int h, int dx, int dy, BlitMode mode) {
        static_cast<Recorder*>(ctx)->copies.push_back({slot, sx, sy, w, h, dx, dy, mode});
    };
    return c;
}

// A record with the fields the drawing reads.
inline ParamDesc Record(ControlKind kind, int slot, double value, double lo, double hi, double step,
                        int x, int y, int w, int h) {
    ParamDesc r{};
    r.kind = kind;
    r.bitmap = slot;
    r.value = value;
    r.min = lo;
    r.max = hi;
    r.step = step;
    r.x = x;
    r.y = y;
    r.width = w;
    r.height = h;
    return r;
}

// The generated bitmaps, read once per test program.
inline SoftCanvas& ArtCanvas() {
    static SoftCanvas* canvas = [] {
        auto* c = new SoftCanvas;
        std::string error;
        if (!LoadSlotBitmaps(c, QIV_ART_DIR, &error)) {
            ADD_FAILURE() << error;
        }
        return c;
    }();
    return *canvas;
}
