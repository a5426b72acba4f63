// Mouse editing on a panel and the input rules of the value dialogs, without
// the platform: the drag state of the program, what a button press, a drag
// and a release do to the records of a table, which dialog a double-click
// opens, and how a typed number or a picked label becomes the new value. The
// Windows side only turns window messages into these calls and draws.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/param_tables.h"

// A drag commits each new value with a hold of this many answers; a value
// from a dialog with the longer hold.
inline constexpr int DragHoldFrames = 5;
inline constexpr int DialogHoldFrames = 10;

// Pixels of mouse travel per step: numbers move one step (ten with Shift)
// per 2 pixels, selections one label per 12 pixels.
inline constexpr int NumericStepPixels = 2;
inline constexpr int ChoiceStepPixels = 12;
inline constexpr int ShiftFactor = 10;

// The drag of the program: one for all panels (user-interface thread only).
struct PanelDragState {
    bool dragging;         // a press started a drag that no release ended yet
    double anchorValue;    // the value where the drag (or the last Shift change) began
    int32_t anchorY;       // the mouse y there
    bool anchorShift;      // Shift held there
    double lastCommitted;  // the last value the drag committed
};
extern PanelDragState PanelDrag;

bool IsDraggableKind(ControlKind kind);

// Whole steps of mouse travel from anchorY up to y (moving up is positive),
// the remainder dropped towards zero.
int DragSteps(int32_t anchorY, int32_t y, int pixelsPerStep);

// A selection that wraps: a candidate above max comes round from min and one
// below min from max, in whole turns of (max - min + 1). Candidates that are
// not numbers, and lists whose turn is not positive, stay as they are.
double WrapCyclic(double candidate, double min, double max);

// Left button pressed at (px, py) with Shift as given. Every record stops
// following the mouse; a hit Numeric, Choice or CyclicChoice starts a drag;
// a hit Toggle flips on the press (marked for sending and redrawing, the
// setup modified, a hold of DragHoldFrames). Returns true when a switch
// flipped, so that the caller draws the marked controls at once.
bool PanelPress(ParamDesc* table, int count, int32_t px, int32_t py, bool shift, PanelDragState& drag);

// Mouse moved to y with the left button held and Shift as given: every
// dragged record takes the value the travel gives (Shift changes re-anchor
// numbers where they stand), limited to its range; a value other than the
// last committed one is marked for sending and redrawing. The caller then
// draws the marked controls.
void PanelDragTo(ParamDesc* table, int count, int32_t py, bool shift, PanelDragState& drag);

// Left button released, or a move without it: the drag ends.
void PanelRelease(ParamDesc* table, int count, PanelDragState& drag);

// No record follows the mouse any more (a double-click).
void ClearDragging(ParamDesc* table, int count);

// The dialog a double-click opens for a record of that kind.
enum class ValueDialog { None, ValueIn, SelectIn, ValueOut };
ValueDialog DialogForKind(ControlKind kind);

// The number at the start of a typed text: blanks skipped, then the longest
// prefix that forms a decimal number ([sign] digits [. digits] or
// [sign] . digits, then [e [sign] digits]); a text that starts with no
// number gives 0. Only decimal numbers count: "inf", "nan" and "0x10" read
// as 0, 0 and 0. A number too large for a double reads as an infinity of its
// sign, which the limits then catch.
double ReadTypedNumber(const char* text);

// The value a typed text means for a record: the number, negated when it is
// positive and the record's range lies at or below zero (typing 50 for a
// threshold means -50). Not yet limited.
double TypedValueFor(const ParamDesc& record, const char* text);

// VALUEIN's OK: the typed value, limited and committed when it differs,
// with the dialog hold. Returns true when the value changed.
bool CommitTypedValue(ParamDesc& record, const char* text);

// SELECTIN's OK: the picked list entry (0 is the first label), limited and
// committed like a typed value. A negative index means nothing is selected:
// nothing changes and the caller tells the user. Returns true when the value
// changed.
bool CommitSelection(ParamDesc& record, int index);

// The texts of the dialogs, each written NUL-terminated into `out` (cut to
// `size` - 1), returning the length:
// a limit or value as the panel prints it, without unit;
int FormatDialogNumber(const ParamDesc& record, double value, char* out, size_t size);
// a limit followed by one blank and the unit ("-120 dB", "0.3 s", "1.2 ");
int FormatDialogLimit(const ParamDesc& record, double value, char* out, size_t size);

// The number of labels SELECTIN lists: 0 to trunc(max), no more than the
// record's list holds.
int SelectionLabelCount(const ParamDesc& record);
