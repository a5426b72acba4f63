// Id index, value text, labels and the value limits of the parameter
// tables.
#include "model/param_tables.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "model/param_ids.h"

namespace {

ParamDesc* IdIndex[4][IdSlots];

void IndexTable(ParamDesc** index, ParamDesc* table, int count) {
    for (int i = 0; i < IdSlots; ++i) index[i] = nullptr;
    for (int i = 0; i < count; ++i) {
        const int id = table[i].id;
        if (id >= 0 && id < IdSlots) index[id] = &table[i];  // a later record wins
    }
}

}  // namespace

ParamDesc* TableByNumber(int table) {
    switch (table) {
        case TableDualMono: return DualMonoTable;
        case TableStereo: return StereoTable;
        case TableAnalyser: return AnalyserTable;
        case TableAnalyserDisplay: return AnalyserDisplayTable;
        default: return nullptr;
    }
}

int TableRecordCount(int table) {
    switch (table) {
        case TableDualMono: return DualMonoCount;
        case TableStereo: return StereoCount;
        case TableAnalyser: return AnalyserCount;
        case TableAnalyserDisplay: return AnalyserDisplayCount;
        default: return 0;
    }
}

void BuildIdIndices() {
    // Records 7 + 2b and 8 + 2b are band b's bar and peak (ids 2b, 2b + 1);
    // records 67 to 72 are the level meter bars beside the bands (ids 64 to
    // 69). The bars and peaks start at -130 dB; the layout does the rest.
    constexpr int firstMeterRecord = AnalyserDisplayStaticCount + LastPeakHoldId + 1;
    for (int r = AnalyserDisplayStaticCount; r < AnalyserDisplayCount; ++r) {
        ParamDesc& rec = AnalyserDisplayTable[r];
        rec.id = r < firstMeterRecord ? FirstBandBarId + (r - AnalyserDisplayStaticCount)
                                      : MeterRmsLeftId + (r - firstMeterRecord);
        if (r % 2 == 1) rec.value = -130.0;
    }
    for (int t = TableDualMono; t <= TableAnalyserDisplay; ++t)
        IndexTable(IdIndex[t - 1], TableByNumber(t), TableRecordCount(t));
}

ParamDesc* FindParam(int table, int id) {
    if (table < TableDualMono || table > TableAnalyserDisplay) return nullptr;
    if (id < 0 || id >= IdSlots) return nullptr;
    return IdIndex[table - 1][id];
}

int FormatParamValue(const ParamDesc& record, char* text, size_t size) {
    if (size == 0) return 0;
    // Ten decimals first, so the only rounding is at the tenth digit; then
    // the digits are cut, never rounded. Values too large to print in the
    // buffer are cut at its end; infinities and NaN print as the C library
    // spells them.
    char full[400];
    std::snprintf(full, sizeof full, "%.10f", record.value);
    size_t keep = std::strlen(full);
    if (const char* point = std::strchr(full, '.')) {
        const size_t pointAt = static_cast<size_t>(point - full);
        if (record.decimals > 0) {
            const size_t want = pointAt + 1 + static_cast<size_t>(record.decimals);
            if (want < keep) keep = want;
        } else {
            keep = pointAt;
        }
    }
    if (keep > size - 1) keep = size - 1;
    std::memcpy(text, full, keep);
    text[keep] = '\0';
    return static_cast<int>(keep);
}

const char* LabelOf(const ParamDesc& record, double index) {
    if (record.labels == nullptr) return nullptr;
    if (!(index >= 0.0)) return nullptr;  // negative or NaN
    const double slot = std::trunc(index);
    if (slot > record.max || slot >= record.labels->count) return nullptr;
    return record.labels->label[static_cast<int>(slot)];
}

double ClampToLimits(const ParamDesc& record, double v) {
    if (v > record.max) v = record.max;
    if (!(v > record.min)) v = record.min;  // NaN takes min too
    return v;
}

bool IsSavedKind(ControlKind kind) {
    return kind == ControlKind::Numeric || kind == ControlKind::Toggle ||
           kind == ControlKind::Choice || kind == ControlKind::CyclicChoice;
}
