// The link core's calls into the program. The serial port and the panels are
// not wired up yet: nothing is read, nothing written, nothing drawn.
#include "link/link_seams.h"

int PortRead(uint8_t*, int) { return 0; }
void PortWrite(const uint8_t*, int) {}
void RequestPanelRedraw(PanelTarget, ParamDesc*, int, int) {}
void UpdateWindowTitle() {}
