// The control drawing allocates nothing: a full paint and the redraw after a
// device frame run without a single call of the global allocator. Its own
// program, because it replaces operator new to count.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

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

}  // namespace
