// Undo history and A/B compare: a ring of steps per function whose records
// live in a ring of entries, and the open step gathered apart so that a step
// that changes nothing never touches what can be redone.
#include "link/edit_history.h"

#include <cmath>
#include <cstring>

#include "link/host_encoder.h"
#include "link/link_state.h"
#include "link/user_change.h"

namespace {

constexpr int HistoryFunctions = 3;  // Dual Mono, Stereo, Analyser
// Room for a full ring of the largest steps, so that the step count, not the
// entries, is what bounds a history.
constexpr uint64_t EntryCapacity = static_cast<uint64_t>(HistoryStepCapacity) * HistoryRecordCapacity;

struct CompareState {
    bool inUse;
    CompareSide shown;
};

struct Step {
    uint64_t firstEntry;  // position in the entry ring, counted from the start of the run
    uint16_t count;
    StepKind kind;
    int16_t holdFrames;
    // The entries change the hidden side instead of the shown one (a copy
    // onto the side not shown).
    bool hiddenSide;
    // An A/B switch: each entry's shown value moves to the hidden side and
    // back when undone or redone.
    bool swapsSides;
    CompareState compareBefore;
    CompareState compareAfter;
};

// One function's history. Steps numbered [oldest, cursor) can be undone,
// [cursor, newest) redone; numbers count from the start of the run and index
// the ring modulo its size.
struct FunctionHistory {
    Step steps[HistoryStepCapacity];
    uint64_t oldest, cursor, newest;
    uint64_t entryEnd;  // where the next step's entries go
    uint8_t entryRecord[EntryCapacity];
    double entryBefore[EntryCapacity];
    double entryAfter[EntryCapacity];
    CompareState compare;
    double hidden[HistoryRecordCapacity];  // the side not shown
};

// The step being gathered: one entry per record, in the order first changed.
struct OpenStep {
    bool open;
    int function;  // 0 until the first change names it
    Step step;
    int count;
    uint8_t record[HistoryRecordCapacity];
    double before[HistoryRecordCapacity];
    double after[HistoryRecordCapacity];
};

FunctionHistory Histories[HistoryFunctions];
OpenStep Gathering;

bool ValidFunction(int function) { return function >= FunctionDualMono && function <= FunctionAnalyser; }

FunctionHistory& HistoryOf(int function) { return Histories[function - FunctionDualMono]; }

ParamDesc* TableOf(int function) {
    switch (function) {
        case FunctionDualMono: return DualMonoTable;
        case FunctionStereo: return StereoTable;
        case FunctionAnalyser: return AnalyserTable;
        default: return nullptr;
    }
}

int CountOf(int function) {
    switch (function) {
        case FunctionDualMono: return DualMonoCount;
        case FunctionStereo: return StereoCount;
        case FunctionAnalyser: return AnalyserCount;
        default: return 0;
    }
}

// The function whose settings table holds `record`, and its position there.
int FunctionOfRecord(const ParamDesc& record, int& position) {
    for (int f = FunctionDualMono; f <= FunctionAnalyser; ++f) {
        const ParamDesc* table = TableOf(f);
        // Compared as addresses, so that a record of another table is never
        // taken for one of these.
        const uintptr_t at = reinterpret_cast<uintptr_t>(&record);
        const uintptr_t first = reinterpret_cast<uintptr_t>(table);
        const uintptr_t end = reinterpret_cast<uintptr_t>(table + CountOf(f));
        if (at >= first && at < end) {
            position = static_cast<int>((at - first) / sizeof(ParamDesc));
            return f;
        }
    }
    return FunctionNone;
}

// Equal as the history sees it: the same value, or two values that are no
// numbers at all.
bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// The value of one record goes to the unit the way the step's values went,
// through the rule every user change takes. Undo and redo are edits the user
// sees: the setup becomes unsaved whatever the step was.
void SendValue(ParamDesc& r, double v, const Step& step) {
    switch (step.kind) {
        case StepKind::Drag:
        case StepKind::Dialog:
            ApplyUserChange(r, v, HoldFor(step.holdFrames), SetupEffect::MarkUnsaved);
            break;
        case StepKind::Load:
            // A load holds its values for its hold and one answer more per
            // changed record, never less than the count already runs.
            if (ClampToLimits(r, v) != r.value && TransmitCount < step.holdFrames) TransmitCount = step.holdFrames;
            ApplyUserChange(r, v, RaiseHoldByOne, SetupEffect::MarkUnsaved);
            break;
        case StepKind::Command: ApplyUserChange(r, v, RaiseHoldByOne, SetupEffect::MarkUnsaved); break;
    }
}

void DropOldestStep(FunctionHistory& h) {
    ++h.oldest;
    if (h.cursor < h.oldest) h.cursor = h.oldest;
}

// Appends the gathered step to its function's history; what could be redone
// is gone.
void CommitGathered() {
    FunctionHistory& h = HistoryOf(Gathering.function);
    if (h.newest > h.cursor) h.entryEnd = h.steps[h.cursor % HistoryStepCapacity].firstEntry;
    h.newest = h.cursor;
    const uint64_t count = static_cast<uint64_t>(Gathering.count);
    while (h.newest - h.oldest >= static_cast<uint64_t>(HistoryStepCapacity)) DropOldestStep(h);
    while (h.oldest < h.newest && h.entryEnd + count - h.steps[h.oldest % HistoryStepCapacity].firstEntry > EntryCapacity)
        DropOldestStep(h);
    Step step = Gathering.step;
    step.firstEntry = h.entryEnd;
    step.count = static_cast<uint16_t>(count);
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t at = (h.entryEnd + i) % EntryCapacity;
        h.entryRecord[at] = Gathering.record[i];
        h.entryBefore[at] = Gathering.before[i];
        h.entryAfter[at] = Gathering.after[i];
    }
    h.entryEnd += count;
    h.steps[h.newest % HistoryStepCapacity] = step;
    ++h.newest;
    h.cursor = h.newest;
}

