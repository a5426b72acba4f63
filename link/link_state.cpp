#include "link/link_state.h"

#include <cstring>

#include "link/frame_receiver.h"
#include "link/host_encoder.h"

int32_t DeviceFunction = FunctionNone;
int32_t Online = 0;
int32_t SilenceTicks = 0;
int32_t ReplyGate = 0;
int32_t TransmitCount = 0;
int32_t UnsavedChanges = 0;
int32_t TakeOverFrames = 0;
uint32_t SwitchWord = 0;
char MemoryNames[MemoryCount + 1][MemoryNameSize] = {};
int32_t CurrentMemory = 0;

int32_t StoreSlot = 0;
int32_t StoreNameChunksLeft = 0;
char StoreName[StoreNameSize] = {};
int32_t RecallSlot = 0;
int32_t BootRequest = 0;
int32_t EndMarkDue = 0;

void ResetLinkState() {
    DeviceFunction = FunctionNone;
    Online = 0;
    SilenceTicks = 0;
    ReplyGate = 0;
    TransmitCount = 0;
    UnsavedChanges = 0;
    TakeOverFrames = 0;
    SwitchWord = 0;
    std::memset(MemoryNames, 0, sizeof MemoryNames);
    CurrentMemory = 0;
    StoreSlot = 0;
    StoreNameChunksLeft = 0;
    std::memset(StoreName, 0, sizeof StoreName);
    RecallSlot = 0;
    BootRequest = 0;
    EndMarkDue = 0;
    CommandQueued = 0;
    Reply = {};
    FrameReceiver = {};
}
