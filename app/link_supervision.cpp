#include "app/link_supervision.h"

#include "link/frame_decoder.h"
#include "link/link_seams.h"
#include "link/link_state.h"
#include "model/param_tables.h"

namespace {

constexpr double MeterRest = 0.0;
constexpr double LevelRest = -138.0;
// Expander meters and damping, de-esser meters and gain reduction, ALC
// meters and amplification.
constexpr int ZeroAtRest[] = {46, 12, 47, 16, 44, 28, 45, 32, 42, 37, 43, 40};
// Peak hold readouts, level peak marks, level bars.
constexpr int LevelAtRest[] = {50, 51, 59, 60, 48, 49};

constexpr PortFailureNotice PortNotAvailable = {
    "Selected COM-Port is not available.\nCheck setup or stop other applications\n using this port!", nullptr, true,
    true};
constexpr PortFailureNotice EventNotMade = {"Failed to create event for thread!", "TTY Error!", false, false};

}  // namespace

bool LinkSupervisionTick() {
    if (SilenceTicks < SilenceTicksMax) ++SilenceTicks;
    if (SilenceTicks < SilenceTicksLost) return false;
    Online = 0;
    TransmitCount = 0;
    RecallSlot = 0;
    StoreSlot = 0;
    StoreNameChunksLeft = 0;
    return true;
}

void PutMetersAtRest(int function) {
    switch (function) {
        case FunctionDualMono:
        case FunctionStereo: {
            const int table = function == FunctionDualMono ? TableDualMono : TableStereo;
            // DecodeMeter skips the ids a table lacks (40 and 43 in Stereo).
            for (int id : ZeroAtRest) DecodeMeter(MeterRest, id, table);
            for (int id : LevelAtRest) DecodeMeter(LevelRest, id, table);
            ParamDesc* records = TableByNumber(table);
            RequestPanelRedraw(PanelTarget::MainWindow, records, TableRecordCount(table), 0);
            break;
        }
        case FunctionAnalyser:
            for (int i = AnalyserDisplayStaticCount; i < AnalyserDisplayCount; ++i) {
                AnalyserDisplayTable[i].value = LevelRest;
                AnalyserDisplayTable[i].flags |= Redraw;
            }
            RequestPanelRedraw(PanelTarget::AnalyserSettingsWindow, AnalyserTable, AnalyserCount, 2);
            RequestPanelRedraw(PanelTarget::MainWindow, AnalyserDisplayTable, AnalyserDisplayCount, 3);
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
        case PortError::ThreadFailed: return nullptr;
    }
    return nullptr;
}
