// The user's undo history and the A/B compare of each device function.
//
// Every user action is one step: a whole drag (press to release), a switch
// click, a dialog value, a setup file load, an analyser key, an A/B switch or
// copy. The editing paths open a step where the action begins, note each
// record they change (after the change) and close it where the action ends;
// the program's own changes and the unit's reports never reach a step. Undo
// gives every record of the last step the value it had just before the step,
// redo the value it had after it, whatever the unit did since, and the value
// goes to the unit the way the original edit went.
//
// Each function (Dual Mono, Stereo, Analyser) keeps its own history and A/B
// state for the whole run, found again after a boot into another function.
// Everything is static: nothing is allocated, per frame or per edit. The
// user-interface thread alone touches any of it.
#pragma once

#include <cstdint>

#include "model/param_tables.h"

// How a step's values went to the unit; undo and redo send them the same way.
enum class StepKind : uint8_t {
    Drag,     // a drag or a switch click: held for the drag's answers
    Dialog,   // a value dialog: held for the dialog's answers
    Load,     // a setup file, an A/B switch or copy: like a file load
    Command,  // an analyser key: the program's own rule, one answer more
};

// A function keeps at least this many steps, of any size; older steps are
// dropped first.
inline constexpr int HistoryStepCapacity = 1024;
// The most records a step can hold: the largest table of a function.
inline constexpr int HistoryRecordCapacity = DualMonoCount;

enum class CompareSide : uint8_t { A = 0, B = 1 };

// Opens the step of a user action. A step still open (a release that never
// came) is closed first.
void BeginUserStep(StepKind kind, int holdFrames);
// A record of DualMonoTable, StereoTable or AnalyserTable that the open step
// just changed from `before` to its present value. Without an open step the
// change is a step of its own (of kind Dialog). Records of other tables are
// not user settings and are ignored.
void NoteUserChange(const ParamDesc& record, double before, StepKind kind = StepKind::Dialog,
                    int holdFrames = 0);
// Closes the open step. A step whose records all came back to their values
// (a drag returned to where it began) is dropped and keeps the redo steps.
void EndUserStep();
bool UserStepOpen();

// Undo and redo in the history of `function` (1 to 3). They do nothing while
// a step is open or when there is nothing to undo or redo; true when a step
// was undone or redone. The caller draws the marked records and the title.
bool UndoStep(int function);
bool RedoStep(int function);
bool CanUndo(int function);
bool CanRedo(int function);

// A/B compare. The first use in a function makes B a copy of what is shown
// (A) and shows B; from then on each call switches sides, sending every value
// that differs like a file load. One step each.
void ToggleCompare(int function);
// Makes the target side equal to the other; the shown values change (and go
// to the unit) only when the target is the side shown. Nothing before the
// first ToggleCompare.
void CopyCompareSide(int function, CompareSide target);
bool CompareInUse(int function);
CompareSide ShownCompareSide(int function);

// Every function back to an empty history with A/B unused. For tests.
void ResetEditHistory();
