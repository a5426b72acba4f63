// The mode refresh: keeps the main menu, the analyser settings window and the
// unsaved-data question in step with the device function and the link
// state, computes the look-ahead indicators of Dual Mono and Stereo, and
// lets the analyser's freeze and hold react to settings changes. The
// decisions are portable; the window side reaches the menu, the windows and
// the question through ModeRefreshSeam.
#pragma once

#include <cstdint>

#include "panel/analyser_layout.h"

// What the refresh asks of the platform. Every member must be set.
struct ModeRefreshSeam {
    // One item of the main menu, by command number: enabled, or disabled
    // and grayed.
    void (*setMenuItem)(unsigned command, bool enabled);
    // Destroys the analyser settings window when one is open.
    void (*closeAnalyserSettings)();
    // Invalidates the whole main window with background erase and updates it.
    void (*repaintMainWindow)();
    // Beeps and asks "Previous data are still not saved.\nSave now?" (Yes,
    // No); true for Yes.
    bool (*askSavePrevious)();
    // Saves the setup of `function` through the save dialog.
    void (*savePrevious)(int function);
};

// Memory of the refresh between calls (user-interface thread only).
struct ModeRefreshMemory {
    int32_t lastFunction;    // -10 before the first call: it always counts as a change
    int32_t lastOnline;
    double lastDisplaySum;   // analyser settings that shape the display
    double lastSettingsSum;  // all analyser settings but the freeze
    // The display-shaping settings at the last repaint for them: a change
    // that leaves their sum as it was still lays the display out anew.
    AnalyserSettings lastDisplay;
    // A refresh is under way. The refresh repaints and may ask a question;
    // the paint and the question's message loop draw panels, whose drawing
    // passes call the refresh again: those calls do nothing, and what they
    // would have seen is seen by the next call after this one.
    bool running;
};
inline constexpr int32_t NoFunctionYet = -10;
extern ModeRefreshMemory ModeMemory;

// Back to the start-up memory. For tests.
void ResetModeRefresh();

// One refresh of the current function and link state through `seam`. A
// call made while a refresh runs (from the repaint or the question it
// started) returns at once.
void RunModeRefresh(const ModeRefreshSeam& seam);

// The four look-ahead indicators of table 1 or 2 from its delay, expander
// and ALC settings; changed indicators are marked for redrawing.
void UpdateLookAheadIndicators(int table);

