// The simulated unit's settings as text: one "name=value" line per setting
// and switch of the current function, under the names of the program's
// table for that function, then the current memory and the memory names.
// The simulator writes it as its state file; tests read it back.
#pragma once

#include <cstddef>

#include "tools/sim/unit_model.h"

inline constexpr size_t UnitStateTextMax = 16384;

// "Dual Mono", "Stereo", "Analyser"; "none" for anything else.
const char* UnitFunctionName(int function);

// Writes the text (NUL-terminated) and returns its length, or 0 when it does
// not fit in `capacity`.
//
//   Function=Dual Mono
//   Booting=Stereo            only while the unit reboots
//   Switch Word=0x2DF371
//   Input Select Left=0       every setting and switch the function's
//   ...                       frames carry, in table order; switches 0 or 1
//   Current Memory=1          Dual Mono and Stereo only
//   Memory 1=Voice            16 lines, names without trailing blanks
size_t FormatUnitState(const UnitModel& unit, char* out, size_t capacity);
