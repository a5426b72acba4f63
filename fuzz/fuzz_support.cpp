#include "fuzz/fuzz_support.h"

#include <cstdlib>
#include <cstring>

#include "link/frame_receiver.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_ids.h"
#include "model/param_tables.h"
#include "tests/pristine_tables.h"

void FuzzResetTables() {
    RestorePristineTables();
    ResetLinkState();
}

void FuzzFreshStart(const uint8_t*& data, size_t& size) {
    FuzzResetTables();
    if (size < 4) return;
    const uint8_t setup = data[0];
    TransmitCount = data[1] % 12;
    if (setup & 0x01) {
        StoreSlot = 1 + data[2] % 16;
        StoreNameChunksLeft = 4;
        std::memcpy(StoreName, "@@FUZZ@@@@@@", StoreNameSize);
    }
    if (setup & 0x02) RecallSlot = 1 + data[2] % 16;
    if (setup & 0x04) BootRequest = 1 + data[2] % 3;
    // Mark a record of each table as changed by the user.
    for (int t = TableDualMono; t <= TableAnalyser; ++t) {
        ParamDesc* table = TableByNumber(t);
        ParamDesc& r = table[data[3] % TableRecordCount(t)];
        if (setup & 0x08) CommitUserValue(r, r.max, 5);
        if (setup & 0x10) r.flags |= Dragging;
    }
    if (setup & 0x20) FindParam(TableAnalyser, AnalyserInstantHoldId)->value = 1.0;
    if (setup & 0x40) FindParam(TableAnalyser, AnalyserFreezeId)->value = 1.0;
    if (setup & 0x80) FindParam(TableAnalyser, AnalyserPeakHoldId)->value = data[2] * 1e6;  // absurd
    data += 4;
    size -= 4;
}

void FuzzCheckInvariants() {
    const FrameReceiverState& r = FrameReceiver;
    if (r.collectedCount < 0 || r.collectedCount > MaxCollected) std::abort();
    if (DeviceFunction < FunctionNone || DeviceFunction > FunctionAnalyser) std::abort();
    if (TransmitCount < 0) std::abort();
    if (StoreNameChunksLeft < 0) std::abort();
    if (MemoryNames[0][MemoryNameSize - 1] != 0) std::abort();
}
