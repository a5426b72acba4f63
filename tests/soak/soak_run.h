// A deterministic soak of the link core against the simulated unit, in one
// process on a virtual clock: the unit's frame slots, the program's reads and
// its 400 ms supervision tick, a seeded random user, and an in-memory line in
// each direction that spoils frames, adds noise and, when asked, is
// unplugged. At the end, after a healthy spell, it compares what the user
// set, what the program's tables hold and what the unit runs, and explains
// every value the unit did not end up with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SoakConfig {
    const char* name;  // for the printed figures
    int function;      // the function the run spends its time in (1 to 3)
    uint64_t seed;
    double mainSeconds;       // simulated seconds in that function
    int unplugs;              // cable pulls of 3 to 20 s, spread over the run
    bool boots;               // now and then the user boots another function and comes back
    double deviceCorrupt;     // unit -> program: frames with a spoiled checksum
    double deviceNoise;       //   frame slots followed by random bytes
    double deviceSyncInData;  //   frames with a sync word inside their data
    double hostCorrupt;       // program -> unit: host frames with one byte spoiled
    double hostNoise;         //   host frames preceded by random bytes
    double healthySeconds;    // fault-free time in the run's function before counting
    bool undoAndCompare;      // the user also undoes, redoes and compares A/B
};

// Why a value the user set is not what the unit runs at the end.
enum class LossKind : int {
    // Every frame that carried the value was spoiled on a connected line and
    // the retries stopped because TransmitCount had run down to 0.
    SpoiledRetriesRanOut,
    // The frames that carried it were spoiled, dropped with the cable out or
    // ignored by a rebooting unit, and a link loss then cleared
    // TransmitCount, so nothing sent it again.
    LostAroundLinkLoss,
    // The unit had the value; a later switch command, built from a switch
    // word the unit reported before it had the value, switched it back.
    RevertedByStaleSwitchWord,
    // The unit had the value; the program later sent an older value of the
    // same record (one it took over from a report that was not yet current).
    RevertedByOlderValue,
    // The unit had the value; a recall the user asked for earlier replaced it
    // (requests travel ahead of parameters).
    RevertedByRecall,
    // The program never sent the value.
    NeverSent,
    // None of the above: a fault of the harness or of the core.
    Unexplained,
    Count
};

const char* LossKindText(LossKind kind);

struct RequestFigures {
    uint64_t made;              // set by the user (dialog, menu)
    uint64_t sent;              // the command left the program
    uint64_t delivered;         // the unit acted on it
    uint64_t droppedByProgram;  // cleared by the link watchdog before it was sent
    uint64_t spoiled;           // sent, spoiled on the line
    uint64_t droppedByUnit;     // sent while the cable was out or the unit rebooted
    uint64_t nameDamaged;       // stores whose name did not arrive whole
    uint64_t undone;            // recalls: the program pushed its old values back over it
};

struct SoakFigures {
    double seconds;       // simulated, in all
    double secondsIn[4];  // by unit function (0: silent, booting or unplugged)

    // unit -> program
    uint64_t frames, framesCorrupted, framesWithSync, noiseBursts, noiseBytes, silentSlots;
    uint64_t framesAccepted;  // valid frames the program handled
    // program -> unit
    uint64_t hostFrames, hostCorrupted, hostNoiseBursts, hostInvalid, hostIgnored, hostDroppedBytes;
    uint64_t linkLosses;  // online to offline
    int32_t maxTransmitCount;

    // the user
    uint64_t actions;  // user actions that changed a value or made a request
    uint64_t dialogEdits, clicks, drags, dragMoves, setupLoads, loadedValues, menuChanges;
    uint64_t edits;       // every value change the user made
    uint64_t recordsSet;  // (function, record) pairs the user set at least once
    uint64_t superseded;  // values the user replaced before the unit ever held them
    uint64_t remarks;     // records the decoder marked for sending again
    uint64_t undos, redos, compareSwitches, compareCopies;  // Edit menu steps that changed something
    bool compareInUseAtEnd;  // the unit then runs the side shown, A or B

    // the end, after the healthy spell
    int mismatches;        // current table vs unit
    int memoryMismatches;  // memory names and current memory vs unit
    int stillMarked;       // current table records still SendPending or JustSent
    int lostEdits;
    int lostByKind[static_cast<int>(LossKind::Count)];
    int waitingEdits;      // still marked for sending in the table of a function the unit does not run
    int recallValuesLost;  // settings a delivered recall set that the unit no longer holds
    int spuriousChanges;   // settings nobody set that the unit changed
    RequestFigures store, recall, boot;

    std::vector<std::string> notes;  // one line per loss, at most a few dozen
};

SoakFigures RunSoak(const SoakConfig& config);

// The figures as the printed report, one line each, every line starting
// with "[soak] ".
std::string FormatSoakFigures(const SoakConfig& config, const SoakFigures& figures);
