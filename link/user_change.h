// The one rule for a value the user sets, whichever way it arrives: the
// panel's mouse, a value dialog, the Analyser settings window, a setup file
// or the settings file. The callers differ only in how long the value is held
// against the unit's reports and in whether the setup becomes unsaved; both
// are named at every call.
#pragma once

#include "model/param_tables.h"

// How the change holds TransmitCount, the answers during which the unit's
// differing reports are sent back instead of taken over.
struct ChangeHold {
    enum class Rule { SetTo, RaiseByOne };
    Rule rule;
    int frames;  // for SetTo
};
// One edit on the panel or in a dialog: the hold starts again at `frames`.
inline constexpr ChangeHold HoldFor(int frames) { return {ChangeHold::Rule::SetTo, frames}; }
// Values that arrive many at a time (a file, the Analyser settings window):
// each changed value adds one answer to the hold already running.
inline constexpr ChangeHold RaiseHoldByOne = {ChangeHold::Rule::RaiseByOne, 0};

enum class SetupEffect {
    MarkUnsaved,  // an edit of the setup the user sees
    KeepState,    // a setup or settings file being read, the Analyser view's own settings
};

// Clamps `value` to the record's limits; when that differs from the record's
// value, stores it and marks it for sending and redrawing as a new value (a
// retry the decoder marked becomes a change: it gets its answers when it goes
// out), then holds TransmitCount and marks the setup as asked. Returns true
// when the value changed; otherwise nothing is touched.
bool ApplyUserChange(ParamDesc& record, double value, ChangeHold hold, SetupEffect setup);

// A value entered in a dialog (and by tests and tools that act like one):
// held for `holdFrames` answers, the setup unsaved.
bool CommitUserValue(ParamDesc& record, double newValue, int holdFrames);