void StartGathering(int function, StepKind kind, int holdFrames) {
    Gathering.open = true;
    Gathering.function = function;
    Gathering.count = 0;
    Gathering.step = {};
    Gathering.step.kind = kind;
    Gathering.step.holdFrames = static_cast<int16_t>(holdFrames);
    if (ValidFunction(function)) {
        Gathering.step.compareBefore = HistoryOf(function).compare;
        Gathering.step.compareAfter = HistoryOf(function).compare;
    }
}

// Notes a change of record `position` in the gathered step, keeping the
// value from before the step's first change of it.
void Gather(int position, double before, double after) {
    for (int i = 0; i < Gathering.count; ++i) {
        if (Gathering.record[i] == position) {
            Gathering.after[i] = after;
            return;
        }
    }
    const int i = Gathering.count++;
    Gathering.record[i] = static_cast<uint8_t>(position);
    Gathering.before[i] = before;
    Gathering.after[i] = after;
}

void FinishGathering() {
    Gathering.open = false;
    if (!ValidFunction(Gathering.function)) return;
    int kept = 0;
    for (int i = 0; i < Gathering.count; ++i) {
        if (SameValue(Gathering.before[i], Gathering.after[i])) continue;
        Gathering.record[kept] = Gathering.record[i];
        Gathering.before[kept] = Gathering.before[i];
        Gathering.after[kept] = Gathering.after[i];
        ++kept;
    }
    Gathering.count = kept;
    const CompareState& a = Gathering.step.compareBefore;
    const CompareState& b = Gathering.step.compareAfter;
    const bool compareChanged = a.inUse != b.inUse || a.shown != b.shown;
    if (kept > 0 || compareChanged) CommitGathered();
}

// Gives every entry of the step its value from before (undo) or after
// (redo), on the side the step changed.
void ApplyStep(int function, const Step& step, bool undo) {
    FunctionHistory& h = HistoryOf(function);
    ParamDesc* table = TableOf(function);
    for (uint64_t i = 0; i < step.count; ++i) {
        const uint64_t at = (step.firstEntry + i) % EntryCapacity;
        const int position = h.entryRecord[at];
        const double target = undo ? h.entryBefore[at] : h.entryAfter[at];
        if (step.hiddenSide) {
            h.hidden[position] = target;
            continue;
        }
        if (step.swapsSides) h.hidden[position] = undo ? h.entryAfter[at] : h.entryBefore[at];
        SendValue(table[position], target, step);
    }
    h.compare = undo ? step.compareBefore : step.compareAfter;
}

}  // namespace

