// The simulated unit: state per function, memories, host frames, meters and
// faults on a virtual clock.
#include "tools/sim/unit_model.h"

#include <cmath>
#include <cstring>

#include "link/frame_layout.h"
#include "link/frame_receiver.h"
#include "link/host_encoder.h"
#include "link/link_state.h"

namespace {

constexpr double FullScale = 8388608.0;
constexpr double Pi = 3.14159265358979323846;
constexpr double MeterFloorDb = -100.0;

// ---------------------------------------------------------------------------
// Random numbers: PCG32 (O'Neill, pcg-random.org, the minimal generator).

uint32_t NextRandom(UnitRandom* r) {
    const uint64_t old = r->state;
    r->state = old * 6364136223846793005ULL + r->inc;
    const uint32_t xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const uint32_t rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

void SeedRandom(UnitRandom* r, uint64_t seed, uint64_t stream) {
    r->state = 0;
    r->inc = (stream << 1u) | 1u;
    NextRandom(r);
    r->state += seed;
    NextRandom(r);
}

double Uniform(UnitRandom* r) { return NextRandom(r) / 4294967296.0; }  // [0, 1)

bool Chance(UnitRandom* r, double p) { return p > 0.0 && Uniform(r) < p; }

double Gaussian(UnitRandom* r) {
    const double u1 = (NextRandom(r) + 1.0) / 4294967297.0;  // (0, 1]
    const double u2 = Uniform(r);
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * Pi * u2);
}

double Clamp(double v, double lo, double hi) { return v < lo ? lo : v > hi ? hi : v; }

// Moves `x` toward `target` with time constant `tau` over `dt` seconds.
double Follow(double x, double target, double tau, double dt) {
    if (tau <= 0.0) return target;
    return x + (target - x) * (1.0 - std::exp(-dt / tau));
}

// ---------------------------------------------------------------------------
// Tables the unit shares with the program.

const SwitchBit* SwitchesOf(int function, size_t* count) {
    if (function == FunctionAnalyser) {
        *count = sizeof AnalyserSwitches / sizeof AnalyserSwitches[0];
        return AnalyserSwitches;
    }
    *count = sizeof DualMonoSwitches / sizeof DualMonoSwitches[0];
    return DualMonoSwitches;
}

const SettingField* FieldsOf(int function, size_t* count) {
    if (function == FunctionAnalyser) {
        *count = sizeof AnalyserSettings / sizeof AnalyserSettings[0];
        return AnalyserSettings;
    }
    *count = sizeof DualMonoSettings / sizeof DualMonoSettings[0];
    return DualMonoSettings;
}

// The record whose limits the unit keeps a setting in (the Dual Mono table
// serves Stereo too: the common ids have the same limits).
const ParamDesc* LimitRecord(int function, int id) {
    const int table = function == FunctionAnalyser ? TableAnalyser : TableDualMono;
    const ParamDesc* t = TableByNumber(table);
    const int n = TableRecordCount(table);
    for (int i = 0; i < n; ++i)
        if (t[i].id == id && IsSavedKind(t[i].kind)) return &t[i];
    return nullptr;
}

void SyncSwitchValues(UnitSettings* s, int function) {
    size_t n = 0;
    const SwitchBit* bits = SwitchesOf(function, &n);
    for (size_t k = 0; k < n; ++k) s->value[bits[k].id] = (s->switchWord & bits[k].mask) ? 1.0 : 0.0;
}

bool SwitchOn(const UnitSettings& s, uint32_t mask) { return (s.switchWord & mask) != 0; }

// ---------------------------------------------------------------------------
// Default memories: believable names, and settings that differ a little from
// one memory to the next so that a recall shows on the panel.

constexpr char DualMonoNames[UnitMemoryCount][UnitNameLength + 1] = {
    "Voice",   "Drums",   "Guitar",  "Piano",     "Bass",       "Strings", "Brass",    "Choir",
    "Speech",  "Interview", "Podcast", "Live Stage", "Organ",    "Percussion", "Ambience", "Init",
};
constexpr char StereoNames[UnitMemoryCount][UnitNameLength + 1] = {
    "Stereo Mix", "Mastering", "Orchestra", "Jazz Trio", "Broadcast", "Choir",    "Film Mix", "Drum Room",
    "Acoustic",   "Synth Pad", "Live Room", "Vinyl",     "Radio Play", "Ambience", "Safe",    "Init",
};
constexpr char AnalyserNames[UnitMemoryCount][UnitNameLength + 1] = {
    "Room", "Mix Check", "Pink Noise", "Speech", "Music", "Bass", "Hiss", "Hum",
    "Live", "Master", "Mic Check", "Tape", "Vinyl", "Radio", "Stage", "Init",
};

void SetName(char* name, const char* text) {
    std::memset(name, ' ', UnitNameLength);
    const size_t n = std::strlen(text);
    std::memcpy(name, text, n < UnitNameLength ? n : UnitNameLength);
}

void DefaultMemorySettings(int function, int number, const UnitSettings& base, UnitSettings* out) {
    *out = base;
    if (function == FunctionAnalyser || number == 1) return;
    const int k = number;
    double* v = out->value;
    v[6] = v[7] = 40.0 + 10.0 * k;           // low cut, Hz
    v[9] = v[13] = -40.0 - 2.0 * k;          // expander threshold, dB
    v[25] = v[29] = (30 + 5 * k) / 10.0;     // de-esser frequency, kHz
    v[35] = v[38] = 6.0 + k / 2;             // ALC maximum gain, dB
    v[22] = v[23] = (15 * k) / 10.0;         // delay, ms
    if (k % 2 == 0) out->switchWord &= ~0xC0000u;  // de-esser off
    if (k % 3 == 0) out->switchWord |= 0x8u;       // expander link on
    SyncSwitchValues(out, function);
}

// ---------------------------------------------------------------------------
// Meters.

// Which settings steer each channel of Dual Mono (per channel) and Stereo
// (one setting for both channels).
struct ChannelIds {
    int lowCut, expThreshold, expRatio, expRelease, nlcGain, deFrequency, deQ, deRatio, alcMaxGain,
        alcHeadroom, alcRise;
};
constexpr ChannelIds LeftIds = {6, 9, 10, 11, 19, 25, 26, 27, 35, 62, 36};
constexpr ChannelIds RightIds = {7, 13, 14, 15, 20, 29, 30, 31, 38, 63, 39};

constexpr uint32_t MaskBypass = 0x1, MaskExpander = 0x6, MaskExpanderLink = 0x8, MaskLowCut = 0x30,
                   MaskPhaseLeft = 0x40, MaskPhaseRight = 0x80, MaskNlc = 0x300, MaskMs = 0x800,
                   MaskAlc = 0xC000, MaskAlcLink = 0x10000, MaskMeterOutput = 0x20000,
                   MaskDeesser = 0xC0000;
constexpr int IdAttackSlow = 66, IdPeakHold = 53, IdRelease = 54;
constexpr int IdAnaType = 33, IdAnaInput = 34, IdAnaRise = 35, IdAnaReleaseTime = 36,
              IdAnaTopLevel = 38, IdSampleRate = 55;

void RestMeters(UnitMeterModel* m) {
    *m = UnitMeterModel{};
    for (UnitSource& s : m->source) {
        s.phraseDb = s.targetDb = -60.0;
        s.crestDb[0] = s.crestDb[1] = 8.0;
    }
    UnitMeterReadings& r = m->shown;
    for (int ch = 0; ch < 2; ++ch) {
        m->barDb[ch] = m->holdDb[ch] = m->rmsDb[ch] = MeterFloorDb;
        r.levelDb[ch] = r.peakDb[ch] = MeterFloorDb;
        r.anaLevelDb[ch] = r.anaHoldDb[ch] = r.anaRmsDb[ch] = MeterFloorDb;
    }
    for (double& b : m->bandDb) b = -200.0;
    for (double& b : r.bandDb) b = -127.0;
    m->correlationBase = 0.7;
}

void StepSource(UnitSource* s, double dt, UnitRandom* r, bool stereo) {
    s->targetLeftS -= dt;
    if (s->targetLeftS <= 0.0) {
        if (!s->pause && Chance(r, 0.15)) {
            s->pause = true;
            s->targetDb = -75.0 + 3.0 * Gaussian(r);
            s->targetLeftS = 0.3 + 1.2 * Uniform(r);
        } else {
            s->pause = false;
            s->targetDb = -34.0 + 18.0 * Uniform(r);
            s->targetLeftS = 0.8 + 3.2 * Uniform(r);
        }
    }
    s->phraseDb = Follow(s->phraseDb, s->targetDb, 0.25, dt);

    const double k = std::exp(-dt / 0.08);
    const double spread = std::sqrt(1.0 - k * k) * 4.0;  // 4 dB deviation
    const double common = Gaussian(r);
    for (int ch = 0; ch < 2; ++ch) {
        const double own = Gaussian(r);
        const double g = stereo ? 0.85 * common + 0.53 * own : own;
        s->syllableDb[ch] = k * s->syllableDb[ch] + spread * g;
        s->crestDb[ch] = 0.5 * s->crestDb[ch] + 0.5 * (5.0 + 6.0 * Uniform(r));
    }
    const double kp = std::exp(-dt / 2.0);
    s->panDb = kp * s->panDb + std::sqrt(1.0 - kp * kp) * 2.0 * Gaussian(r);

    s->sibilance *= std::exp(-dt / 0.05);
    if (!s->pause && Chance(r, 2.5 * dt)) s->sibilance = 0.4 + 0.6 * Uniform(r);
    s->kick *= std::exp(-dt / 0.12);
    if (!s->pause && Chance(r, 2.2 * dt)) s->kick = 0.6 + 0.4 * Uniform(r);
    s->hat *= std::exp(-dt / 0.05);
    if (!s->pause && Chance(r, 4.0 * dt)) s->hat = 0.5 + 0.5 * Uniform(r);
}

// Programme level of a channel, dBFS RMS.
double SourceRms(const UnitSource& s, int ch, bool stereo) {
    double v = s.phraseDb + (s.pause ? 0.3 : 1.0) * s.syllableDb[ch];
    if (stereo) v += ch == 0 ? -s.panDb / 2.0 : s.panDb / 2.0;
    return v;
}

// Level bar and held peak of one channel, with the unit's release rate and
// hold time.
void StepBar(UnitMeterModel* m, int ch, double peakDb, const UnitSettings& s, double dt) {
    const double release = s.value[IdRelease] > 0.0 ? s.value[IdRelease] : 10.0;
    const double holdS = s.value[IdPeakHold];
    peakDb = Clamp(peakDb, MeterFloorDb, 0.0);
    m->barDb[ch] = Clamp(std::fmax(peakDb, m->barDb[ch] - release * dt), MeterFloorDb, 0.0);
    if (peakDb >= m->holdDb[ch]) {
        m->holdDb[ch] = peakDb;
        m->holdLeftS[ch] = holdS;
    } else if (m->holdLeftS[ch] > 0.0) {
        m->holdLeftS[ch] -= dt;
    } else {
        m->holdDb[ch] = std::fmax(m->barDb[ch], m->holdDb[ch] - release * dt);
    }
}

void StepProcessor(UnitModel* u, double dt) {
    UnitMeterModel& m = u->meters;
    const UnitSettings& s = CurrentFunctionState(u).current;
    const bool stereo = u->function == FunctionStereo;
    const double* v = s.value;
    StepSource(&m.source[0], dt, &u->meterRandom, stereo);
    if (!stereo) StepSource(&m.source[1], dt, &u->meterRandom, false);

    const bool expOn = SwitchOn(s, MaskExpander), deOn = SwitchOn(s, MaskDeesser),
               alcOn = SwitchOn(s, MaskAlc);
    double rms[2], peak[2], expTarget[2], alcTarget[2];
    const ChannelIds* ids[2] = {&LeftIds, stereo ? &LeftIds : &RightIds};
    for (int ch = 0; ch < 2; ++ch) {
        const UnitSource& src = stereo ? m.source[0] : m.source[ch];
        rms[ch] = SourceRms(src, ch, stereo);
        peak[ch] = rms[ch] + src.crestDb[ch];
        const ChannelIds& id = *ids[ch];
        const double threshold = v[id.expThreshold];
        expTarget[ch] = 0.0;
        if (expOn && rms[ch] < threshold)
            expTarget[ch] = std::fmax((rms[ch] - threshold) * (v[id.expRatio] - 1.0), -80.0);
    }
    if (SwitchOn(s, MaskExpanderLink)) expTarget[0] = expTarget[1] = std::fmax(expTarget[0], expTarget[1]);

    for (int ch = 0; ch < 2; ++ch) {
        const ChannelIds& id = *ids[ch];
        const UnitSource& src = stereo ? m.source[0] : m.source[ch];
        // Expander: damping grows over the release time, recovers at the
        // attack speed.
        if (!expOn) {
            m.expanderDb[ch] = 0.0;
        } else if (expTarget[ch] < m.expanderDb[ch]) {
            m.expanderDb[ch] = Follow(m.expanderDb[ch], expTarget[ch], std::fmax(v[id.expRelease], 0.05) / 3.0, dt);
        } else {
            const double attack = v[IdAttackSlow] > 0.5 ? 0.05 : 0.005;
            m.expanderDb[ch] = Follow(m.expanderDb[ch], expTarget[ch], attack, dt);
        }
        // De-esser: sibilance near its frequency, as deep as its ratio.
        if (!deOn) {
            m.deesserDb[ch] = 0.0;
        } else {
            const double f = std::fmax(v[id.deFrequency], 0.1);
            const double octaves = std::log2(f / 6.5);
            const double sensitivity = std::exp(-octaves * octaves * (0.4 + 0.12 * v[id.deQ]));
            const double target = std::fmin(v[id.deRatio], 0.0) * src.sibilance * sensitivity;
            m.deesserDb[ch] = Follow(m.deesserDb[ch], target, target < m.deesserDb[ch] ? 0.005 : 0.08, dt);
        }
        // ALC: lifts the phrase level so that peaks sit at the headroom,
        // never above its maximum gain; holds in pauses.
        alcTarget[ch] = m.alcDb[ch];
        if (!src.pause)
            alcTarget[ch] = Clamp(-v[id.alcHeadroom] - 8.0 - (src.phraseDb + m.expanderDb[ch]), 0.0,
                                  std::fmax(v[id.alcMaxGain], 0.0));
    }
    if (stereo || SwitchOn(s, MaskAlcLink)) alcTarget[0] = alcTarget[1] = std::fmin(alcTarget[0], alcTarget[1]);

    for (int ch = 0; ch < 2; ++ch) {
        const ChannelIds& id = *ids[ch];
        if (!alcOn) {
            m.alcDb[ch] = 0.0;
        } else if (alcTarget[ch] > m.alcDb[ch]) {
            const double rate = 24.0 / std::fmax(v[id.alcRise], 0.1);
            m.alcDb[ch] = std::fmin(alcTarget[ch], m.alcDb[ch] + rate * dt);
        } else {
            m.alcDb[ch] = Follow(m.alcDb[ch], alcTarget[ch], 0.15, dt);
        }
        double gain = m.expanderDb[ch] + 0.3 * m.deesserDb[ch] + m.alcDb[ch];
        if (SwitchOn(s, MaskNlc)) gain += v[id.nlcGain] * Clamp((-30.0 - rms[ch]) / 20.0, 0.0, 1.0);
        if (SwitchOn(s, MaskLowCut)) gain -= 1.5 * v[id.lowCut] / 250.0;
        if (SwitchOn(s, MaskBypass)) gain = 0.0;
        const double metered = SwitchOn(s, MaskMeterOutput) ? peak[ch] + gain : peak[ch];
        StepBar(&m, ch, metered, s, dt);
    }

    // Correlation: two microphones hardly correlate; a stereo mix does.
    const UnitSource& main = m.source[0];
    if (stereo) {
        const double kb = std::exp(-dt / 3.0);
        m.correlationBase = Clamp(0.7 + kb * (m.correlationBase - 0.7) +
                                      std::sqrt(1.0 - kb * kb) * 0.15 * Gaussian(&u->meterRandom),
                                  0.3, 0.98);
    } else {
        m.correlationBase = 0.15;
    }
    double c = main.pause ? 0.05 * Gaussian(&u->meterRandom)
                          : m.correlationBase + 0.08 * Gaussian(&u->meterRandom);
    if (SwitchOn(s, MaskPhaseLeft) != SwitchOn(s, MaskPhaseRight)) c = -c;
    if (SwitchOn(s, MaskMs)) c *= 0.2;
    m.correlation = Clamp(Follow(m.correlation, Clamp(c, -1.0, 1.0), 0.15, dt), -1.0, 1.0);

    UnitMeterReadings& out = m.shown;
    for (int ch = 0; ch < 2; ++ch) {
        out.levelDb[ch] = m.barDb[ch];
        out.peakDb[ch] = m.holdDb[ch];
        out.expanderDb[ch] = m.expanderDb[ch];
        out.deesserDb[ch] = m.deesserDb[ch];
        out.alcDb[ch] = m.alcDb[ch];
    }
    out.correlation = m.correlation;
}

// Centre frequency of band n (1 to 30) for an analyser type: the last B
// bands carry the type's B bands, lowest first; the others (hidden by the
// display) keep the third-octave grid.
double BandFrequency(int n, int type) {
    const double third = 25.0 * std::pow(2.0, (n - 1) / 3.0);
    if (type < 0 || type > 7) return third;
    const int count = AnalyserBandCounts[type];
    const int m = n - (31 - count);
    if (m < 0) return third;
    switch (count) {
        case 10: return 31.5 * std::pow(2.0, m);
        case 15: return 25.0 * std::pow(2.0, m * 2.0 / 3.0);
        case 20: return 31.5 * std::pow(2.0, m / 2.0);
        default: return third;
    }
}

double BandShape(double f) {
    double s = 0.0;
    if (f < 40.0) s -= 6.0 * std::log2(40.0 / f);
    if (f >= 50.0 && f <= 160.0) s += 3.0;
    if (f > 1000.0) s -= 3.5 * std::log2(f / 1000.0);
    return s;
}

double PowerSum(double a, double b) {
    return 10.0 * std::log10(std::pow(10.0, a / 10.0) + std::pow(10.0, b / 10.0));
}

void StepAnalyser(UnitModel* u, double dt) {
    UnitMeterModel& m = u->meters;
    const UnitSettings& s = CurrentFunctionState(u).current;
    const double* v = s.value;
    UnitSource& src = m.source[0];
    StepSource(&src, dt, &u->meterRandom, true);

    double rms[2];
    for (int ch = 0; ch < 2; ++ch) {
        rms[ch] = SourceRms(src, ch, true);
        StepBar(&m, ch, rms[ch] + src.crestDb[ch], s, dt);
        m.rmsDb[ch] = Clamp(Follow(m.rmsDb[ch], rms[ch], 0.3, dt), MeterFloorDb, 0.0);
    }

    const int input = static_cast<int>(v[IdAnaInput]);
    double in = rms[0];
    if (input == 1) in = rms[1];
    if (input == 2) in = PowerSum(rms[0], rms[1]) + 1.5;
    if (input == 3) in = PowerSum(rms[0], rms[1]) - 14.0;

    static constexpr double TypeQ[8] = {1.4, 2.5, 1.4, 3.0, 3.0, 5.0, 3.0, 5.0};
    const int type = static_cast<int>(v[IdAnaType]);
    const double q = (type >= 0 && type <= 7) ? TypeQ[type] : 3.0;
    const double sigma = 2.0 + 0.4 * q;
    const int rate = static_cast<int>(v[IdSampleRate]);
    const double nyquist = (rate == 0 ? 32000.0 : rate == 1 ? 44100.0 : rate <= 3 ? 48000.0
                            : rate == 4 ? 64000.0 : rate == 5 ? 88200.0 : 96000.0) / 2.0;
    const double riseTau = std::fmax(v[IdAnaRise], 0.0) / 1000.0;
    const double fallRate = 20.0 / std::fmax(v[IdAnaReleaseTime], 0.3);
    const int topIndex = static_cast<int>(Clamp(v[IdAnaTopLevel], 0.0, 7.0));
    const double top = topIndex * 10.0 - 70.0;
    const double shift = v[IdAnaTopLevel] > 6.5 ? 0.0 : -10.0;
    const double k = std::exp(-dt / 0.15);

    for (int n = 1; n <= BandCount; ++n) {
        const double f = BandFrequency(n, type);
        double& noise = m.bandNoise[n - 1];
        noise = k * noise + std::sqrt(1.0 - k * k) * sigma * Gaussian(&u->meterRandom);
        double target = in - 44.0 + BandShape(f) + noise;
        if (f <= 125.0) target += 10.0 * src.kick;
        if (f >= 5000.0) target += 9.0 * src.hat;
        if (f > nyquist) target = -200.0;
        double& b = m.bandDb[n - 1];
        b = target > b ? Follow(b, target, riseTau, dt) : std::fmax(target, b - fallRate * dt);
        // The frame carries the band relative to the display's top: half-dB
        // steps from -127 (byte 1) to 0 (byte 255; byte 0 would read 0 dB too).
        const double reported = Clamp(b - top + shift, -127.0, 0.0);
        m.shown.bandDb[n - 1] = std::round(2.0 * reported) / 2.0;
    }
    for (int ch = 0; ch < 2; ++ch) {
        m.shown.anaLevelDb[ch] = m.barDb[ch];
        m.shown.anaHoldDb[ch] = m.holdDb[ch];
        m.shown.anaRmsDb[ch] = m.rmsDb[ch];
    }
}

// ---------------------------------------------------------------------------
// Meter words.

uint32_t LevelWord(double db) {
    const double w = std::round(FullScale * std::pow(10.0, db / 20.0));
    return static_cast<uint32_t>(Clamp(w, 1.0, 16777215.0));
}

uint32_t ReductionWord(double db) {
    const double w = std::round(FullScale * (1.0 - std::pow(10.0, std::fmin(db, 0.0) / 20.0)));
    return static_cast<uint32_t>(Clamp(w, 0.0, FullScale - 1.0));
}

uint32_t GainWord(double db) {
    const double w = std::round(FullScale * std::pow(10.0, (db - 24.4) / 20.0));
    return static_cast<uint32_t>(Clamp(w, 1.0, 16777215.0));
}

int32_t CorrelationWord(double c) {
    const double w = std::round((c < 0.0 ? -1.0 : 1.0) * c * c * FullScale);
    return static_cast<int32_t>(Clamp(w, -FullScale, FullScale - 1.0));
}

uint32_t QuarterWord(double db) {
    const double w = std::round(16777204.0 + 4.0 * std::fmin(db, 0.0));
    return static_cast<uint32_t>(Clamp(w, 0.0, 16777215.0));
}

// ---------------------------------------------------------------------------
// Host frames.

bool PrefixFits(const HostAssembler& h) {
    static constexpr uint8_t Magic[3] = {'Q', 'E', 'N'};
    for (int i = 0; i < h.count && i < 3; ++i)
        if (h.bytes[i] != Magic[i]) return false;
    return true;
}

// Drops leading bytes until what is left can start a frame.
void Resync(HostAssembler* h, UnitStats* stats) {
    while (h->count > 0 && !PrefixFits(*h)) {
        std::memmove(h->bytes, h->bytes + 1, static_cast<size_t>(h->count - 1));
        --h->count;
        ++stats->hostSkippedBytes;
    }
}

int BootTargetOf(uint8_t code) {
    switch (code) {
        case 0: return FunctionDualMono;
        case 1: return FunctionAnalyser;
        case 2: return FunctionStereo;
        default: return 0;
    }
}

HostOutcome StoreMemory(UnitModel* u, int slot) {
    if (slot < 1 || slot > UnitMemoryCount) return HostOutcome::Ignored;
    UnitFunctionState& f = CurrentFunctionState(u);
    UnitMemory& mem = f.memories[slot - 1];
    // Characters of chunks that did not come keep the memory's old name.
    char full[UnitStoreNameLength];
    full[0] = full[1] = '@';
    for (int i = 0; i < UnitNameLength; ++i) full[2 + i] = mem.name[i];
    for (int k = 0; k < 4; ++k)
        if (u->chunksSeen & (1u << k)) std::memcpy(full + 3 * k, u->storeName + 3 * k, 3);
    for (int i = 0; i < UnitNameLength; ++i) {
        const char c = full[2 + i];
        mem.name[i] = (c == '@' || c == '\0') ? ' ' : c;
    }
    mem.settings = f.current;
    u->chunksSeen = 0;
    ++u->stateVersion;
    return HostOutcome::Applied;
}

HostOutcome RecallMemory(UnitModel* u, int slot) {
    if (slot < 1 || slot > UnitMemoryCount) return HostOutcome::Ignored;
    UnitFunctionState& f = CurrentFunctionState(u);
    f.current = f.memories[slot - 1].settings;
    f.currentMemory = slot;
    ++u->stateVersion;
    return HostOutcome::Applied;
}

HostOutcome SetSwitchWord(UnitModel* u, uint32_t word) {
    UnitSettings& s = CurrentFunctionState(u).current;
    word &= 0xFFFFFFu;
    if (s.switchWord == word) return HostOutcome::Accepted;
    s.switchWord = word;
    SyncSwitchValues(&s, u->function);
    ++u->stateVersion;
    return HostOutcome::Applied;
}

}  // namespace

