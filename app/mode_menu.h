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
