// Supervision of the link to the unit on the main window's 400 ms timer:
// three ticks without a valid frame and the link counts as lost; the meters
// of the shown function are then put at rest.
#pragma once

inline constexpr unsigned SupervisionTimerMs = 400;
inline constexpr int SilenceTicksMax = 254;
inline constexpr int SilenceTicksLost = 3;  // the first tick that counts as lost

// One timer tick. Counts SilenceTicks (it stops at 254); from the third
// silent tick on, clears Online and TransmitCount and drops waiting store
// and recall requests (a waiting boot request stays), and returns true. The
// caller then updates the title, refreshes the mode and puts the meters at
// rest, on every such tick.
bool LinkSupervisionTick();

// Meters and readouts of `function` at rest: gain reduction and gain meters
// at 0, level bars, peak marks and peak readouts at -138; in the Analyser,
// all run-time display records at -138, every one redrawn. Then asks the
// panels to redraw what changed.
void PutMetersAtRest(int function);
