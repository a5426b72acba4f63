// Mouse editing and the value dialogs' input rules.
#include "panel/panel_input.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "link/edit_history.h"
#include "link/user_change.h"
#include "panel/control_drawing.h"

PanelDragState PanelDrag = {false, 0.0, 0, false, 0.0};

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the run of digits at `p`.
size_t Digits(const char* p) {
    size_t n = 0;
    while (IsDigit(p[n])) ++n;
    return n;
}

// The new value of one dragged record for the mouse at y.
double DragCandidate(const ParamDesc& r, int32_t py, bool shift, PanelDragState& drag) {
    if (r.kind == ControlKind::Numeric) {
        if (shift != drag.anchorShift) {
            drag.anchorShift = shift;
            drag.anchorValue = r.value;
            drag.anchorY = py;
        }
        const int factor = shift ? ShiftFactor : 1;
        const int steps = DragSteps(drag.anchorY, py, NumericStepPixels);
        return drag.anchorValue + static_cast<double>(factor * steps) * r.step;
    }
    const int steps = DragSteps(drag.anchorY, py, ChoiceStepPixels);
    double candidate = drag.anchorValue + static_cast<double>(steps) * r.step;
    if (r.kind == ControlKind::CyclicChoice) candidate = WrapCyclic(candidate, r.min, r.max);
    return candidate;
}

}  // namespace

bool IsDraggableKind(ControlKind kind) {
    return kind == ControlKind::Numeric || kind == ControlKind::Choice || kind == ControlKind::CyclicChoice;
}

int DragSteps(int32_t anchorY, int32_t y, int pixelsPerStep) {
    if (pixelsPerStep <= 0) return 0;
    // Coordinates are 16-bit on the wire, so the difference cannot overflow;
    // integer division drops the remainder towards zero.
    return static_cast<int>((static_cast<int64_t>(anchorY) - y) / pixelsPerStep);
}

double WrapCyclic(double candidate, double min, double max) {
    const double turn = max - min + 1.0;
    if (!std::isfinite(candidate) || !std::isfinite(turn) || !(turn > 0.0)) return candidate;
    // Whole turns at once: the same as subtracting (or adding) one turn at a
    // time, without a loop whose length the candidate decides.
    if (candidate > max) candidate -= turn * std::ceil((candidate - max) / turn);
    if (candidate < min) candidate += turn * std::ceil((min - candidate) / turn);
    return candidate;
}

bool PanelPress(ParamDesc* table, int count, int32_t px, int32_t py, bool shift, PanelDragState& drag) {
    if (table == nullptr) return false;
    // A press ends any step a lost release left open.
    EndUserStep();
    bool flipped = false;
    for (int i = 0; i < count; ++i) {
        ParamDesc& r = table[i];
        r.flags &= ~static_cast<uint32_t>(Dragging);
        if (!HitsControl(r, px, py)) continue;
        if (IsDraggableKind(r.kind)) {
            // The whole drag, press to release, is one step of the user's.
            BeginUserStep(StepKind::Drag, DragHoldFrames);
            r.flags |= Dragging;
            drag.anchorValue = r.value;
            drag.lastCommitted = r.value;
            drag.anchorY = py;
            drag.dragging = true;
            drag.anchorShift = shift;
        } else if (r.kind == ControlKind::Toggle) {
            // Every press flips: the other side of 0.5 always differs.
            const double before = r.value;
            ApplyUserChange(r, IsOn(r.value) ? 0.0 : 1.0, HoldFor(DragHoldFrames), SetupEffect::MarkUnsaved);
            NoteUserChange(r, before, StepKind::Drag, DragHoldFrames);
            flipped = true;
        }
    }
    return flipped;
}

void PanelDragTo(ParamDesc* table, int count, int32_t py, bool shift, PanelDragState& drag) {
    if (table == nullptr) return;
    for (int i = 0; i < count; ++i) {
        ParamDesc& r = table[i];
        if ((r.flags & Dragging) == 0 || !IsDraggableKind(r.kind)) continue;
        const double v = ClampToLimits(r, DragCandidate(r, py, shift, drag));
        if (v == drag.lastCommitted) continue;
        drag.lastCommitted = v;
        const double before = r.value;
        ApplyUserChange(r, v, HoldFor(DragHoldFrames), SetupEffect::MarkUnsaved);
        NoteUserChange(r, before, StepKind::Drag, DragHoldFrames);
    }
}

