// Recording fakes of the seams between the link core and the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/link_seams.h"

struct RedrawCall {
    PanelTarget target;
    ParamDesc* table;
    int count;
    int panelType;
};

struct FakeSeams {
    std::vector<uint8_t> portInput;  // what PortRead hands out, in chunks
    size_t portInputPos = 0;
    int readChunk = 1024;            // largest chunk one PortRead returns
    int portReads = 0;
    std::vector<std::vector<uint8_t>> written;  // one entry per PortWrite
    std::vector<RedrawCall> redraws;
    int titleUpdates = 0;
    bool record = true;  // off in benchmarks and the allocation test
};

extern FakeSeams Fake;

void ResetFakes();