// ---------------------------------------------------------------------------

int64_t UnitFramePeriodUs(int function) {
    return function == FunctionAnalyser ? UnitShortFramePeriodUs : UnitLongFramePeriodUs;
}

void InitUnit(UnitModel* u, const UnitOptions& options) {
    *u = UnitModel{};
    u->options = options;
    u->function = (options.function >= FunctionDualMono && options.function <= FunctionAnalyser)
                      ? options.function
                      : FunctionDualMono;
    for (int f = FunctionDualMono; f <= FunctionAnalyser; ++f) {
        UnitFrameState defaults;
        DefaultUnitState(f, &defaults);
        UnitFunctionState& fs = u->functions[f - 1];
        std::memcpy(fs.current.value, defaults.settings, sizeof fs.current.value);
        fs.current.switchWord = defaults.switchWord & 0xFFFFFFu;
        SyncSwitchValues(&fs.current, f);
        const auto& names = f == FunctionDualMono ? DualMonoNames
                            : f == FunctionStereo ? StereoNames
                                                  : AnalyserNames;
        for (int k = 1; k <= UnitMemoryCount; ++k) {
            SetName(fs.memories[k - 1].name, names[k - 1]);
            DefaultMemorySettings(f, k, fs.current, &fs.memories[k - 1].settings);
        }
        fs.currentMemory = 1;
    }
    SeedRandom(&u->meterRandom, options.seed, 0x6d65746572ULL);  // "meter"
    SeedRandom(&u->faultRandom, options.seed, 0x6661756c74ULL);  // "fault"
    RestMeters(&u->meters);
}

