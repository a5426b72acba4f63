// The link core's calls into the program around it, over the tool's read
// loop. In the program only (tests bring their own).
#include "link/link_seams.h"
#include "model/param_tables.h"
#include "tools/ctl/unit_link.h"


int PortRead(uint8_t*, int) { return 0; }  // the read loop feeds the receiver itself

void PortWrite(const uint8_t* bytes, int count) {
    if (UnitLink::Active() != nullptr) UnitLink::Active()->Write(bytes, count);
}

void RequestPanelRedraw(PanelTarget, ParamDesc* table, int count, int) {
    // No panel: the marks are only for drawing.
    for (int i = 0; i < count; ++i) table[i].flags &= ~Redraw;
}

// Called once at the end of every valid frame's sequence.
void UpdateWindowTitle() {
    if (UnitLink::Active() != nullptr) UnitLink::Active()->OnFrame();
}