void BeginUserStep(StepKind kind, int holdFrames) {
    if (Gathering.open) FinishGathering();
    StartGathering(FunctionNone, kind, holdFrames);
}

void NoteUserChange(const ParamDesc& record, double before, StepKind kind, int holdFrames) {
    int position = 0;
    const int function = FunctionOfRecord(record, position);
    if (function == FunctionNone) return;
    const bool single = !Gathering.open;
    if (single) StartGathering(function, kind, holdFrames);
    // The step belongs to the function of its first record; a record of
    // another function cannot join it.
    if (Gathering.function == FunctionNone) {
        Gathering.function = function;
        Gathering.step.compareBefore = HistoryOf(function).compare;
        Gathering.step.compareAfter = HistoryOf(function).compare;
    }
    if (Gathering.function == function) Gather(position, before, record.value);
    if (single) FinishGathering();
}

void EndUserStep() {
    if (Gathering.open) FinishGathering();
}

bool UserStepOpen() { return Gathering.open; }

bool CanUndo(int function) {
    if (!ValidFunction(function)) return false;
    const FunctionHistory& h = HistoryOf(function);
    return h.cursor > h.oldest;
}

bool CanRedo(int function) {
    if (!ValidFunction(function)) return false;
    const FunctionHistory& h = HistoryOf(function);
    return h.newest > h.cursor;
}

bool UndoStep(int function) {
    if (Gathering.open || !CanUndo(function)) return false;
    FunctionHistory& h = HistoryOf(function);
    --h.cursor;
    ApplyStep(function, h.steps[h.cursor % HistoryStepCapacity], true);
    return true;
}

bool RedoStep(int function) {
    if (Gathering.open || !CanRedo(function)) return false;
    FunctionHistory& h = HistoryOf(function);
    ApplyStep(function, h.steps[h.cursor % HistoryStepCapacity], false);
    ++h.cursor;
    return true;
}

bool CompareInUse(int function) { return ValidFunction(function) && HistoryOf(function).compare.inUse; }

CompareSide ShownCompareSide(int function) {
    return ValidFunction(function) ? HistoryOf(function).compare.shown : CompareSide::A;
}

void ToggleCompare(int function) {
    if (!ValidFunction(function) || Gathering.open) return;
    FunctionHistory& h = HistoryOf(function);
    ParamDesc* table = TableOf(function);
    const int count = CountOf(function);
    StartGathering(function, StepKind::Load, SendHoldFrames);
    if (!h.compare.inUse) {
        // B starts as a copy of A: nothing changes on the unit.
        for (int i = 0; i < count; ++i) h.hidden[i] = table[i].value;
        h.compare = {true, CompareSide::B};
    } else {
        Gathering.step.swapsSides = true;
        for (int i = 0; i < count; ++i) {
            ParamDesc& r = table[i];
            if (!IsSavedKind(r.kind) || SameValue(r.value, h.hidden[i])) continue;
            const double shown = r.value;
            SendValue(r, h.hidden[i], Gathering.step);
            h.hidden[i] = shown;
            Gather(i, shown, r.value);
        }
        h.compare.shown = h.compare.shown == CompareSide::A ? CompareSide::B : CompareSide::A;
    }
    Gathering.step.compareAfter = h.compare;
    FinishGathering();
}

void CopyCompareSide(int function, CompareSide target) {
    if (!CompareInUse(function) || Gathering.open) return;
    FunctionHistory& h = HistoryOf(function);
    ParamDesc* table = TableOf(function);
    const int count = CountOf(function);
    StartGathering(function, StepKind::Load, SendHoldFrames);
    const bool ontoShown = h.compare.shown == target;
    Gathering.step.hiddenSide = !ontoShown;
    for (int i = 0; i < count; ++i) {
        ParamDesc& r = table[i];
        if (!IsSavedKind(r.kind) || SameValue(r.value, h.hidden[i])) continue;
        if (ontoShown) {
            const double before = r.value;
            SendValue(r, h.hidden[i], Gathering.step);
            Gather(i, before, r.value);
        } else {
            Gather(i, h.hidden[i], r.value);
            h.hidden[i] = r.value;
        }
    }
    FinishGathering();
}

void ResetEditHistory() {
    std::memset(static_cast<void*>(Histories), 0, sizeof Histories);
    Gathering.open = false;
    Gathering.function = FunctionNone;
    Gathering.count = 0;
}