bool UnitIsBooting(const UnitModel& u) { return u.bootTarget != 0; }

bool UnitIsUnplugged(const UnitModel& u) {
    if (u.unplugHeld) return true;
    const UnitFaults& f = u.options.faults;
    if (f.unplugAfterS < 0.0 || !(f.unplugForS > 0.0)) return false;
    const double t = u.nowUs / 1e6;
    return t >= f.unplugAfterS && t < f.unplugAfterS + f.unplugForS;
}

void UnitSetUnplugged(UnitModel* u, bool unplugged) {
    if (u->unplugHeld != unplugged) ++u->stateVersion;  // the state file tells the operator's cable
    u->unplugHeld = unplugged;
    if (unplugged) u->host.count = 0;
}

bool UnitCarriesSetting(int function, int id) {
    uint32_t mask = 0;
    if (UnitSwitchMask(function, id, &mask)) return true;
    size_t n = 0;
    const SettingField* fields = FieldsOf(function, &n);
    for (size_t k = 0; k < n; ++k)
        if (fields[k].id == id) return true;
    return false;
}

bool UnitSwitchMask(int function, int id, uint32_t* mask) {
    size_t n = 0;
    const SwitchBit* bits = SwitchesOf(function, &n);
    for (size_t k = 0; k < n; ++k)
        if (bits[k].id == id) {
            *mask = bits[k].mask;
            return true;
        }
    return false;
}

