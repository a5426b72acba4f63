// The control drawing allocates nothing: a full paint and the redraw after a
// device frame, and the analyser panel's layout and background, run without
// a single call of the global allocator. Its own program, because it
// replaces operator new to count.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "panel/analyser_layout.h"
#include "panel/control_drawing.h"
#include "tests/test_support.h"

namespace {

bool Counting = false;
long Allocations = 0;

void* Allocate(std::size_t n) {
    if (Counting) ++Allocations;
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

long Copies = 0;

PanelCanvas CountingCanvas() {
    PanelCanvas c{};
    c.copy = [](void*, int, int, int, int, int, int, int, BlitMode) { ++Copies; };
    c.fill = [](void*, int, int, int, int, uint32_t) {};
    c.line = [](void*, int, int, int, int, uint32_t) {};
    return c;
}

}  // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(NoAllocation, PaintsRedrawsAndHitTests) {
    FreshStart();
    // Give the analyser display's scales and legends something to draw.
    AnalyserDisplayTable[0].step = 10;
    AnalyserDisplayTable[1].step = 10;
    const PanelCanvas canvas = CountingCanvas();
    Counting = true;  // the counter sees the allocator
    delete new int(1);
    Counting = false;
    ASSERT_EQ(Allocations, 1);
    Allocations = 0;
    Copies = 0;
    Counting = true;
    for (int t = TableDualMono; t <= TableAnalyserDisplay; ++t) {
        ParamDesc* table = TableByNumber(t);
        const int count = TableRecordCount(t);
        DrawMarkedControls(canvas, table, count, true);
        for (int i = 0; i < count; i += 3) table[i].flags |= Redraw;
        DrawMarkedControls(canvas, table, count, false);
        int hits = 0;
        for (int i = NextHitControl(table, count, 0, 300, 35); i >= 0; i = NextHitControl(table, count, i + 1, 300, 35))
            ++hits;
        (void)hits;
    }
    Counting = false;
    EXPECT_EQ(Allocations, 0);
    EXPECT_GT(Copies, 1000);
    FreshStart();
}

// A paint of the analyser panel: the layout for the settings, the
// background, every record.
TEST(NoAllocation, AnalyserPanelPaints) {
    FreshStart();
    const PanelCanvas canvas = CountingCanvas();
    Allocations = 0;
    Copies = 0;
    Counting = true;
    for (double size = 0; size < 3; ++size) {
        for (double meters = 0; meters < 2; ++meters) {
            FindParam(TableAnalyser, 43)->value = size;
            FindParam(TableAnalyser, 51)->value = meters;
            FindParam(TableAnalyser, 40)->value = 2;  // Peak Hold
            const AnalyserLayout layout = LayOutAnalyserPanel();
            PaintAnalyserBackground(canvas, layout, layout.clientWidth, layout.clientHeight);
            DrawMarkedControls(canvas, AnalyserDisplayTable, AnalyserDisplayCount, true);
        }
    }
    Counting = false;
    EXPECT_EQ(Allocations, 0);
    EXPECT_GT(Copies, 6 * 60);
    FreshStart();
}

}  // namespace
