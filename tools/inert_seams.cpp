// The link seams for the programs that have no port and no window: the
// simulator, the artwork generator, the renderer, the example setup writer
// and the fuzz targets. The core's objects reference them; where a fuzz
// target reaches them, the port has nothing to read, writes go nowhere and
// nothing is drawn. The tests use recording fakes instead (tests/fakes.cpp).
#include "link/link_seams.h"

int PortRead(uint8_t*, int) { return 0; }
void PortWrite(const uint8_t*, int) {}
void RequestPanelRedraw(PanelTarget, ParamDesc*, int, int) {}
void UpdateWindowTitle() {}
