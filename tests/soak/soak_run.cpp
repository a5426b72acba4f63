// The soak: the program's link core (receiver, decoders, encoder, link
// watchdog, setup reader) and the simulated unit joined by an in-memory line
// on one virtual clock, with a seeded random user.
//
// Time. Everything happens at microseconds of one clock: the unit's frame
// slots (41.7 ms, 28.1 ms in the Analyser), the program's reads of what has
// arrived (every few milliseconds, now and then late as when the window is
// busy), its 400 ms timer, the user's actions and the cable. The unit builds
// a frame at the start of its slot and its bytes arrive one character time
// (10 bits at 38400 baud) apart; the program answers when a frame's last byte
// has been read, and its answer reaches the unit two milliseconds later,
// inside the next slot, so the unit first reports the change in the frame
// after next, as a real unit on a real wire does.
//
// Bookkeeping. For every setting of every function the soak keeps what the
// unit should run (the user's last value, or what a recall the user asked
// for brought), whether the unit has held it since, every host frame that
// carried it and what became of that frame, and what moved the unit off it
// again. At the end the differences are counted and explained.
#include "tests/soak/soak_run.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>

#include "app/dialog_rules.h"
#include "app/link_supervision.h"
#include "app/shell_state.h"
#include "link/device_codec.h"
#include "link/edit_history.h"
#include "link/frame_layout.h"
#include "link/frame_receiver.h"
#include "link/host_encoder.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"
#include "setup/setup_file.h"
#include "tests/fakes.h"
#include "tests/test_support.h"
#include "tools/sim/unit_model.h"
#include "tools/sim/unit_state_text.h"

