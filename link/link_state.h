// Process-wide state of the link to the unit: what the receiver, the decoders
// and the encoder share with the main window. Owned by the main window's
// thread; the port's event thread reads none of it (it has LinkEnabled, kept
// with the serial port).
#pragma once

#include <cstdint>

inline constexpr int MemoryCount = 16;
inline constexpr int MemoryNameSize = 30;
inline constexpr int StoreNameSize = 12;

// A function's number is also its parameter table's (TableByNumber).
enum DeviceFunctionValue : int32_t { FunctionNone = 0, FunctionDualMono = 1, FunctionStereo = 2, FunctionAnalyser = 3 };

extern int32_t DeviceFunction;
extern int32_t Online;
extern int32_t SilenceTicks;
extern int32_t ReplyGate;
extern int32_t TransmitCount;
// Set whenever the user's setup changes (an edit, or a setting the unit
// reports differently); cleared when the setup is saved or loaded.
extern int32_t UnsavedChanges;
// Valid frames still to be taken over as they are: their settings and
// switches follow the unit whatever TransmitCount says (marked records keep
// their protection) and their answers do not count it down. One after a link
// loss or a change of function; a few after a recall, during which marked
// values wait.
extern int32_t TakeOverFrames;
extern uint32_t SwitchWord;  // 24 bits
// Entry n (1 to 16) is the name of memory n as the unit last reported it;
// entry 0 collects names whose memory number is out of range.
extern char MemoryNames[MemoryCount + 1][MemoryNameSize];
extern int32_t CurrentMemory;

// Requests that ride on the next answers, ahead of parameter changes.
extern int32_t StoreSlot;
extern int32_t StoreNameChunksLeft;
extern char StoreName[StoreNameSize];
extern int32_t RecallSlot;
extern int32_t BootRequest;  // 1 Dual Mono, 2 Analyser, 3 Stereo
extern int32_t EndMarkDue;

// Puts every link variable, the receiver and the tables' flags back to the
// start-up state. For tests and the simulator's embedded model.
void ResetLinkState();
