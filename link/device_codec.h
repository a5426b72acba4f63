// The unit's side of the wire, for the simulator and the tests: device frames
// built from a unit state with the same layout tables the decoders read, and
// host frames checked and taken apart as the unit sees them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/host_encoder.h"
#include "model/param_tables.h"

inline constexpr int BandCount = 30;

// Raw meter words as the unit measures them (0 to 16777215).
struct UnitMeters {
    // Dual Mono and Stereo.
    uint32_t level[2];
    uint32_t peak[2];
    uint32_t expander[2];
    uint32_t deesser[2];
    uint32_t alc[2];
    int32_t correlation;  // signed 24 bits
    // Analyser: level words 1 to 4, the two quarter words, and band n's
    // byte at bands[n - 1] (0 and 255 both mean 0 dB).
    uint32_t analyserLevel[4];
    uint32_t quarter[2];
    uint8_t bands[BandCount];
};

// Everything one device frame carries.
struct UnitFrameState {
    int32_t function;  // 1 Dual Mono, 2 Stereo, 3 Analyser
    uint32_t switchWord;
    // Settings in the unit the program shows, by id: Dual Mono ids for Dual
    // Mono and Stereo frames (Stereo frames carry the right channel too),
    // Analyser ids for Analyser frames.
    double settings[IdSlots];
    UnitMeters meters;
    int32_t memoryNumber;  // 1 to 16: the memory whose name this frame carries
    char memoryName[10];   // blanks go out as at signs
    int32_t currentMemory;
};

// Writes the frame for `state` into `out` (room for 160 bytes) and returns
// its length (160 or 108), or 0 for an unknown function. Settings outside
// what their field can carry are clamped to it. Bytes no decoder reads are
// zero.
size_t BuildDeviceFrame(const UnitFrameState& state, uint8_t* out);

// Recomputes the checksum word of a frame whose data a unit changed after
// BuildDeviceFrame. The frame must start with a sync word and have that
// function's length (160 or 108 bytes); otherwise nothing changes and the
// result is false.
bool SealDeviceFrame(uint8_t* frame, size_t size);

// The raw number a setting field carries for a value: tenths rounded, signs
// dropped for negative fields, clamped to 0..255 (0..65535 for words).
uint32_t SettingFieldNumber(double value, int conv, bool word);

struct ParsedHostFrame {
    uint8_t command;
    uint8_t value[3];
    uint32_t value24;  // value bytes, least significant first
};

// Checks magic and checksum. Returns false (and leaves `out` alone) for a
// frame the unit must ignore.
bool ParseHostFrame(const uint8_t* bytes, size_t size, ParsedHostFrame* out);

// The record a parameter command of `function` addresses, or null for a
// command that is not a parameter command (0 switches, requests, 240, 255).
const ParamCommand* FindCommandTarget(int function, int command);

// The value a parameter command carries, in the record's unit: the reverse
// of the encodings (tenths divided by 10, signed 24 sign-extended).
double DecodeCommandValue(Encoding encoding, const ParsedHostFrame& frame);

// The unit's start-up state for a function: every setting at the value the
// program's tables hold now (at start-up: their start values), all switches as those tables start, meters at
// rest.
void DefaultUnitState(int function, UnitFrameState* state);
