// Where the unit puts each switch and setting in its frames. The decoders
// read frames with these tables; the unit side (simulator, tests) writes
// frames with the same tables.
#pragma once

#include <cstdint>

#include "model/param_ids.h"

struct SwitchBit {
    uint32_t mask;
    int id;
};

// Switch word bits of Dual Mono and Stereo frames, in decoding order.
inline constexpr SwitchBit DualMonoSwitches[] = {
    {0x1, 61},      {0x6, 8},        {0x8, 17},       {0x30, 5},      {0x40, 1},
    {0x80, 3},      {0x300, 18},     {0x800, 4},      {0x3000, 21},   {0xC000, 34},
    {0x10000, 41},  {0x20000, 52},   {0xC0000, 24},   {0x100000, 33}, {0x200000, 65},
};

inline constexpr SwitchBit AnalyserSwitches[] = {
    {0x40, 1}, {0x80, 3}, {0x1, 61}, {0x800, 4}, {0x20000, 52}, {0x200000, 65},
};

enum class FieldConv { None, Tenths, Negative };

struct SettingField {
    int word;
    int byte;   // 0 to 2; -1 for the 16-bit value of bytes 0 and 1
    FieldConv conv;
    int id;
    bool dualMonoOnly;  // right-channel settings: always into the Dual Mono table
};

inline constexpr SettingField DualMonoSettings[] = {
    {18, -1, FieldConv::Tenths, 22, false},   {19, -1, FieldConv::Tenths, 23, false},
    {20, 1, FieldConv::None, 0, false},       {20, 0, FieldConv::None, 2, false},
    {21, 1, FieldConv::None, 6, false},       {22, 0, FieldConv::None, 66, false},
    {22, 1, FieldConv::None, 7, true},        {23, 1, FieldConv::Negative, 9, false},
    {23, 0, FieldConv::Tenths, 10, false},    {24, 1, FieldConv::Tenths, 11, false},
    {24, 0, FieldConv::Negative, 13, true},   {25, 1, FieldConv::Tenths, 14, true},
    {25, 0, FieldConv::Tenths, 15, true},     {26, 1, FieldConv::None, 19, false},
    {26, 0, FieldConv::None, 20, true},       {29, 1, FieldConv::Tenths, 25, false},
    {29, 0, FieldConv::Tenths, 26, false},    {30, 1, FieldConv::Negative, 27, false},
    {30, 0, FieldConv::Tenths, 29, true},     {31, 1, FieldConv::Tenths, 30, true},
    {31, 0, FieldConv::Negative, 31, true},   {32, 1, FieldConv::None, 35, false},
    {32, 0, FieldConv::None, 62, false},      {33, 1, FieldConv::Tenths, 36, false},
    {33, 0, FieldConv::None, 38, true},       {34, 1, FieldConv::None, 63, true},
    {34, 0, FieldConv::Tenths, 39, true},     {35, 1, FieldConv::None, 56, false},
    {35, 0, FieldConv::None, 55, false},      {36, 1, FieldConv::None, 57, false},
    {36, 0, FieldConv::None, 58, false},      {37, 1, FieldConv::Tenths, 53, false},
    {37, 0, FieldConv::None, 54, false},
};

inline constexpr SettingField AnalyserSettings[] = {
    {7, 1, FieldConv::None, 0, false},    {7, 0, FieldConv::None, 2, false},
    {8, 1, FieldConv::None, 33, false},   {8, 0, FieldConv::None, 34, false},
    {9, 1, FieldConv::None, 38, false},   {9, 0, FieldConv::None, 35, false},
    {10, 1, FieldConv::Tenths, 36, false}, {10, 0, FieldConv::None, 56, false},
    {11, 1, FieldConv::None, 55, false},  {11, 0, FieldConv::None, 57, false},
    {12, 1, FieldConv::None, 58, false},  {12, 0, FieldConv::Tenths, 53, false},
    {13, 1, FieldConv::None, 54, false},
};


// Words of a Dual Mono or Stereo frame.
inline constexpr int WordLevelLeft = 1, WordLevelRight = 2, WordExpanderLeft = 3,
                     WordExpanderRight = 4, WordDeesserLeft = 5, WordDeesserRight = 6,
                     WordAlcLeft = 7, WordAlcRight = 8, WordPeakLeft = 9, WordPeakRight = 10,
                     WordCorrelation = 11, WordMemoryNumber = 12, WordSwitches = 17,
                     WordCurrentMemory = 38;
// Value bytes of the memory name, character 0 first.
struct ByteRef {
    int word;
    int byte;
};
inline constexpr ByteRef MemoryNameBytes[10] = {
    {13, 0}, {14, 2}, {14, 1}, {14, 0}, {15, 2}, {15, 1}, {15, 0}, {16, 2}, {16, 1}, {16, 0},
};

// Words of an Analyser frame.
inline constexpr int AnaWordSwitches = 6, AnaWordFirstBand = 14, AnaWordQuarterA = 24,
                     AnaWordQuarterB = 25;
// Level meter words 1 to 4: the peaks and their overload marks.
inline constexpr int AnaLevelIds[4] = {MeterPeakLeftId, MeterPeakRightId, MeterOverLeftId, MeterOverRightId};