void PanelRelease(ParamDesc* table, int count, PanelDragState& drag) {
    if (!drag.dragging) return;
    drag.dragging = false;
    ClearDragging(table, count);
    EndUserStep();
}

void ClearDragging(ParamDesc* table, int count) {
    if (table == nullptr) return;
    for (int i = 0; i < count; ++i) table[i].flags &= ~static_cast<uint32_t>(Dragging);
}

ValueDialog DialogForKind(ControlKind kind) {
    switch (kind) {
        case ControlKind::Numeric: return ValueDialog::ValueIn;
        case ControlKind::Readout:
        case ControlKind::Indicator: return ValueDialog::ValueOut;
        case ControlKind::Choice:
        case ControlKind::CyclicChoice: return ValueDialog::SelectIn;
        default: return ValueDialog::None;
    }
}

double ReadTypedNumber(const char* text) {
    if (text == nullptr) return 0.0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
    const char* start = p;
    size_t n = 0;
    if (p[n] == '+' || p[n] == '-') ++n;
    const size_t whole = Digits(p + n);
    n += whole;
    size_t fraction = 0;
    if (p[n] == '.') {
        fraction = Digits(p + n + 1);
        if (whole > 0 || fraction > 0) n += 1 + fraction;
    }
    if (whole == 0 && fraction == 0) return 0.0;
    if (p[n] == 'e' || p[n] == 'E') {
        size_t e = n + 1;
        if (p[e] == '+' || p[e] == '-') ++e;
        const size_t exponent = Digits(p + e);
        if (exponent > 0) n = e + exponent;
    }
    // The prefix alone goes to the conversion, so that nothing after it
    // (hexadecimal digits, "inf") can extend it.
    char number[256];
    if (n >= sizeof number) n = sizeof number - 1;
    std::memcpy(number, start, n);
    number[n] = '\0';
    return std::strtod(number, nullptr);
}

double TypedValueFor(const ParamDesc& record, const char* text) {
    double v = ReadTypedNumber(text);
    if (!(record.max > 0.0) && v > 0.0) v = -v;
    return v;
}

namespace {

// A dialog's value: one step of the user's.
bool CommitDialogValue(ParamDesc& record, double value) {
    const double before = record.value;
    if (!ApplyUserChange(record, value, HoldFor(DialogHoldFrames), SetupEffect::MarkUnsaved)) return false;
    NoteUserChange(record, before, StepKind::Dialog, DialogHoldFrames);
    return true;
}

}  // namespace

bool CommitTypedValue(ParamDesc& record, const char* text) {
    return CommitDialogValue(record, TypedValueFor(record, text));
}

bool CommitSelection(ParamDesc& record, int index) {
    if (index < 0) return false;
    return CommitDialogValue(record, static_cast<double>(index));
}

int FormatDialogNumber(const ParamDesc& record, double value, char* out, size_t size) {
    if (size == 0) return 0;
    ParamDesc shown = record;
    shown.value = value;
    return FormatParamValue(shown, out, size);
}

int FormatDialogLimit(const ParamDesc& record, double value, char* out, size_t size) {
    if (size == 0) return 0;
    const int n = FormatDialogNumber(record, value, out, size);
    const int more = std::snprintf(out + n, size - static_cast<size_t>(n), " %s", record.unit);
    if (more < 0) return n;
    const int room = static_cast<int>(size) - 1 - n;
    return n + (more < room ? more : room);
}

int SelectionLabelCount(const ParamDesc& record) {
    if (record.labels == nullptr || !(record.max >= 0.0)) return 0;
    const double last = std::trunc(record.max);
    const int listed = record.labels->count < MaxLabels ? record.labels->count : MaxLabels;
    if (last + 1.0 >= listed) return listed;
    return static_cast<int>(last) + 1;
}
