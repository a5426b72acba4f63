// The analyser settings window's rules.
#include "panel/analyser_settings.h"

#include "link/frame_decoder.h"
#include "link/link_state.h"
#include "model/param_ids.h"
#include "model/param_tables.h"

AnalyserSettingsAction AnalyserSettingsCommand(int deviceFunction, bool windowOpen) {
    if (windowOpen) return AnalyserSettingsAction::Raise;
    return deviceFunction == FunctionAnalyser ? AnalyserSettingsAction::Create : AnalyserSettingsAction::Nothing;
}

void AnalyserSettingsClosed(ScreenPoint& kept, int32_t left, int32_t top) {
    kept = {left, top};
    DecodeSetting(0.0, AnalyserFreezeId, TableAnalyser);
}
