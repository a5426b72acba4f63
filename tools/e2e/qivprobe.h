// What qivdrive and qivprobe.dll share: the probe message, the shared block
// that carries the asked menu commands and their states (or the start and
// end of a count of the main window's messages), and the event that says the
// answer is there.
#pragma once

#include <windows.h>

inline constexpr char ProbeMessageName[] = "QivDriveMenuProbe";
inline constexpr char ProbeMappingName[] = "QivDriveMenuProbeBlock";
inline constexpr char ProbeDoneName[] = "QivDriveMenuProbeDone";
inline constexpr int ProbeMaxItems = 32;

enum ProbeRequest : int {
    ProbeMenuStates = 0,  // fill hasMenu and states for ids[0 .. count - 1]
    ProbeCountStart = 1,  // start counting the main window's messages
    ProbeCountStop = 2,   // stop counting; the counts are in the block
    ProbeTextFit = 3,     // measure the static texts of `dialog` in their controls
};
inline constexpr int ProbeReportSize = 1024;

struct ProbeBlock {
    int request;
    int count;
    int hasMenu;
    UINT ids[ProbeMaxItems];
    UINT states[ProbeMaxItems];  // GetMenuState, ~0 when the item is missing
    // Messages that reached the main window's procedure between the start
    // and the stop of a count, however they came (posted, sent, or the
    // paint that UpdateWindow runs at once).
    LONG paints;        // WM_PAINT
    LONG notifies;      // the serial notification, one per burst of bytes read
    // A text fit: the dialog asked about, how many static texts were
    // measured and how many need more room than their control has, with
    // "text: needs WxH in WxH" for each of those.
    HWND dialog;
    LONG measured;
    LONG misfits;
    char report[ProbeReportSize];
};