double UnitSettingValue(const UnitSettings& s, int function, int id) {
    uint32_t mask = 0;
    if (UnitSwitchMask(function, id, &mask)) return (s.switchWord & mask) ? 1.0 : 0.0;
    return (id >= 0 && id < IdSlots) ? s.value[id] : 0.0;
}

bool UnitSetSetting(UnitModel* u, int id, double value) {
    if (!UnitCarriesSetting(u->function, id)) return false;
    UnitSettings& s = CurrentFunctionState(u).current;
    uint32_t mask = 0;
    if (UnitSwitchMask(u->function, id, &mask)) {
        if (value >= 0.5)
            s.switchWord |= mask;
        else
            s.switchWord &= ~mask;
        SyncSwitchValues(&s, u->function);
    } else {
        s.value[id] = value;
    }
    ++u->stateVersion;
    return true;
}

void UnitFrameStateOf(const UnitModel& u, UnitFrameState* st) {
    *st = UnitFrameState{};
    const UnitFunctionState& f = CurrentFunctionState(u);
    st->function = u.function;
    st->switchWord = f.current.switchWord;
    std::memcpy(st->settings, f.current.value, sizeof st->settings);
    const UnitMeterReadings& r = u.meters.shown;
    UnitMeters& w = st->meters;
    for (int ch = 0; ch < 2; ++ch) {
        w.level[ch] = LevelWord(r.levelDb[ch]);
        w.peak[ch] = LevelWord(r.peakDb[ch]);
        w.expander[ch] = LevelWord(r.expanderDb[ch]);
        w.deesser[ch] = ReductionWord(r.deesserDb[ch]);
        w.alc[ch] = GainWord(r.alcDb[ch]);
        w.analyserLevel[ch] = LevelWord(r.anaLevelDb[ch]);
        w.analyserLevel[2 + ch] = LevelWord(r.anaHoldDb[ch]);
        w.quarter[ch] = QuarterWord(r.anaRmsDb[ch]);
    }
    w.correlation = CorrelationWord(r.correlation);
    for (int i = 0; i < BandCount; ++i)
        w.bands[i] = static_cast<uint8_t>(Clamp(255.0 + 2.0 * r.bandDb[i], 1.0, 255.0));
    const int walk = u.nameWalk >= 0 && u.nameWalk < UnitMemoryCount ? u.nameWalk : 0;
    st->memoryNumber = walk + 1;
    std::memcpy(st->memoryName, f.memories[walk].name, UnitNameLength);
    st->currentMemory = f.currentMemory;
}

