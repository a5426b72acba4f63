#include "tests/fakes.h"

FakeSeams Fake;

void ResetFakes() { Fake = FakeSeams{}; }

int PortRead(uint8_t* buffer, int capacity) {
    ++Fake.portReads;
    const size_t left = Fake.portInput.size() - Fake.portInputPos;
    size_t n = left;
    if (n > static_cast<size_t>(capacity)) n = static_cast<size_t>(capacity);
    if (n > static_cast<size_t>(Fake.readChunk)) n = static_cast<size_t>(Fake.readChunk);
    for (size_t i = 0; i < n; ++i) buffer[i] = Fake.portInput[Fake.portInputPos + i];
    Fake.portInputPos += n;
    return static_cast<int>(n);
}

void PortWrite(const uint8_t* bytes, int count) {
    if (Fake.record) Fake.written.emplace_back(bytes, bytes + count);
}

void RequestPanelRedraw(PanelTarget target, ParamDesc* table, int count, int panelType) {
    if (Fake.record) Fake.redraws.push_back({target, table, count, panelType});
}

void UpdateWindowTitle() { ++Fake.titleUpdates; }