namespace {

constexpr int64_t Ms = 1000;
constexpr int64_t Sec = 1000000;
constexpr double CharUs = 1e6 * 10.0 / 38400.0;  // start bit, 8 data bits, stop bit
constexpr int64_t TickUs = 400 * Ms;
constexpr int64_t BootPauseUs = 1500 * Ms;    // the unit is silent that long while it reboots
constexpr int64_t EndingLimitUs = 120 * Sec;  // the end phase gives up after this
constexpr uint32_t NoTag = 0xFFFFFFFFu;
constexpr int SentRing = 1024;
constexpr size_t MaxNotes = 40;

// ---------------------------------------------------------------------------
// Random numbers: splitmix64, so that a seed gives the same run everywhere.

struct Rng {
    uint64_t state;
};

uint64_t Next(Rng& r) {
    uint64_t z = (r.state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
double Uniform(Rng& r) { return static_cast<double>(Next(r) >> 11) * (1.0 / 9007199254740992.0); }
int Int(Rng& r, int lo, int hi) { return lo + static_cast<int>(Next(r) % static_cast<uint64_t>(hi - lo + 1)); }
int64_t Between(Rng& r, int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(Next(r) % static_cast<uint64_t>(hi - lo + 1));
}
bool Chance(Rng& r, double p) { return p > 0.0 && Uniform(r) < p; }
int64_t ExponentialUs(Rng& r, double meanS) { return static_cast<int64_t>(-meanS * std::log(1.0 - Uniform(r)) * 1e6); }

// ---------------------------------------------------------------------------
// Values on a record's step grid: k steps above its minimum, computed from
// whole tenths so that they are exactly the numbers the frames carry.

bool Tenths(const ParamDesc& r) { return r.decimals > 0; }

long GridSteps(const ParamDesc& r) {
    if (Tenths(r)) return (std::lround(r.max * 10) - std::lround(r.min * 10)) / std::lround(r.step * 10);
    return std::lround((r.max - r.min) / r.step);
}

double GridValue(const ParamDesc& r, long k) {
    if (Tenths(r)) return static_cast<double>(std::lround(r.min * 10) + k * std::lround(r.step * 10)) / 10.0;
    return r.min + static_cast<double>(k) * r.step;
}

long GridIndex(const ParamDesc& r, double v) {
    long k = Tenths(r) ? (std::lround(v * 10) - std::lround(r.min * 10)) / std::lround(r.step * 10)
                       : std::lround((v - r.min) / r.step);
    return std::clamp(k, 0L, GridSteps(r));
}

// ---------------------------------------------------------------------------
// What the unit should run, per function and id.

enum class Source : uint8_t { Start, Edit, Recall };

struct Track {
    double intent;
    Source source;
    uint64_t seq;  // the user action that set it
    int64_t sinceUs;
    bool touched;   // the user set this record at least once
    bool unitHeld;  // the unit has held `intent` since it was set
    bool linkLost;  // the link was lost since
    int sends;      // host frames that carried `intent` while the unit lacked it
    int spoiled, dropped, ignored, unreported;
    int awayCommand;  // host command that moved the unit off `intent`; -1 none
    LossKind awayKind;
    int takeOvers;  // the program took a different value over from the unit
    int remarks;
    int gaveUp;          // 0; 1 the program took the unit's value over before a link loss; 2 after one
    bool followsRecall;  // still waiting to be sent when a recall went out: it follows the recall
};

struct Carried {
    int function;
    int id;
};

enum class Request : uint8_t { None, NameChunk, Store, Recall, Boot };

// A host frame on its way to the unit.
struct SentFrame {
    int function;
    int command;
    Request request;
    int switchId;  // the switch record a switch command was sent for; -1 for none
    bool corrupted;
    int carriedCount;
    Carried carried[16];
};

// One frame slot's bytes on the way to the program.
struct DeviceChunk {
    int64_t t0;
    double step;  // microseconds between bytes
    uint8_t bytes[UnitMaxOutput];
    size_t size;
    size_t pos;
};

struct HostByte {
    int64_t at;
    uint8_t byte;
    bool last;  // the last byte of frame `tag`
    uint32_t tag;
};

struct User {
    int64_t nextUs;
    ParamDesc* drag;
    int dragFunction;
    long dragIndex;
    int64_t dragEndUs;
    int burstLeft;
    uint64_t seq;
    // Boots: the function the user wants the unit in, and when to change it.
    int desired;
    int64_t awayUntilUs;
    int64_t nextTripUs;
    int64_t lastBootTryUs;
    // A modal dialog open (1 open setup file, 2 store, 3 recall): what
    // happens when the user presses OK, at `nextUs`.
    int dialog;
    // The store waiting, for checking what the unit keeps.
    int storeSlot;
    char storeName[UnitNameLength];
    uint64_t recallSeq;
    bool redoNext;  // the next action takes back the undo just made
};

struct Soak {
    SoakConfig cfg;
    Rng userRng;
    Rng lineRng;
    std::unique_ptr<UnitModel> unit;
    int64_t now;
    int64_t nextReadUs;
    int64_t nextTickUs;
    std::deque<DeviceChunk> toProgram;
    std::deque<HostByte> toUnit;
    int64_t hostLineFreeUs;
    SentFrame sent[SentRing];
    uint32_t nextTag;
    int titleUpdates;
    double hostCorrupt, hostNoise;
    // Each cable pull is armed at a time and happens at the first moment
    // after it when a value is on the line to the unit (or a minute later).
    int64_t unplugArmUs[2], unplugForUs[2], unplugFromUs[2];
    bool ending;
    int64_t endingSinceUs;
    int64_t healthySinceUs;
    // The saved records of tables 1 to 3 as they were after the last event,
    // to tell the decoder's changes from the user's.
    double shadowValue[4][DualMonoCount];
    uint32_t shadowFlags[4][DualMonoCount];
    Track track[4][IdSlots];
    User user;
    SoakFigures fig;
    char setupText[SetupFileCapacity];
};

bool IsSwitch(int function, int id) {
    uint32_t mask = 0;
    return UnitSwitchMask(function, id, &mask);
}

// The unit's value and the intent agree: switches by their on state (the
// unit holds 0 or 1), settings exactly.
bool Agrees(int function, int id, double intent, double unitValue) {
    if (IsSwitch(function, id)) return (intent >= 0.5) == (unitValue >= 0.5);
    return intent == unitValue;
}

bool Tracked(int function, int id) {
    const ParamDesc* p = FindParam(function, id);
    return p != nullptr && IsSavedKind(p->kind);
}

// The unit carries this setting of the function in its frames (and so can
// lose it); the others belong to the program alone.
bool UnitHas(int function, int id) { return Tracked(function, id) && UnitCarriesSetting(function, id); }

double UnitValueOf(const UnitModel& unit, int function, int id) {
    return UnitSettingValue(unit.functions[function - 1].current, function, id);
}

const SwitchBit* SwitchBits(int function, size_t* count) {
    if (function == FunctionAnalyser) {
        *count = sizeof AnalyserSwitches / sizeof AnalyserSwitches[0];
        return AnalyserSwitches;
    }
    *count = sizeof DualMonoSwitches / sizeof DualMonoSwitches[0];
    return DualMonoSwitches;
}

void TakeShadow(Soak& s) {
    for (int t = TableDualMono; t <= TableAnalyser; ++t) {
        const ParamDesc* table = TableByNumber(t);
        for (int i = 0; i < TableRecordCount(t); ++i) {
            s.shadowValue[t][i] = table[i].value;
            s.shadowFlags[t][i] = table[i].flags;
        }
    }
}

void ResetTrackCounters(Track& tr) {
    tr.linkLost = false;
    tr.sends = tr.spoiled = tr.dropped = tr.ignored = tr.unreported = 0;
    tr.awayCommand = -1;
    tr.awayKind = LossKind::Unexplained;
    tr.takeOvers = tr.remarks = 0;
    tr.gaveUp = 0;
    tr.followsRecall = false;
}

void InitTracks(Soak& s) {
    for (int f = FunctionDualMono; f <= FunctionAnalyser; ++f) {
        for (int id = 0; id < IdSlots; ++id) {
            Track& tr = s.track[f][id];
            tr = Track{};
            if (!Tracked(f, id)) continue;
            tr.intent = FindParam(f, id)->value;
            tr.source = Source::Start;
            tr.unitHeld = true;
            ResetTrackCounters(tr);
        }
    }
}

// ---------------------------------------------------------------------------
// The user's changes.

void NoteUserValue(Soak& s, int function, const ParamDesc& r) {
    Track& tr = s.track[function][r.id];
    if (tr.source == Source::Edit && !tr.unitHeld && UnitHas(function, r.id)) ++s.fig.superseded;
    tr.intent = r.value;
    tr.source = Source::Edit;
    tr.seq = ++s.user.seq;
    tr.sinceUs = s.now;
    if (!tr.touched) ++s.fig.recordsSet;
    tr.touched = true;
    tr.unitHeld = !UnitHas(function, r.id) || Agrees(function, r.id, r.value, UnitValueOf(*s.unit, function, r.id));
    ResetTrackCounters(tr);
    ++s.fig.edits;
}

// A record of the current table for an edit of the given kinds, or null.
ParamDesc* PickRecord(Soak& s, int function, bool numeric, bool toggles) {
    ParamDesc* table = TableByNumber(function);
    const int n = TableRecordCount(function);
    ParamDesc* pick[DualMonoCount];
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const ControlKind k = table[i].kind;
        const bool isNumeric = k == ControlKind::Numeric || k == ControlKind::Choice;
        const bool isToggle = k == ControlKind::Toggle || k == ControlKind::CyclicChoice;
        if ((numeric && isNumeric) || (toggles && isToggle)) pick[count++] = &table[i];
    }
    return count == 0 ? nullptr : pick[Int(s.userRng, 0, count - 1)];
}

// A grid value other than the record's current one.
double OtherGridValue(Soak& s, const ParamDesc& r) {
    const long steps = GridSteps(r);
    const long here = GridIndex(r, r.value);
    long k = Int(s.userRng, 0, static_cast<int>(steps - 1));
    if (k >= here) ++k;
    return GridValue(r, k);
}

// A value the user set, a step of the history as the panel and dialogs
// record it (a drag's values join the step its press opened).
bool Commit(Soak& s, int function, ParamDesc& r, double v, int hold) {
    const double before = r.value;
    if (!CommitUserValue(r, v, hold)) return false;
    NoteUserChange(r, before, hold == 10 ? StepKind::Dialog : StepKind::Drag, hold);
    NoteUserValue(s, function, r);
    return true;
}

// A click on a switch: on and off; a cyclic selection steps to its next label.
bool Click(Soak& s, int function, ParamDesc& r) {
    double v = r.value > 0.5 ? 0.0 : 1.0;
    if (r.kind == ControlKind::CyclicChoice) v = static_cast<double>((GridIndex(r, r.value) + 1) % (GridSteps(r) + 1));
    return Commit(s, function, r, v, 5);
}

void DialogEdit(Soak& s, int function, int hold) {
    ParamDesc* r = PickRecord(s, function, true, false);
    if (r != nullptr && Commit(s, function, *r, OtherGridValue(s, *r), hold)) ++s.fig.dialogEdits;
}

void StartDrag(Soak& s, int function) {
    ParamDesc* r = PickRecord(s, function, true, false);
    if (r == nullptr) return;
    // The button goes down on the control: it now follows the mouse.
    r->flags |= Dragging;
    BeginUserStep(StepKind::Drag, 5);
    s.user.drag = r;
    s.user.dragFunction = function;
    s.user.dragIndex = GridIndex(*r, r->value);
    s.user.dragEndUs = s.now + Between(s.userRng, 300 * Ms, 4 * Sec);
    ++s.fig.drags;
}

void DragMove(Soak& s) {
    ParamDesc& r = *s.user.drag;
    const long steps = GridSteps(r);
    s.user.dragIndex = std::clamp(s.user.dragIndex + Int(s.userRng, -3, 3), 0L, steps);
    if (Commit(s, s.user.dragFunction, r, GridValue(r, s.user.dragIndex), 5)) ++s.fig.dragMoves;
}

void EndDrag(Soak& s) {
    if (s.user.drag == nullptr) return;
    s.user.drag->flags &= ~Dragging;  // the button comes up
    EndUserStep();
    s.user.drag = nullptr;
}

// A setup file written from a changed copy of the current values, then
// opened: the program reads it the way it reads a file from disk.
void LoadSetup(Soak& s, int function) {
    ParamDesc* table = TableByNumber(function);
    const int n = TableRecordCount(function);
    double before[DualMonoCount];
    for (int i = 0; i < n; ++i) before[i] = table[i].value;
    const int changes = Int(s.userRng, 1, 25);
    for (int c = 0; c < changes; ++c) {
        ParamDesc& r = table[Int(s.userRng, 0, n - 1)];
        if (!IsSavedKind(r.kind)) continue;
        r.value = OtherGridValue(s, r);
    }
    const size_t size = FormatSetupFile(function, SetupComment, ProgramSettings.mainWindowRect, s.setupText,
                                        sizeof s.setupText);
    for (int i = 0; i < n; ++i) table[i].value = before[i];
    if (size == 0) return;

    SetupReader reader{};
    BeginSetupLoad(reader, table, n, SetupComment, ProgramSettings.mainWindowRect);
    size_t pos = 0;
    while (pos < size) {
        const size_t chunk = std::min(size - pos, static_cast<size_t>(Int(s.userRng, 1, 700)));
        FeedSetupBytes(reader, s.setupText + pos, chunk);
        pos += chunk;
    }
    FinishSetupLoad(reader);
    UnsavedChanges = 0;
    ++s.fig.setupLoads;
    for (int i = 0; i < n; ++i) {
        if (!IsSavedKind(table[i].kind) || table[i].value == before[i]) continue;
        NoteUserValue(s, function, table[i]);
        ++s.fig.loadedValues;
    }
}

// The store dialog: a memory number and an upper-case name of up to ten
// characters.
void Store(Soak& s, int function) {
    static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -";
    char typed[UnitNameLength + 1] = {};
    const int length = Int(s.userRng, 0, UnitNameLength);
    for (int i = 0; i < length; ++i) typed[i] = Letters[Int(s.userRng, 0, static_cast<int>(sizeof Letters) - 2)];
    if (BuildStoreName(typed, StoreName) != StoreNameResult::Accepted) return;
    StoreSlot = Int(s.userRng, 1, MemoryCountFor(function));
    StoreNameChunksLeft = 4;
    s.user.storeSlot = StoreSlot;
    std::memset(s.user.storeName, ' ', UnitNameLength);
    std::memcpy(s.user.storeName, typed, static_cast<size_t>(length));
    ++s.fig.store.made;
    ++s.fig.actions;
}

void Recall(Soak& s, int function) {
    RecallSlot = Int(s.userRng, 1, MemoryCountFor(function));
    s.user.recallSeq = ++s.user.seq;
    ++s.fig.recall.made;
    ++s.fig.actions;
}

// The Analyser's menu keys: input select L, R, M; freeze; level meter display.
void MenuKey(Soak& s) {
    static const int Ids[] = {34, 46, 51};
    const int id = Ids[Int(s.userRng, 0, 2)];
    ParamDesc* r = FindParam(TableAnalyser, id);
    const double v = id == 34 ? Int(s.userRng, 0, 2) : 1.0 - r->value;
    const double old = r->value;
    RequestParamChange(v, id, TableAnalyser);
    NoteUserChange(*r, old, StepKind::Command, 0);
    if (r->value != old) {
        NoteUserValue(s, FunctionAnalyser, *r);
        ++s.fig.menuChanges;
        ++s.fig.actions;
    }
}

// The Edit menu: undo, redo, Compare A/B and the copies. Every value the
// step changes is one the user set.
void EditMenuStep(Soak& s, int function) {
    ParamDesc* table = TableByNumber(function);
    const int n = TableRecordCount(function);
    double before[DualMonoCount];
    for (int i = 0; i < n; ++i) before[i] = table[i].value;
    // An engineer who undid something often listens and takes it back.
    const int roll = s.user.redoNext ? 50 : Int(s.userRng, 0, 99);
    s.user.redoNext = false;
    uint64_t* counter = nullptr;
    if (roll < 50) {
        if (UndoStep(function)) counter = &s.fig.undos;
        s.user.redoNext = counter != nullptr && Chance(s.userRng, 0.4);
    } else if (roll < 55) {
        if (RedoStep(function)) counter = &s.fig.redos;
    } else if (roll < 90) {
        ToggleCompare(function);
        counter = &s.fig.compareSwitches;
    } else if (CompareInUse(function)) {
        CopyCompareSide(function, roll < 95 ? CompareSide::A : CompareSide::B);
        counter = &s.fig.compareCopies;
    }
    if (counter == nullptr) return;
    ++*counter;
    ++s.fig.actions;
    for (int i = 0; i < n; ++i)
        if (IsSavedKind(table[i].kind) && table[i].value != before[i]) NoteUserValue(s, function, table[i]);
}

int BootCode(int function) {
    switch (function) {
        case FunctionDualMono: return 1;
        case FunctionAnalyser: return 2;
        case FunctionStereo: return 3;
        default: return 0;
    }
}

bool NoRequestWaiting() { return StoreSlot == 0 && RecallSlot == 0 && BootRequest == 0; }

// Boots: the user goes to another function now and then, stays a while and
// comes back; a boot that did not take is tried again after a few seconds.
bool MaybeBoot(Soak& s) {
    User& u = s.user;
    const int home = s.cfg.function;
    if (!s.ending && s.cfg.boots) {
        if (u.desired == home && s.now >= u.nextTripUs) {
            u.desired = home == FunctionDualMono ? (Chance(s.userRng, 0.5) ? FunctionStereo : FunctionAnalyser)
                        : home == FunctionStereo ? (Chance(s.userRng, 0.5) ? FunctionDualMono : FunctionAnalyser)
                                                 : (Chance(s.userRng, 0.5) ? FunctionDualMono : FunctionStereo);
            u.awayUntilUs = s.now + Between(s.userRng, 20 * Sec, 90 * Sec);
            u.nextTripUs = u.awayUntilUs + ExponentialUs(s.userRng, 480.0);
        } else if (u.desired != home && s.now >= u.awayUntilUs) {
            u.desired = home;
        }
    }
    if (s.ending) u.desired = home;
    if (Online == 0 || DeviceFunction == u.desired || !NoRequestWaiting()) return false;
    if (s.now - u.lastBootTryUs < 4 * Sec) return false;
    EndDrag(s);
    BootRequest = BootCode(u.desired);
    u.lastBootTryUs = s.now;
    ++s.fig.boot.made;
    ++s.fig.actions;
    return true;
}

int64_t ThinkTime(Soak& s) { return std::max<int64_t>(150 * Ms, ExponentialUs(s.userRng, 2.5)); }

void UserStep(Soak& s) {
    User& u = s.user;
    const int fn = DeviceFunction;
    if (u.drag != nullptr) {
        // The button comes up at the end of the drag, and when the panel
        // changes under the mouse because the unit now runs another function.
        if (s.now >= u.dragEndUs || s.ending || fn != u.dragFunction) {
            EndDrag(s);
            u.nextUs = s.now + ThinkTime(s);
        } else {
            DragMove(s);
            u.nextUs = s.now + Between(s.userRng, 15 * Ms, 60 * Ms);
        }
        return;
    }
    if (u.burstLeft > 0) {
        --u.burstLeft;
        if (fn != FunctionNone) {
            if (Chance(s.userRng, 0.6)) {
                if (ParamDesc* r = PickRecord(s, fn, false, true); r != nullptr && Click(s, fn, *r)) ++s.fig.clicks;
            } else {
                DialogEdit(s, fn, 5);
            }
        }
        u.nextUs = s.now + (u.burstLeft > 0 ? Between(s.userRng, 40 * Ms, 250 * Ms) : ThinkTime(s));
        return;
    }
    u.nextUs = s.now + ThinkTime(s);
    if (u.dialog != 0) {
        const int dialog = u.dialog;
        u.dialog = 0;
        if (s.ending || fn == FunctionNone) return;
        const bool memories = fn != FunctionAnalyser && Online != 0 && NoRequestWaiting();
        if (dialog == 1) LoadSetup(s, fn);
        if (dialog == 2 && memories) Store(s, fn);
        if (dialog == 3 && memories) Recall(s, fn);
        return;
    }
    if (MaybeBoot(s) || s.ending || fn == FunctionNone) return;
    if (s.cfg.undoAndCompare && (u.redoNext || Chance(s.userRng, 0.15))) {
        EditMenuStep(s, fn);
        return;
    }

    const bool memories = fn != FunctionAnalyser && Online != 0 && NoRequestWaiting();
    const int roll = Int(s.userRng, 0, 99);
    if (roll < 25) {
        DialogEdit(s, fn, 10);
        ++s.fig.actions;
    } else if (roll < 45) {
        if (ParamDesc* r = PickRecord(s, fn, false, true); r != nullptr && Click(s, fn, *r)) {
            ++s.fig.clicks;
            ++s.fig.actions;
        }
    } else if (roll < 63) {
        StartDrag(s, fn);
        ++s.fig.actions;
        u.nextUs = s.now + Between(s.userRng, 15 * Ms, 60 * Ms);
    } else if (roll < 73) {
        u.burstLeft = Int(s.userRng, 2, 6);
        ++s.fig.actions;
        u.nextUs = s.now + Between(s.userRng, 40 * Ms, 250 * Ms);
    } else if (roll < 89) {
        // The file, store and recall dialogs are modal: nothing else happens
        // until the user presses OK.
        if (roll >= 79 && !memories) return;
        u.dialog = roll < 79 ? 1 : roll < 84 ? 2 : 3;
        u.nextUs = s.now + Between(s.userRng, 1 * Sec, 4 * Sec);
        if (u.dialog == 1) ++s.fig.actions;
    } else if (fn == FunctionAnalyser) {
        MenuKey(s);
    } else {
        DialogEdit(s, fn, 10);
        ++s.fig.actions;
    }
}

// ---------------------------------------------------------------------------
// The program's side.

// A host frame the program wrote: what it carries, then onto the line,
// spoiled now and then.
void SendHostFrame(Soak& s, const uint8_t* bytes) {
    const uint32_t tag = s.nextTag++;
    SentFrame& f = s.sent[tag % SentRing];
    f = SentFrame{};
    f.function = DeviceFunction;
    f.command = bytes[3];
    f.switchId = -1;
    const int fn = f.function;
    const DeviceRequestCommands req = RequestCommandsFor(fn);
    const bool memories = fn == FunctionDualMono || fn == FunctionStereo;
    ++s.fig.hostFrames;

    auto carry = [&](int id) {
        Track& tr = s.track[fn][id];
        if (tr.unitHeld || f.carriedCount >= 16) return;
        f.carried[f.carriedCount++] = {fn, id};
        ++tr.sends;
    };
    if (req.boot != 0 && f.command == req.boot) {
        f.request = Request::Boot;
        ++s.fig.boot.sent;
    } else if (memories && f.command == req.store) {
        f.request = Request::Store;
        ++s.fig.store.sent;
    } else if (memories && f.command == req.recall) {
        f.request = Request::Recall;
        ++s.fig.recall.sent;
        // Values still waiting go out after the recall and override it.
        const ParamDesc* table = TableByNumber(fn);
        for (int i = 0; i < TableRecordCount(fn); ++i)
            if (IsSavedKind(table[i].kind))
                s.track[fn][table[i].id].followsRecall = (table[i].flags & SendPending) != 0;
    } else if (memories && f.command >= CmdStoreNameChunk0 && f.command <= CmdStoreNameChunk0 + 9) {
        f.request = Request::NameChunk;
    } else if (f.command == CmdSwitches && fn != FunctionNone) {
        const uint32_t word = bytes[4] | (bytes[5] << 8) | (static_cast<uint32_t>(bytes[6]) << 16);
        size_t n = 0;
        const SwitchBit* bits = SwitchBits(fn, &n);
        const ParamDesc* table = TableByNumber(fn);
        for (size_t k = 0; k < n; ++k) {
            if (!Tracked(fn, bits[k].id)) continue;
            const bool on = (word & bits[k].mask) != 0;
            if (on == (s.track[fn][bits[k].id].intent >= 0.5)) carry(bits[k].id);
            // The record this command was sent for: marked before this
            // answer, JustSent now.
            const ParamDesc* r = FindParam(fn, bits[k].id);
            const int i = static_cast<int>(r - table);
            if ((r->flags & JustSent) && (s.shadowFlags[fn][i] & SendPending)) f.switchId = bits[k].id;
        }
    } else if (const ParamCommand* c = FindCommandTarget(fn, f.command)) {
        ParsedHostFrame parsed;
        if (ParseHostFrame(bytes, HostFrameSize, &parsed) && Tracked(fn, c->id)) {
            double v = DecodeCommandValue(c->encoding, parsed);
            v = ClampToLimits(*FindParam(fn, c->id), v);
            if (v == s.track[fn][c->id].intent) carry(c->id);
        }
    }

    uint8_t out[HostFrameSize];
    std::memcpy(out, bytes, HostFrameSize);
    if (Chance(s.lineRng, s.hostCorrupt)) {
        out[Int(s.lineRng, 0, HostFrameSize - 1)] ^= static_cast<uint8_t>(Int(s.lineRng, 1, 255));
        f.corrupted = true;
        ++s.fig.hostCorrupted;
        for (int i = 0; i < f.carriedCount; ++i) ++s.track[f.carried[i].function][f.carried[i].id].spoiled;
        if (f.request == Request::Store || f.request == Request::Recall || f.request == Request::Boot) {
            RequestFigures& rf = f.request == Request::Store    ? s.fig.store
                                 : f.request == Request::Recall ? s.fig.recall
                                                                : s.fig.boot;
            ++rf.spoiled;
        }
    }

    int64_t at = std::max(s.now, s.hostLineFreeUs);
    if (Chance(s.lineRng, s.hostNoise)) {
        ++s.fig.hostNoiseBursts;
        const int noise = Int(s.lineRng, 1, 6);
        for (int i = 0; i < noise; ++i) {
            at += static_cast<int64_t>(CharUs);
            s.toUnit.push_back({at, static_cast<uint8_t>(Next(s.lineRng) & 0xFF), false, NoTag});
        }
    }
    for (int i = 0; i < HostFrameSize; ++i) {
        at += static_cast<int64_t>(CharUs);
        s.toUnit.push_back({at, out[i], i == HostFrameSize - 1, tag});
    }
    s.hostLineFreeUs = at;
}

// After every valid frame: the answer goes onto the line; what the decoder
// changed in the tables is noted.
void OnProgramFrame(Soak& s) {
    ++s.fig.framesAccepted;
    s.fig.maxTransmitCount = std::max(s.fig.maxTransmitCount, TransmitCount);
    for (const std::vector<uint8_t>& w : Fake.written)
        if (w.size() == HostFrameSize) SendHostFrame(s, w.data());
    Fake.written.clear();
    Fake.redraws.clear();

    for (int t = TableDualMono; t <= TableAnalyser; ++t) {
        ParamDesc* table = TableByNumber(t);
        for (int i = 0; i < TableRecordCount(t); ++i) {
            ParamDesc& r = table[i];
            if (!IsSavedKind(r.kind)) continue;
            Track& tr = s.track[t][r.id];
            if (r.value != s.shadowValue[t][i]) {
                ++tr.takeOvers;
                if (!tr.unitHeld && tr.gaveUp == 0 && t == DeviceFunction) tr.gaveUp = tr.linkLost ? 2 : 1;
            }
            if ((r.flags & SendPending) && !(s.shadowFlags[t][i] & SendPending)) {
                ++tr.remarks;
                ++s.fig.remarks;
            }
            s.shadowValue[t][i] = r.value;
            s.shadowFlags[t][i] = r.flags;
        }
    }
}

double ByteArrival(const DeviceChunk& c, size_t pos) {
    return static_cast<double>(c.t0) + static_cast<double>(pos + 1) * c.step;
}

// The program reads what has arrived and feeds it to its receiver.
void ProgramRead(Soak& s) {
    while (!s.toProgram.empty()) {
        DeviceChunk& c = s.toProgram.front();
        while (c.pos < c.size && ByteArrival(c, c.pos) <= static_cast<double>(s.now)) {
            ReceiveByte(c.bytes[c.pos++]);
            if (Fake.titleUpdates != s.titleUpdates) {
                s.titleUpdates = Fake.titleUpdates;
                OnProgramFrame(s);
            }
        }
        if (c.pos < c.size) return;
        s.toProgram.pop_front();
    }
}

// The 400 ms timer.
void Tick(Soak& s) {
    const int32_t wasOnline = Online;
    const bool storeWaiting = StoreSlot != 0, recallWaiting = RecallSlot != 0;
    if (!LinkSupervisionTick()) return;
    PutMetersAtRest(DeviceFunction);
    Fake.redraws.clear();
    if (storeWaiting) ++s.fig.store.droppedByProgram;
    if (recallWaiting) ++s.fig.recall.droppedByProgram;
    if (wasOnline == 0) return;
    ++s.fig.linkLosses;
    for (int f = FunctionDualMono; f <= FunctionAnalyser; ++f)
        for (Track& tr : s.track[f])
            if (!tr.unitHeld) tr.linkLost = true;
}

// ---------------------------------------------------------------------------
// The unit's side.

void ApplyRecall(Soak& s, int fn) {
    const UnitModel& unit = *s.unit;
    for (int id = 0; id < IdSlots; ++id) {
        if (!UnitHas(fn, id)) continue;
        Track& tr = s.track[fn][id];
        const bool follows = tr.followsRecall;
        tr.followsRecall = false;
        if (tr.seq > s.user.recallSeq || follows) continue;  // set after the recall, or sent after it
        if (tr.source == Source::Edit && !tr.unitHeld) ++s.fig.superseded;
        tr.intent = UnitValueOf(unit, fn, id);
        tr.source = Source::Recall;
        tr.seq = s.user.recallSeq;
        tr.sinceUs = s.now;
        tr.unitHeld = true;
        ResetTrackCounters(tr);
    }
}

// The unit acted on a host frame: requests delivered, and for every setting
// it changed, whether that brought it to what it should run or away from it.
void OnUnitApplied(Soak& s, const HostReport& report, int fn, const UnitSettings& before, const SentFrame* frame) {
    const int cmd = report.bytes[3];
    const DeviceRequestCommands req = RequestCommandsFor(fn);
    const bool memories = fn == FunctionDualMono || fn == FunctionStereo;
    LossKind kind = LossKind::Unexplained;
    if (req.boot != 0 && cmd == req.boot) {
        ++s.fig.boot.delivered;
        return;
    }
    if (memories && cmd == req.store) {
        ++s.fig.store.delivered;
        const int slot = report.bytes[4];
        if (slot == s.user.storeSlot &&
            std::memcmp(s.unit->functions[fn - 1].memories[slot - 1].name, s.user.storeName, UnitNameLength) != 0)
            ++s.fig.store.nameDamaged;
        return;
    }
    if (memories && cmd == req.recall) {
        ++s.fig.recall.delivered;
        ApplyRecall(s, fn);
        kind = LossKind::RevertedByRecall;
    } else if (cmd == CmdSwitches) {
        kind = LossKind::RevertedByStaleSwitchWord;
    } else if (FindCommandTarget(fn, cmd) != nullptr) {
        kind = LossKind::RevertedByOlderValue;
    }
    const UnitSettings& after = s.unit->functions[fn - 1].current;
    for (int id = 0; id < IdSlots; ++id) {
        if (!UnitHas(fn, id)) continue;
        const double was = UnitSettingValue(before, fn, id), is = UnitSettingValue(after, fn, id);
        if (was == is) continue;
        Track& tr = s.track[fn][id];
        if (Agrees(fn, id, tr.intent, is)) {
            tr.unitHeld = true;
        } else if (Agrees(fn, id, tr.intent, was)) {
            tr.awayCommand = cmd;
            tr.awayKind = kind;
            // A switch command sent for this very switch carries an older
            // value of it, not a stale word.
            if (cmd == CmdSwitches && frame != nullptr && frame->switchId == id)
                tr.awayKind = LossKind::RevertedByOlderValue;
        }
    }
}

// What became of a host frame whose last byte reached the unit.
void ResolveFrame(Soak& s, const SentFrame& f, bool unplugged, bool reported, const HostReport& report) {
    enum class Fate { Spoiled, Dropped, Ignored, Applied, Unreported } fate;
    if (f.corrupted)
        fate = Fate::Spoiled;
    else if (unplugged)
        fate = Fate::Dropped;
    else if (!reported)
        fate = Fate::Unreported;
    else if (report.outcome == HostOutcome::Ignored)
        fate = Fate::Ignored;
    else if (report.outcome == HostOutcome::Invalid)
        fate = Fate::Unreported;
    else
        fate = Fate::Applied;
    for (int i = 0; i < f.carriedCount; ++i) {
        Track& tr = s.track[f.carried[i].function][f.carried[i].id];
        if (fate == Fate::Dropped) ++tr.dropped;
        if (fate == Fate::Ignored) ++tr.ignored;
        if (fate == Fate::Unreported) ++tr.unreported;
    }
    if ((fate == Fate::Dropped || fate == Fate::Ignored || fate == Fate::Unreported) &&
        (f.request == Request::Store || f.request == Request::Recall || f.request == Request::Boot)) {
        RequestFigures& rf = f.request == Request::Store    ? s.fig.store
                             : f.request == Request::Recall ? s.fig.recall
                                                            : s.fig.boot;
        ++rf.droppedByUnit;
    }
}

// Host bytes that have arrived by the start of the unit's next slot.
void DeliverToUnit(Soak& s) {
    UnitModel* unit = s.unit.get();
    while (!s.toUnit.empty() && s.toUnit.front().at <= s.now) {
        const HostByte hb = s.toUnit.front();
        s.toUnit.pop_front();
        const bool unplugged = UnitIsUnplugged(*unit);
        const int fn = unit->function;
        const UnitSettings before = CurrentFunctionState(unit).current;
        HostReport report{};
        const bool reported = UnitReceiveByte(unit, hb.byte, &report);
        const SentFrame* frame =
            hb.tag != NoTag && s.nextTag - hb.tag <= SentRing ? &s.sent[hb.tag % SentRing] : nullptr;
        if (hb.last && frame != nullptr) ResolveFrame(s, *frame, unplugged, reported, report);
        if (reported && report.outcome == HostOutcome::Applied)
            OnUnitApplied(s, report, fn, before, hb.last ? frame : nullptr);
    }
}

void UnitSlot(Soak& s) {
    DeliverToUnit(s);
    UnitModel* unit = s.unit.get();
    const int64_t period = UnitFramePeriodUs(unit->function);
    DeviceChunk c;
    UnitOutput out;
    UnitNextOutput(unit, &out);
    const bool silent = out.size == 0;
    s.fig.secondsIn[silent ? 0 : unit->function] += static_cast<double>(period) / 1e6;
    if (silent) return;
    c.t0 = s.now;
    c.size = out.size;
    c.pos = 0;
    c.step = std::min(CharUs, static_cast<double>(period) / static_cast<double>(out.size));
    std::memcpy(c.bytes, out.bytes, out.size);
    s.toProgram.push_back(c);
}

// ---------------------------------------------------------------------------
// The cable and the end.

// A host frame with a value the unit lacks is on the line.
bool ValuesOnTheirWay(const Soak& s) {
    for (const HostByte& b : s.toUnit)
        if (b.tag != NoTag && s.nextTag - b.tag <= SentRing && s.sent[b.tag % SentRing].carriedCount > 0) return true;
    return false;
}

void Cable(Soak& s) {
    bool out = false;
    for (int i = 0; i < 2 && i < s.cfg.unplugs; ++i) {
        if (s.unplugFromUs[i] < 0 && s.now >= s.unplugArmUs[i] &&
            (ValuesOnTheirWay(s) || s.now >= s.unplugArmUs[i] + 60 * Sec))
            s.unplugFromUs[i] = s.now;
        out = out || (s.unplugFromUs[i] >= 0 && s.now < s.unplugFromUs[i] + s.unplugForUs[i]);
    }
    if (s.ending) out = false;
    if (out == s.unit->unplugHeld) return;
    UnitSetUnplugged(s.unit.get(), out);
    // The rest of the frame on its way to the program never arrives.
    if (out) s.toProgram.clear();
}

void BeginEnding(Soak& s) {
    s.ending = true;
    s.endingSinceUs = s.now;
    s.unit->options.faults.corrupt = 0.0;
    s.unit->options.faults.noise = 0.0;
    s.unit->options.faults.syncInData = 0.0;
    s.hostCorrupt = 0.0;
    s.hostNoise = 0.0;
    UnitSetUnplugged(s.unit.get(), false);
    EndDrag(s);
    s.user.burstLeft = 0;
    s.user.dialog = 0;
}

bool EndingDone(Soak& s) {
    const bool healthy = DeviceFunction == s.cfg.function && s.unit->function == s.cfg.function &&
                         !UnitIsBooting(*s.unit) && Online != 0;
    if (!healthy) {
        s.healthySinceUs = -1;
    } else if (s.healthySinceUs < 0) {
        s.healthySinceUs = s.now;
    }
    if (s.healthySinceUs >= 0 && s.now - s.healthySinceUs >= static_cast<int64_t>(s.cfg.healthySeconds * 1e6))
        return true;
    return s.now - s.endingSinceUs > EndingLimitUs;
}

// ---------------------------------------------------------------------------
// Counting.

void Note(Soak& s, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Note(Soak& s, const char* format, ...) {
    if (s.fig.notes.size() >= MaxNotes) return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    s.fig.notes.emplace_back(line);
}

LossKind Classify(const Track& tr) {
    if (tr.unitHeld) return tr.awayCommand >= 0 ? tr.awayKind : LossKind::Unexplained;
    if (tr.sends == 0) return LossKind::NeverSent;
    const int lost = tr.spoiled + tr.dropped + tr.ignored + tr.unreported;
    if (lost < tr.sends) return LossKind::Unexplained;  // a frame got through, yet the unit never held it
    // What ended the retries: the program took the unit's value over, before
    // or after a link loss, or the link loss alone.
    if (tr.gaveUp == 2 || (tr.gaveUp == 0 && tr.linkLost)) return LossKind::LostAroundLinkLoss;
    if (tr.gaveUp == 1 && tr.dropped + tr.ignored + tr.unreported == 0) return LossKind::SpoiledRetriesRanOut;
    return LossKind::Unexplained;
}

void Count(Soak& s) {
    SoakFigures& fig = s.fig;
    const UnitModel& unit = *s.unit;
    const int current = unit.function;

    // The program's table of the function the unit runs against the unit.
    const ParamDesc* table = TableByNumber(current);
    for (int i = 0; i < TableRecordCount(current); ++i) {
        const ParamDesc& r = table[i];
        if (r.flags & (SendPending | JustSent)) ++fig.stillMarked;
        if (!IsSavedKind(r.kind) || !UnitCarriesSetting(current, r.id)) continue;
        const double u = UnitValueOf(unit, current, r.id);
        if (!Agrees(current, r.id, r.value, u)) {
            ++fig.mismatches;
            Note(s, "mismatch: %s '%s' program %g unit %g", UnitFunctionName(current), r.name, r.value, u);
        }
    }
    if (current != FunctionAnalyser) {
        const UnitFunctionState& f = unit.functions[current - 1];
        if (CurrentMemory != f.currentMemory) ++fig.memoryMismatches;
        for (int k = 1; k <= UnitMemoryCount; ++k)
            if (std::memcmp(MemoryNames[k], f.memories[k - 1].name, UnitNameLength) != 0) ++fig.memoryMismatches;
    }

    // Every function's settings against what the unit should run.
    for (int fn = FunctionDualMono; fn <= FunctionAnalyser; ++fn) {
        for (int id = 0; id < IdSlots; ++id) {
            if (!Tracked(fn, id)) continue;
            const Track& tr = s.track[fn][id];
            const ParamDesc& r = *FindParam(fn, id);
            const bool programOnly = !UnitCarriesSetting(fn, id);
            const double have = programOnly ? r.value : UnitValueOf(unit, fn, id);
            if (Agrees(fn, id, tr.intent, have)) continue;
            if (!programOnly && fn != current && (r.flags & SendPending)) {
                ++fig.waitingEdits;
                continue;
            }
            if (tr.source == Source::Start) {
                ++fig.spuriousChanges;
                Note(s, "spurious: %s '%s' never set, unit %g (start %g)", UnitFunctionName(fn), r.name, have,
                     tr.intent);
                continue;
            }
            const LossKind kind = programOnly ? LossKind::Unexplained : Classify(tr);
            if (tr.source == Source::Recall) {
                ++fig.recallValuesLost;
            } else {
                ++fig.lostEdits;
                ++fig.lostByKind[static_cast<int>(kind)];
            }
            Note(s,
                 "%s at %.1f s: %s '%s' set to %g, unit %g; %d frame%s carried it (%d spoiled, %d dropped "
                 "with the cable out, %d ignored while rebooting, %d unanswered)%s; program took %d "
                 "report%s over, marked it again %d time%s -> %s",
                 tr.source == Source::Recall ? "recall value lost" : "lost edit", static_cast<double>(tr.sinceUs) / 1e6,
                 UnitFunctionName(fn), r.name, tr.intent, have, tr.sends, tr.sends == 1 ? "" : "s", tr.spoiled,
                 tr.dropped, tr.ignored, tr.unreported, tr.linkLost ? "; link lost since" : "", tr.takeOvers,
                 tr.takeOvers == 1 ? "" : "s", tr.remarks, tr.remarks == 1 ? "" : "s", LossKindText(kind));
        }
    }

    fig.seconds = static_cast<double>(s.now) / 1e6;
    const UnitStats& st = unit.stats;
    fig.frames = st.framesSent;
    fig.framesCorrupted = st.framesCorrupted;
    fig.framesWithSync = st.framesWithSync;
    fig.noiseBursts = st.noiseBursts;
    fig.noiseBytes = st.noiseBytes;
    fig.silentSlots = st.silentSlots;
    fig.hostInvalid = st.hostInvalid;
    fig.hostIgnored = st.hostIgnored;
    fig.hostDroppedBytes = st.hostDroppedBytes;
}

}  // namespace

const char* LossKindText(LossKind kind) {
    switch (kind) {
        case LossKind::SpoiledRetriesRanOut:
            return "every frame with it spoiled, retries ended as TransmitCount ran out";
        case LossKind::LostAroundLinkLoss: return "frames with it lost around a link loss, which cleared TransmitCount";
        case LossKind::RevertedByStaleSwitchWord:
            return "switched back by a later switch command built from a stale switch word";
        case LossKind::RevertedByOlderValue: return "overwritten by an older value the program sent later";
        case LossKind::RevertedByRecall: return "replaced by a recall asked for before it";
        case LossKind::NeverSent: return "never sent";
        case LossKind::Unexplained: return "unexplained";
        case LossKind::Count: break;
    }
    return "?";
}

SoakFigures RunSoak(const SoakConfig& config) {
    FreshStart();
    ResetShellState();
    auto soak = std::make_unique<Soak>();
    Soak& s = *soak;
    s.cfg = config;
    s.userRng.state = config.seed * 0x2545F4914F6CDD1DULL + 1;
    s.lineRng.state = config.seed * 0x9E3779B97F4A7C15ULL + 7;
    s.hostCorrupt = config.hostCorrupt;
    s.hostNoise = config.hostNoise;

    s.unit = std::make_unique<UnitModel>();
    UnitOptions o{};
    o.function = config.function;
    o.seed = config.seed;
    o.bootPauseUs = BootPauseUs;
    o.faults = {config.deviceCorrupt, config.deviceNoise, config.deviceSyncInData, -1.0, 0.0};
    InitUnit(s.unit.get(), o);
    InitTracks(s);
    TakeShadow(s);

    const int64_t mainUs = static_cast<int64_t>(config.mainSeconds * 1e6);
    for (int i = 0; i < 2; ++i) {
        const double at = (i == 0 ? 0.3 : 0.65) + 0.1 * Uniform(s.lineRng);
        s.unplugArmUs[i] = static_cast<int64_t>(at * static_cast<double>(mainUs));
        s.unplugForUs[i] = Between(s.lineRng, 3 * Sec, 20 * Sec);
        s.unplugFromUs[i] = -1;
    }
    s.nextReadUs = 1 * Ms;
    s.nextTickUs = TickUs;
    s.healthySinceUs = -1;
    s.user.nextUs = 1 * Sec;
    s.user.desired = config.function;
    s.user.nextTripUs = ExponentialUs(s.userRng, 300.0);
    s.user.lastBootTryUs = -10 * Sec;
    s.titleUpdates = Fake.titleUpdates;

    for (;;) {
        const int64_t slot = s.unit->nowUs;
        const int64_t t = std::min({slot, s.nextReadUs, s.nextTickUs, s.user.nextUs});
        s.now = t;
        if (!s.ending) Cable(s);
        if (t == slot) {
            UnitSlot(s);
        } else if (t == s.nextReadUs) {
            ProgramRead(s);
            const bool busy = Chance(s.lineRng, 0.15);
            s.nextReadUs = t + (busy ? Between(s.lineRng, 10 * Ms, 120 * Ms) : Between(s.lineRng, 1 * Ms, 8 * Ms));
        } else if (t == s.nextTickUs) {
            Tick(s);
            s.nextTickUs += TickUs;
        } else {
            UserStep(s);
            TakeShadow(s);
        }
        if (!s.ending && s.fig.secondsIn[config.function] * 1e6 >= static_cast<double>(mainUs)) BeginEnding(s);
        if (s.ending && EndingDone(s)) break;
    }
    Count(s);
    s.fig.compareInUseAtEnd = CompareInUse(config.function);
    return s.fig;
}

std::string FormatSoakFigures(const SoakConfig& c, const SoakFigures& f) {
    std::string text;
    char line[1024];
    auto add = [&](const char* format, auto... args) {
        std::snprintf(line, sizeof line, format, args...);
        text += "[soak] ";
        text += line;
        text += '\n';
    };
    auto pct = [](uint64_t part, uint64_t whole) {
        return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
    };
    add("%s (seed %llu): %.0f s simulated: %.0f s Dual Mono, %.0f s Stereo, %.0f s Analyser, %.0f s silent", c.name,
        static_cast<unsigned long long>(c.seed), f.seconds, f.secondsIn[1], f.secondsIn[2], f.secondsIn[3],
        f.secondsIn[0]);
    add("  unit->program: %llu frames, %llu corrupt (%.1f %%), %llu with a sync word in the data, %llu noise bursts "
        "(%llu bytes); program accepted %llu",
        static_cast<unsigned long long>(f.frames), static_cast<unsigned long long>(f.framesCorrupted),
        pct(f.framesCorrupted, f.frames), static_cast<unsigned long long>(f.framesWithSync),
        static_cast<unsigned long long>(f.noiseBursts), static_cast<unsigned long long>(f.noiseBytes),
        static_cast<unsigned long long>(f.framesAccepted));
    add("  program->unit: %llu host frames, %llu spoiled (%.1f %%), %llu noise bursts; unit: %llu invalid, %llu "
        "ignored, %llu bytes dropped with the cable out; link lost %llu times, TransmitCount up to %d",
        static_cast<unsigned long long>(f.hostFrames), static_cast<unsigned long long>(f.hostCorrupted),
        pct(f.hostCorrupted, f.hostFrames), static_cast<unsigned long long>(f.hostNoiseBursts),
        static_cast<unsigned long long>(f.hostInvalid), static_cast<unsigned long long>(f.hostIgnored),
        static_cast<unsigned long long>(f.hostDroppedBytes), static_cast<unsigned long long>(f.linkLosses),
        static_cast<int>(f.maxTransmitCount));
    add("  user: %llu actions, %llu edits (dialog %llu, clicks %llu, %llu drags with %llu moves, %llu setup loads with "
        "%llu values, menu %llu); %llu records set; %llu values replaced before the unit had them; %llu re-marks",
        static_cast<unsigned long long>(f.actions), static_cast<unsigned long long>(f.edits),
        static_cast<unsigned long long>(f.dialogEdits), static_cast<unsigned long long>(f.clicks),
        static_cast<unsigned long long>(f.drags), static_cast<unsigned long long>(f.dragMoves),
        static_cast<unsigned long long>(f.setupLoads), static_cast<unsigned long long>(f.loadedValues),
        static_cast<unsigned long long>(f.menuChanges), static_cast<unsigned long long>(f.recordsSet),
        static_cast<unsigned long long>(f.superseded), static_cast<unsigned long long>(f.remarks));
    if (c.undoAndCompare)
        add("  edit menu: %llu undos, %llu redos, %llu A/B switches, %llu copies; A/B %s at the end",
            static_cast<unsigned long long>(f.undos), static_cast<unsigned long long>(f.redos),
            static_cast<unsigned long long>(f.compareSwitches), static_cast<unsigned long long>(f.compareCopies),
            f.compareInUseAtEnd ? "in use" : "unused");
    add("  end: table/unit mismatches %d, memory names/current memory differing %d, records still marked %d",
        f.mismatches, f.memoryMismatches, f.stillMarked);
    add("  lost edits %d, waiting in another function's table %d, recalled values lost %d, spurious unit changes %d",
        f.lostEdits, f.waitingEdits, f.recallValuesLost, f.spuriousChanges);
    for (int k = 0; k < static_cast<int>(LossKind::Count); ++k)
        if (f.lostByKind[k] > 0) add("    %d: %s", f.lostByKind[k], LossKindText(static_cast<LossKind>(k)));
    auto req = [&](const char* name, const RequestFigures& r) {
        add("  %s: made %llu, sent %llu, delivered %llu (dropped by the watchdog %llu, spoiled %llu, dropped by the "
            "unit %llu%s)",
            name, static_cast<unsigned long long>(r.made), static_cast<unsigned long long>(r.sent),
            static_cast<unsigned long long>(r.delivered), static_cast<unsigned long long>(r.droppedByProgram),
            static_cast<unsigned long long>(r.spoiled), static_cast<unsigned long long>(r.droppedByUnit),
            r.nameDamaged > 0 ? (", name damaged " + std::to_string(r.nameDamaged)).c_str() : "");
    };
    req("store", f.store);
    req("recall", f.recall);
    req("boot", f.boot);
    for (const std::string& n : f.notes) add("    %s", n.c_str());
    return text;
}