void UnitNextOutput(UnitModel* u, UnitOutput* out) {
    out->size = out->frameSize = out->noiseBytes = 0;
    out->corrupted = out->syncInData = false;

    if (u->bootTarget != 0) {
        if (u->nowUs < u->bootEndUs) {
            u->nowUs += UnitFramePeriodUs(u->function);
            ++u->stats.silentSlots;
            return;
        }
        // Up again in the new function: meters at rest, the name walk from
        // memory 1.
        u->function = u->bootTarget;
        u->bootTarget = 0;
        u->nameWalk = 0;
        u->host.count = 0;
        u->chunksSeen = 0;
        RestMeters(&u->meters);
        ++u->stateVersion;
    }

    const int64_t period = UnitFramePeriodUs(u->function);
    const double dt = period / 1e6;
    if (u->function == FunctionAnalyser)
        StepAnalyser(u, dt);
    else
        StepProcessor(u, dt);

    if (UnitIsUnplugged(*u)) {
        u->nowUs += period;
        ++u->stats.silentSlots;
        return;
    }

    UnitFrameState st;
    UnitFrameStateOf(*u, &st);
    const size_t size = BuildDeviceFrame(st, out->bytes);
    out->size = out->frameSize = size;
    if (u->function != FunctionAnalyser) u->nameWalk = (u->nameWalk + 1) % UnitMemoryCount;
    ++u->stats.framesSent;

    const UnitFaults& faults = u->options.faults;
    UnitRandom* r = &u->faultRandom;
    const int words = static_cast<int>(size / 4);
    if (Chance(r, faults.syncInData)) {
        // A whole data word, pad byte included, that spells the sync word:
        // the receiver restarts there and loses the frame. Words 2 onward,
        // so that the cut-off rest can never complete a frame of its own.
        const int w = 2 + static_cast<int>(NextRandom(r) % static_cast<uint32_t>(words - 3));
        for (const SyncWord& sw : SyncWords)
            if (sw.function == u->function) std::memcpy(out->bytes + 4 * w, sw.bytes, 4);
        SealDeviceFrame(out->bytes, size);
        out->syncInData = true;
        ++u->stats.framesWithSync;
    }
    if (Chance(r, faults.corrupt)) {
        uint8_t* sum = out->bytes + size - 4;
        const uint32_t delta = 1 + NextRandom(r) % 0xFFFFFFu;
        const uint32_t v = (sum[0] | (sum[1] << 8) | (static_cast<uint32_t>(sum[2]) << 16)) + delta;
        sum[0] = static_cast<uint8_t>(v & 0xFF);
        sum[1] = static_cast<uint8_t>((v >> 8) & 0xFF);
        sum[2] = static_cast<uint8_t>((v >> 16) & 0xFF);
        out->corrupted = true;
        ++u->stats.framesCorrupted;
    }
    if (Chance(r, faults.noise)) {
        const size_t n = 1 + NextRandom(r) % UnitMaxNoiseBytes;
        for (size_t i = 0; i < n; ++i) out->bytes[size + i] = static_cast<uint8_t>(NextRandom(r) & 0xFF);
        out->size += n;
        out->noiseBytes = n;
        ++u->stats.noiseBursts;
        u->stats.noiseBytes += n;
    }
    u->nowUs += period;
}

