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
//   Cable=out                 only while the cable is pulled by hand
//   Switch Word=0x2DF371
//   Input Select Left=0       every setting and switch the function's
//   ...                       frames carry, in table order; switches 0 or 1
//   Current Memory=1          Dual Mono and Stereo only
//   Memory 1=Voice            16 lines, names without trailing blanks
size_t FormatUnitState(const UnitModel& unit, char* out, size_t capacity);

// Settings given as text, the way the state file names them: one
// "name=value" line per setting of the current function (switches 0 or 1).
// Each known setting is limited to its range and set as the unit's own front
// panel would; unknown names, settings the function does not carry, lines
// without '=' and values that are not numbers are skipped and counted.
struct UnitSettingsApplied {
    int applied;
    int rejected;
};
UnitSettingsApplied ApplyUnitSettingsText(UnitModel* unit, const char* text, size_t size);
