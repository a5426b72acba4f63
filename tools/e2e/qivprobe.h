// What qivdrive and qivprobe.dll share: the probe message, the shared block
// that carries the asked menu commands and their states, and the event that
// says the states are there.
#pragma once

#include <windows.h>

inline constexpr char ProbeMessageName[] = "QivDriveMenuProbe";
inline constexpr char ProbeMappingName[] = "QivDriveMenuProbeBlock";
inline constexpr char ProbeDoneName[] = "QivDriveMenuProbeDone";
inline constexpr int ProbeMaxItems = 32;

struct ProbeBlock {
    int count;
    int hasMenu;
    UINT ids[ProbeMaxItems];
    UINT states[ProbeMaxItems];  // GetMenuState, ~0 when the item is missing
};