bool UnitReceiveByte(UnitModel* u, uint8_t byte, HostReport* report) {
    if (UnitIsUnplugged(*u)) {
        ++u->stats.hostDroppedBytes;
        u->host.count = 0;
        return false;
    }
    HostAssembler& h = u->host;
    h.bytes[h.count++] = byte;
    Resync(&h, &u->stats);
    if (h.count < HostFrameSize) return false;
    std::memcpy(report->bytes, h.bytes, HostFrameSize);
    report->outcome = UnitApplyHostFrame(u, h.bytes);
    if (report->outcome == HostOutcome::Invalid) {
        // A frame may start inside the rejected bytes.
        std::memmove(h.bytes, h.bytes + 1, HostFrameSize - 1);
        h.count = HostFrameSize - 1;
        Resync(&h, &u->stats);
    } else {
        h.count = 0;
    }
    return true;
}

HostOutcome UnitApplyHostFrame(UnitModel* u, const uint8_t* bytes) {
    ParsedHostFrame f;
    if (!ParseHostFrame(bytes, HostFrameSize, &f)) {
        ++u->stats.hostInvalid;
        return HostOutcome::Invalid;
    }
    ++u->stats.hostValid;
    HostOutcome outcome = HostOutcome::Ignored;
    const int fn = u->function;
    const DeviceRequestCommands req = RequestCommandsFor(fn);
    const int cmd = f.command;
    const bool hasMemories = fn == FunctionDualMono || fn == FunctionStereo;

    if (UnitIsBooting(*u)) {
        outcome = HostOutcome::Ignored;  // a rebooting unit does not listen
    } else if (cmd == CmdEndOfChanges || cmd == CmdNone) {
        outcome = HostOutcome::Accepted;
    } else if (cmd == CmdSwitches) {
        outcome = SetSwitchWord(u, f.value24);
    } else if (req.boot != 0 && cmd == req.boot) {
        const int target = BootTargetOf(f.value[0]);
        if (target != 0) {
            u->bootTarget = target;
            u->bootEndUs = u->nowUs + (u->options.bootPauseUs > 0 ? u->options.bootPauseUs : 0);
            u->host.count = 0;
            ++u->stateVersion;
            outcome = HostOutcome::Applied;
        }
    } else if (hasMemories && cmd >= CmdStoreNameChunk0 && cmd <= CmdStoreNameChunk0 + 9 &&
               (cmd - CmdStoreNameChunk0) % 3 == 0) {
        const int k = (cmd - CmdStoreNameChunk0) / 3;
        std::memcpy(u->storeName + 3 * k, f.value, 3);
        u->chunksSeen |= 1u << k;
        outcome = HostOutcome::Accepted;
    } else if (hasMemories && cmd == req.store) {
        outcome = StoreMemory(u, f.value[0]);
    } else if (hasMemories && cmd == req.recall) {
        outcome = RecallMemory(u, f.value[0]);
    } else if (const ParamCommand* target = FindCommandTarget(fn, cmd)) {
        double v = DecodeCommandValue(target->encoding, f);
        if (const ParamDesc* limits = LimitRecord(fn, target->id)) v = ClampToLimits(*limits, v);
        double& slot = CurrentFunctionState(u).current.value[target->id];
        if (slot == v) {
            outcome = HostOutcome::Accepted;
        } else {
            slot = v;
            ++u->stateVersion;
            outcome = HostOutcome::Applied;
        }
    }
    if (outcome == HostOutcome::Ignored) ++u->stats.hostIgnored;
    return outcome;
}
