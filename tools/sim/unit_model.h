// The simulated QIV-72: a deterministic model of the unit that owns the state
// of each firmware function (settings, switch word, 16 named memories, the
// current memory), moves its meters like programme material, applies the
// program's host frames and produces the bytes of the next frame slot,
// faults included. It runs on a virtual clock that advances one frame period
// per slot and does no I/O; the caller owns the struct and passes it by
// pointer, so several units can live side by side (tests, a soak run
// in-process against the link core).
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/device_codec.h"
#include "model/param_tables.h"

inline constexpr int UnitMemoryCount = 16;
inline constexpr int UnitNameLength = 10;
inline constexpr int UnitStoreNameLength = 12;  // "@@" and the 10 characters
inline constexpr int UnitMaxNoiseBytes = 32;
inline constexpr size_t UnitMaxOutput = 160 + UnitMaxNoiseBytes;
inline constexpr int UnitFunctionCount = 3;

// Frame periods on a 38400-baud wire, in microseconds of unit time.
inline constexpr int64_t UnitLongFramePeriodUs = 41700;   // 160-byte frames
inline constexpr int64_t UnitShortFramePeriodUs = 28100;  // 108-byte frames

// Every setting and switch one function carries. `value` is indexed by id:
// Dual Mono ids for Dual Mono and Stereo (Stereo keeps the right-channel
// fields its frames carry), Analyser ids for the Analyser. The values of
// switch ids follow `switchWord`.
struct UnitSettings {
    double value[IdSlots];
    uint32_t switchWord;  // 24 bits
};

struct UnitMemory {
    char name[UnitNameLength];  // blanks where the name is shorter
    UnitSettings settings;
};

struct UnitFunctionState {
    UnitSettings current;
    UnitMemory memories[UnitMemoryCount];
    int32_t currentMemory;  // 1 to 16
};

struct UnitFaults {
    double corrupt;      // fraction of frames sent with a bad checksum
    double noise;        // fraction of frame slots followed by 1 to 32 random bytes
    double syncInData;   // fraction of frames with a sync word inside their data
    double unplugAfterS; // unit seconds until the cable is pulled; below 0 never
    double unplugForS;   // how long it stays out
};

struct UnitOptions {
    int32_t function;     // 1 Dual Mono, 2 Stereo, 3 Analyser
    uint64_t seed;        // drives meters and faults, nothing else
    int64_t bootPauseUs;  // silence while the unit reboots into another function
    UnitFaults faults;
};

// PCG32 (O'Neill), one stream per purpose so that fault options never change
// the meters a seed gives.
struct UnitRandom {
    uint64_t state;
    uint64_t inc;
};

// One programme source (a microphone in Dual Mono, the stereo mix otherwise).
struct UnitSource {
    double phraseDb;   // slow programme level, dBFS RMS
    double targetDb;
    double targetLeftS;
    bool pause;
    double syllableDb[2];  // fast deviation per channel
    double sibilance;      // 0 to 1
    double crestDb[2];
    double panDb;          // right minus left, stereo sources
    double kick, hat;      // analyser transients, 0 to 1
};

// What the meters show, in the units the program's tables use. The model
// moves these and turns them into meter words for each frame; the tests
// compare them with what the program decodes.
struct UnitMeterReadings {
    // Dual Mono and Stereo.
    double levelDb[2];
    double peakDb[2];
    double expanderDb[2];  // damping, 0 or below
    double deesserDb[2];   // reduction, 0 or below
    double alcDb[2];       // gain
    double correlation;    // -1 to +1
    // Analyser: peak bars, their held peaks, RMS bars, bands 1 to 30 as the
    // frame reports them (0 down to -127 dB, relative to the display top).
    double anaLevelDb[2];
    double anaHoldDb[2];
    double anaRmsDb[2];
    double bandDb[BandCount];
};

struct UnitMeterModel {
    UnitSource source[2];
    double expanderDb[2];
    double deesserDb[2];
    double alcDb[2];
    double barDb[2];
    double holdDb[2];
    double holdLeftS[2];
    double rmsDb[2];
    double correlation;
    double correlationBase;
    double bandNoise[BandCount];
    double bandDb[BandCount];  // absolute band levels after the ballistics
    UnitMeterReadings shown;
};

