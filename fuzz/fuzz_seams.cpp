// The program's seams for the fuzz targets: the port has nothing to read,
// writes go nowhere, and nothing is drawn.
#include "link/link_seams.h"

int PortRead(uint8_t*, int) { return 0; }
void PortWrite(const uint8_t*, int) {}
void RequestPanelRedraw(PanelTarget, ParamDesc*, int, int) {}
void UpdateWindowTitle() {}
