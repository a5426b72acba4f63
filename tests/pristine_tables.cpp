#include "tests/pristine_tables.h"

#include <cstring>

#include "model/param_tables.h"

namespace {

struct TableCopies {
    ParamDesc dualMono[DualMonoCount];
    ParamDesc stereo[StereoCount];
    ParamDesc analyser[AnalyserCount];
    ParamDesc display[AnalyserDisplayCount];
};

const TableCopies& Pristine() {
    static const TableCopies copies = [] {
        TableCopies c;
        std::memcpy(c.dualMono, DualMonoTable, sizeof DualMonoTable);
        std::memcpy(c.stereo, StereoTable, sizeof StereoTable);
        std::memcpy(c.analyser, AnalyserTable, sizeof AnalyserTable);
        std::memcpy(c.display, AnalyserDisplayTable, sizeof AnalyserDisplayTable);
        return c;
    }();
    return copies;
}

// Taken at start-up, before any test touches the tables.
const bool PristineTaken = (Pristine(), true);

}  // namespace

void RestorePristineTables() {
    (void)PristineTaken;
    const TableCopies& c = Pristine();
    std::memcpy(DualMonoTable, c.dualMono, sizeof DualMonoTable);
    std::memcpy(StereoTable, c.stereo, sizeof StereoTable);
    std::memcpy(AnalyserTable, c.analyser, sizeof AnalyserTable);
    std::memcpy(AnalyserDisplayTable, c.display, sizeof AnalyserDisplayTable);
    BuildIdIndices();
}
