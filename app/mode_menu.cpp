#include "app/mode_menu.h"

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