struct UnitStats {
    uint64_t framesSent;
    uint64_t silentSlots;  // booting or unplugged
    uint64_t framesCorrupted;
    uint64_t framesWithSync;
    uint64_t noiseBursts;
    uint64_t noiseBytes;
    uint64_t hostValid;
    uint64_t hostInvalid;
    uint64_t hostIgnored;       // valid but meaningless for the unit now
    uint64_t hostSkippedBytes;  // bytes outside any "QEN" frame
    uint64_t hostDroppedBytes;  // received while the cable was out
};

// Host frames as they trickle in: hunts for "QEN", then takes 5 more bytes.
struct HostAssembler {
    uint8_t bytes[8];
    int32_t count;
};

struct UnitModel {
    UnitOptions options;
    int64_t nowUs;  // unit time at the start of the next frame slot
    int32_t function;
    UnitFunctionState functions[UnitFunctionCount];  // index function - 1
    // Store name chunks received since the last store: chunk k fills
    // characters 3k to 3k + 2; bit k of `chunksSeen` says it came.
    char storeName[UnitStoreNameLength];
    uint32_t chunksSeen;
    int32_t bootTarget;  // function being booted into; 0 when running
    int64_t bootEndUs;
    bool unplugHeld;     // cable pulled by the operator (UnitSetUnplugged)
    int32_t nameWalk;    // 0 to 15: the memory whose name the next frame carries
    UnitRandom meterRandom;
    UnitRandom faultRandom;
    UnitMeterModel meters;
    HostAssembler host;
    uint64_t stateVersion;  // raised by every change of settings, memories or function
    UnitStats stats;
};

// A fresh unit: every function at the program's start-up values (the tables
// must not have been changed yet), memories with default names and
// settings, memory 1 current, meters at rest, clock at 0.
void InitUnit(UnitModel* unit, const UnitOptions& options);

int64_t UnitFramePeriodUs(int function);

// The function the unit runs (during a reboot still the old one).
inline UnitFunctionState& CurrentFunctionState(UnitModel* unit) {
    return unit->functions[unit->function - 1];
}
inline const UnitFunctionState& CurrentFunctionState(const UnitModel& unit) {
    return unit.functions[unit.function - 1];
}

// True while the unit sends nothing: rebooting, or the cable out.
bool UnitIsBooting(const UnitModel& unit);
bool UnitIsUnplugged(const UnitModel& unit);
// Pulls or replugs the cable by hand, on top of the timed unplug option.
void UnitSetUnplugged(UnitModel* unit, bool unplugged);

struct UnitOutput {
    uint8_t bytes[UnitMaxOutput];
    size_t size;        // 0 for a silent slot
    size_t frameSize;   // the frame at the start of `bytes`; 0 when silent
    bool corrupted;     // checksum spoiled on purpose
    bool syncInData;    // a sync word planted in the data
    size_t noiseBytes;  // random bytes after the frame
};

// One frame slot: finishes a reboot that is due, moves the meters by one
// frame period, builds the frame of the current function (faults as the
// options say) and advances the clock by one period.
void UnitNextOutput(UnitModel* unit, UnitOutput* out);

// The frame contents for the current state and meters, without faults and
// without moving anything (the memory name is the one the next frame
// carries).
void UnitFrameStateOf(const UnitModel& unit, UnitFrameState* state);

enum class HostOutcome {
    Applied,    // the unit's state changed
    Accepted,   // understood; nothing changed (same value, 240, 255, a name chunk)
    Ignored,    // valid, but not a command the unit serves now
    Invalid,    // bad checksum: counted and dropped
};

struct HostReport {
    uint8_t bytes[8];
    HostOutcome outcome;
};

// Feeds one received byte. Returns true when it completed a frame candidate
// ("QEN" and 5 more bytes), which has then been checked and applied; the
// report says how. Bytes received while the cable is out are dropped.
bool UnitReceiveByte(UnitModel* unit, uint8_t byte, HostReport* report);

// Checks one 8-byte host frame and applies it to the current function.
HostOutcome UnitApplyHostFrame(UnitModel* unit, const uint8_t* bytes);

// Settings that a function's frames carry (setting fields and switch bits),
// looked up by id. For switches `mask` is the switch word bits.
bool UnitCarriesSetting(int function, int id);
bool UnitSwitchMask(int function, int id, uint32_t* mask);

// A setting the way the unit holds it (switches 0.0 or 1.0 from the word).
double UnitSettingValue(const UnitSettings& settings, int function, int id);

// Sets a setting or switch directly, the way the unit's front panel would;
// for tests and demos. Returns false for an id the function does not carry.
bool UnitSetSetting(UnitModel* unit, int id, double value);
