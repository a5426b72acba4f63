#include "app/link_supervision.h"

#include "link/frame_decoder.h"
#include "link/link_seams.h"
#include "link/link_state.h"
#include "model/param_ids.h"
#include "model/param_tables.h"
#include "panel/panel_bitmaps.h"

namespace {

constexpr double MeterRest = 0.0;
constexpr double LevelRest = -138.0;
// Expander meters and damping, de-esser meters and gain reduction, ALC
// meters and amplification.
constexpr int ZeroAtRest[] = {ExpanderMeterLeftId,    ExpanderDampingLeftId,   ExpanderMeterRightId,
                              ExpanderDampingRightId, DeEsserMeterLeftId,      DeEsserReductionLeftId,
                              DeEsserMeterRightId,    DeEsserReductionRightId, AlcMeterLeftId,
                              AlcAmplificationLeftId, AlcMeterRightId,         AlcAmplificationRightId};
// Peak hold readouts, level peak marks, level bars.
constexpr int LevelAtRest[] = {PeakHoldLeftId,  PeakHoldRightId,  LevelPeakLeftId,
                               LevelPeakRightId, LevelMeterLeftId, LevelMeterRightId};

constexpr PortFailureNotice PortNotAvailable = {
    "Selected COM-Port is not available.\nCheck setup or stop other applications\n using this port!", nullptr, true,
    true};
constexpr PortFailureNotice EventNotMade = {"Failed to create event for thread!", "TTY Error!", false, false};

}  // namespace

bool LinkSupervisionTick() {
    if (SilenceTicks < SilenceTicksMax) ++SilenceTicks;
    if (SilenceTicks < SilenceTicksLost) return false;
    MarkLinkLost();
    return true;
}

void MarkLinkLost() {
    if (SilenceTicks < SilenceTicksLost) SilenceTicks = SilenceTicksLost;
    Online = 0;
    TransmitCount = 0;
    RecallSlot = 0;
    StoreSlot = 0;
    StoreNameChunksLeft = 0;
}

void PutMetersAtRest(int function) {
    switch (function) {
        case FunctionDualMono:
        case FunctionStereo: {
            const int table = function == FunctionDualMono ? TableDualMono : TableStereo;
            // DecodeMeter skips the ids a table lacks (the right ALC meters in Stereo).
            for (int id : ZeroAtRest) DecodeMeter(MeterRest, id, table);
            for (int id : LevelAtRest) DecodeMeter(LevelRest, id, table);
            ParamDesc* records = TableByNumber(table);
            RequestPanelRedraw(PanelTarget::MainWindow, records, TableRecordCount(table),
                               function == FunctionDualMono ? PanelDualMono : PanelStereo);
            break;
        }
        case FunctionAnalyser:
            for (int i = AnalyserDisplayStaticCount; i < AnalyserDisplayCount; ++i) {
                AnalyserDisplayTable[i].value = LevelRest;
                AnalyserDisplayTable[i].flags |= Redraw;
            }
            RequestPanelRedraw(PanelTarget::AnalyserSettingsWindow, AnalyserTable, AnalyserCount, PanelAnalyserSettings);
            RequestPanelRedraw(PanelTarget::MainWindow, AnalyserDisplayTable, AnalyserDisplayCount, PanelAnalyser);
            break;
        default:
            break;
    }
}

const PortFailureNotice* PortFailureNoticeFor(PortError error) {
    switch (error) {
        case PortError::OpenFailed:
        case PortError::ConfigFailed: return &PortNotAvailable;
        case PortError::EventFailed: return &EventNotMade;
        case PortError::None:
        case PortError::ThreadFailed:
        case PortError::Lost: return nullptr;  // the program reconnects by itself
    }
    return nullptr;
}
