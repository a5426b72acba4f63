#include "app/mode_menu.h"

#include "link/edit_history.h"
#include "link/link_state.h"

ModeMenuStates MenuStatesFor(int function, bool online) {
    ModeMenuStates s{};
    s.fileItems = online || function != FunctionNone;
    s.recallStore = online && (function == FunctionNone || function == FunctionDualMono || function == FunctionStereo);
    s.bootItems = online;
    s.offlineItems = !online;
    s.analyserSettings = function == FunctionAnalyser;
    return s;
}

EditMenuStates EditMenuStatesFor(int function) {
    EditMenuStates s{};
    if (function < FunctionDualMono || function > FunctionAnalyser) return s;
    s.undo = CanUndo(function);
    s.redo = CanRedo(function);
    s.compare = true;
    s.copies = CompareInUse(function);
    return s;
}
