// The link core's calls into the program around it. The simulator shares the
// core's unit-side codec only and never runs the program's receiver or
// encoder, so these are never reached; they exist because the core's
// objects reference them.
#include "link/link_seams.h"

int PortRead(uint8_t*, int) { return 0; }
void PortWrite(const uint8_t*, int) {}
void RequestPanelRedraw(PanelTarget, ParamDesc*, int, int) {}
void UpdateWindowTitle() {}
