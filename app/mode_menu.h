// Which items of the main menu can be used in each mode: by device function
// and by the link state. The mode refresh applies these to the menu.
#pragma once

struct ModeMenuStates {
    bool fileItems;         // open, save, save as, comment
    bool recallStore;       // recall from and store to the unit
    bool bootItems;         // boot another function
    bool offlineItems;      // choose the function offline
    bool analyserSettings;  // the analyser settings window
};

ModeMenuStates MenuStatesFor(int function, bool online);

// The Edit menu in the function shown: undo and redo while there is a step
// to undo or redo, the copies once A/B is in use; nothing without a function.
struct EditMenuStates {
    bool undo, redo, compare, copies;
    bool operator==(const EditMenuStates& o) const {
        return undo == o.undo && redo == o.redo && compare == o.compare && copies == o.copies;
    }
};

EditMenuStates EditMenuStatesFor(int function);
