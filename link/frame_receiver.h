// The frame receiver: turns the byte stream from the port into validated
// device frames (sync word, length, 24-bit sum) and runs the per-frame
// sequence for each: answer, decode, redraw, title.
#pragma once

#include <cstdint>

inline constexpr int MaxCollected = 160;
inline constexpr int DualMonoFrameBytes = 160;  // 40 words
inline constexpr int AnalyserFrameBytes = 108;  // 27 words
inline constexpr int PortReadChunk = 1024;

// Sync words as they arrive on the wire, oldest byte first, and V(0).
struct SyncWord {
    uint8_t bytes[4];
    int32_t function;
    int32_t collect;  // bytes collected after the sync word's first byte
    uint32_t value;   // V(0)
};
inline constexpr SyncWord SyncWords[3] = {
    {{'7', '8', '3', '6'}, 1, 156, 0x333837},
    {{'7', '8', '1', '6'}, 2, 156, 0x313837},
    {{'7', '6', '4', '6'}, 3, 104, 0x343637},
};

// Receiver state, process-wide, on the main window's thread.
struct FrameReceiverState {
    uint8_t syncHistory[4];  // newest first
    int32_t collectedCount;
    uint8_t collectedBytes[MaxCollected + 1];  // index k (1 to 160) is frame offset k + 2
    int32_t expectedCount;                     // 0 before the first sync word
    uint32_t frameSum;
    int32_t lastFunction;  // function of the last valid frame; 0 before the first
};
extern FrameReceiverState FrameReceiver;

// Reads what the port has (at most 1024 bytes) and feeds it to ReceiveByte.
// Returns the number of bytes read and fed, 0 when the port had none.
int ReceiveFromPort();
void ReceiveByte(uint8_t b);
// The per-frame sequence: link alive, answer, decode, redraw, title. The
// first valid frame after a link loss or a change of function is handled as
// a fresh start: values sent but not confirmed are marked for sending again,
// the answer takes its switch word from this frame, and the frame's settings
// are taken over as they are (marked records keep their protection), as are
// those of the frames after a recall (TakeOverFrames).
void HandleDeviceFrame();

// Draws the marked records of the current function's panels (the main
// window and, in the Analyser, its settings window).
void RequestFunctionRedraw();

// The current frame, for the decoders: byte at frame offset `offset` (0 is
// the first sync byte), V(w), B(w, i) and S(w).
uint8_t FrameByte(int offset);
uint32_t FrameWord(int w);
uint8_t FrameValueByte(int w, int i);
int32_t FrameSignedWord(int w);
