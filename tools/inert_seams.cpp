// The link seams for the build tools, which have no port and no window: the
// tables they draw from pull the link core in, nothing calls it.
#include "link/link_seams.h"

int PortRead(uint8_t*, int) { return 0; }
void PortWrite(const uint8_t*, int) {}
void RequestPanelRedraw(PanelTarget, ParamDesc*, int, int) {}
void UpdateWindowTitle() {}
