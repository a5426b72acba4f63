// Supervision of the link to the unit on the main window's 400 ms timer:
// three ticks without a valid frame and the link counts as lost; the meters
// of the shown function are then put at rest.
#pragma once

#include "link/port_result.h"

inline constexpr unsigned SupervisionTimerMs = 400;
inline constexpr int SilenceTicksMax = 254;
inline constexpr int SilenceTicksLost = 3;  // the first tick that counts as lost

// One timer tick. Counts SilenceTicks (it stops at 254); from the third
// silent tick on, clears Online and TransmitCount and drops waiting store
// and recall requests (a waiting boot request stays), and returns true. The
// caller then updates the title, refreshes the mode and puts the meters at
// rest, on every such tick.
bool LinkSupervisionTick();

// The link is lost at once, as on the third silent tick: the port itself
// went away. The caller then does what it does after such a tick.
void MarkLinkLost();

// Meters and readouts of `function` at rest: gain reduction and gain meters
// at 0, level bars, peak marks and peak readouts at -138; in the Analyser,
// all run-time display records at -138, every one redrawn. Then asks the
// panels to redraw what changed.
void PutMetersAtRest(int function);

// What the user is told about a failure of the serial port, in the words the
// program has always used. The system's error code is not shown.
struct PortFailureNotice {
    const char* text;
    const char* caption;  // null: the system's default caption
    bool ownedByWindow;   // owned by the main window, else a box without owner
    bool beep;            // the warning beep first
};
// Null for a result the user is not told about: success, and a thread that
// could not be started (the link just stays offline).
const PortFailureNotice* PortFailureNoticeFor(PortError error);
