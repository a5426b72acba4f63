// The mode refresh's decisions: menu states and the question after a change
// of function or link state, the look-ahead indicators, the analyser's
// freeze release, display repaint and hold reset.
#include "app/mode_refresh.h"

#include <cmath>
#include <initializer_list>

#include "app/mode_menu.h"
#include "app/shell_state.h"
#include "link/frame_decoder.h"
#include "link/host_encoder.h"
#include "link/link_seams.h"
#include "link/link_state.h"
#include "model/param_ids.h"
#include "model/param_tables.h"
#include "resources/resource_ids.h"

ModeRefreshMemory ModeMemory = {NoFunctionYet, 0, 0.0, 0.0, {}, false};

namespace {

// The analyser settings whose sum decides whether the display is laid out
// again.
constexpr int DisplayShapingIds[] = {AnalyserSizeId,       AnalyserInstantHoldId, AnalyserModeId,
                                     AnalyserRangeId,      AnalyserTypeId,        AnalyserResolutionId,
                                     AnalyserTopLevelId,   AnalyserSampleRateId,          LevelMeterDisplayId};

constexpr double PeakHoldReset = -130.0;

double ValueOf(int table, int id) {
    const ParamDesc* p = FindParam(table, id);
    return p != nullptr ? p->value : 0.0;
}

// Sums are compared exactly; a sum that is not a number counts as equal to
// an earlier one that was not a number either, so that a bad value cannot
// make every drawing pass repaint the window again.
bool SumChanged(double now, double before) {
    if (std::isnan(now) && std::isnan(before)) return false;
    return now != before;
}

void ApplyMenuStates(const ModeRefreshSeam& seam, const ModeMenuStates& s) {
    for (unsigned id : {CMD_OPEN_SETUP, CMD_SAVE_SETUP, CMD_SAVE_SETUP_AS, CMD_COMMENT}) seam.setMenuItem(id, s.fileItems);
    for (unsigned id : {CMD_RECALL, CMD_STORE}) seam.setMenuItem(id, s.recallStore);
    for (unsigned id : {CMD_BOOT_DUAL_MONO, CMD_BOOT_STEREO, CMD_BOOT_ANALYSER}) seam.setMenuItem(id, s.bootItems);
    for (unsigned id : {CMD_OFFLINE_SMALL_WINDOW, CMD_OFFLINE_DUAL_MONO, CMD_OFFLINE_STEREO, CMD_OFFLINE_ANALYSER})
        seam.setMenuItem(id, s.offlineItems);
    seam.setMenuItem(CMD_ANALYSER_SETTINGS, s.analyserSettings);
}

// After a change of function or link state: the menu, the analyser settings
// window, a repaint, and the question about the function that was left.
void OnModeChange(const ModeRefreshSeam& seam, int function, int online) {
    const int previous = ModeMemory.lastFunction;
    ModeMemory.lastFunction = function;
    ModeMemory.lastOnline = online;

    ApplyMenuStates(seam, MenuStatesFor(function, online != 0));
    if (function != FunctionAnalyser) seam.closeAnalyserSettings();
    seam.repaintMainWindow();

    const bool left = previous >= FunctionDualMono && previous <= FunctionAnalyser && previous != function;
    if (UnsavedChanges != 0 && ProgramSettings.safeMode != 0 && left) {
        if (seam.askSavePrevious()) seam.savePrevious(previous);
        // Whatever the answer and the save gave, the question is not asked
        // again for the same data.
        UnsavedChanges = 0;
        UpdateWindowTitle();
    }
}

void RefreshAnalyser(const ModeRefreshSeam& seam) {
    double displaySum = 0.0;
    for (int id : DisplayShapingIds) displaySum += ValueOf(TableAnalyser, id);
    double settingsSum = 0.0;
    for (const ParamDesc& p : AnalyserTable)
        if (p.id != AnalyserFreezeId) settingsSum += p.value;

    // Any other settings change releases the freeze, on the unit too.
    if (SumChanged(settingsSum, ModeMemory.lastSettingsSum)) {
        ModeMemory.lastSettingsSum = settingsSum;
        RequestParamChange(0.0, AnalyserFreezeId, TableAnalyser);
    }
    // The paint lays the analyser display out for the new settings. Two
    // changes that cancel in the sum (a setup file, a unit's report) would
    // leave the display in the old layout; the settings themselves are
    // compared as the layout reads them, too.
    const AnalyserSettings display = CurrentAnalyserSettings();
    const bool sumChanged = SumChanged(displaySum, ModeMemory.lastDisplaySum);
    if (sumChanged || !SameAnalyserLayout(display, ModeMemory.lastDisplay)) {
        ModeMemory.lastDisplaySum = displaySum;
        ModeMemory.lastDisplay = display;
        seam.repaintMainWindow();
    }
    if (IsOn(ValueOf(TableAnalyser, AnalyserHoldResetId))) {
        TransmitCount = 0;
        for (int id = FirstPeakHoldId; id <= LastPeakHoldId; id += 2) {
            ParamDesc* peak = FindParam(TableAnalyserDisplay, id);
            if (peak != nullptr) peak->value = PeakHoldReset;
        }
        DecodeSetting(0.0, AnalyserHoldResetId, TableAnalyser);
    }
}

void RefreshOnce(const ModeRefreshSeam& seam) {
    const int function = DeviceFunction;
    const int online = Online != 0 ? 1 : 0;
    if (function != ModeMemory.lastFunction || online != ModeMemory.lastOnline) OnModeChange(seam, function, online);

    // The question may have run a message loop; the function is read again.
    switch (DeviceFunction) {
        case FunctionDualMono: UpdateLookAheadIndicators(TableDualMono); break;
        case FunctionStereo: UpdateLookAheadIndicators(TableStereo); break;
        case FunctionAnalyser: RefreshAnalyser(seam); break;
        default: break;
    }
}

}  // namespace

void ResetModeRefresh() { ModeMemory = {NoFunctionYet, 0, 0.0, 0.0, {}, false}; }

void UpdateLookAheadIndicators(int table) {
    const bool delayOn = IsOn(ValueOf(table, DelayOnId));
    const bool expanderOn = IsOn(ValueOf(table, ExpanderOnId));
    const bool alcOn = IsOn(ValueOf(table, AlcOnId));
    const double attack = ValueOf(table, AttackSlowId);
    const double left = ValueOf(table, DelayLeftId);
    const double right = ValueOf(table, DelayRightId);

    // A slow attack needs 25 ms of delay, a fast one 1 ms; the ALC needs
    // more than 4 ms. An attack value of exactly 0.5 counts as neither.
    auto expander = [&](double delay) {
        return delayOn && expanderOn && ((attack > 0.5 && delay >= 25.0) || (attack < 0.5 && delay >= 1.0));
    };
    auto alc = [&](double delay) { return delayOn && alcOn && delay > 4.0; };

    DecodeMeter(expander(left) ? 1.0 : 0.0, LookAheadExpLeftId, table);
    DecodeMeter(expander(right) ? 1.0 : 0.0, LookAheadExpRightId, table);
    DecodeMeter(alc(left) ? 1.0 : 0.0, LookAheadAlcLeftId, table);
    DecodeMeter(alc(right) ? 1.0 : 0.0, LookAheadAlcRightId, table);
}

void RunModeRefresh(const ModeRefreshSeam& seam) {
    if (ModeMemory.running) return;
    ModeMemory.running = true;
    RefreshOnce(seam);
    ModeMemory.running = false;
}
