// Device frames from a unit state, and host frames as the unit reads them.
#include "link/device_codec.h"

#include <cmath>
#include <cstring>

#include "link/frame_layout.h"
#include "link/frame_receiver.h"
#include "link/link_state.h"

namespace {

void PutWord(uint8_t* frame, int w, uint32_t v) {
    frame[4 * w] = static_cast<uint8_t>(v & 0xFF);
    frame[4 * w + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    frame[4 * w + 2] = static_cast<uint8_t>((v >> 16) & 0xFF);
}

void PutByte(uint8_t* frame, int w, int i, uint8_t v) { frame[4 * w + i] = v; }

uint32_t Clamp24(uint32_t v) { return v & 0xFFFFFFu; }

void PutSettings(uint8_t* frame, const SettingField* fields, size_t n, const double* settings) {
    for (size_t k = 0; k < n; ++k) {
        const SettingField& f = fields[k];
        const bool word = f.byte < 0;
        const uint32_t number = SettingFieldNumber(settings[f.id], static_cast<int>(f.conv), word);
        if (word) {
            PutByte(frame, f.word, 0, static_cast<uint8_t>(number & 0xFF));
            PutByte(frame, f.word, 1, static_cast<uint8_t>(number >> 8));
        } else {
            PutByte(frame, f.word, f.byte, static_cast<uint8_t>(number));
        }
    }
}

void Seal(uint8_t* frame, int words, int function) {
    const SyncWord* sync = nullptr;
    for (const SyncWord& s : SyncWords)
        if (s.function == function) sync = &s;
    std::memcpy(frame, sync->bytes, 4);
    uint32_t sum = sync->value;
    for (int w = 1; w < words - 1; ++w)
        sum += frame[4 * w] | (frame[4 * w + 1] << 8) | (static_cast<uint32_t>(frame[4 * w + 2]) << 16);
    PutWord(frame, words - 1, sum & 0xFFFFFFu);
}

}  // namespace

uint32_t SettingFieldNumber(double value, int conv, bool word) {
    double n = value;
    if (conv == static_cast<int>(FieldConv::Tenths)) n = value * 10.0;
    if (conv == static_cast<int>(FieldConv::Negative)) n = -value;
    const double top = word ? 65535.0 : 255.0;
    if (!(n > 0.0)) return 0;  // NaN too
    if (n > top) return static_cast<uint32_t>(top);
    return static_cast<uint32_t>(std::lround(n));
}

size_t BuildDeviceFrame(const UnitFrameState& s, uint8_t* out) {
    if (s.function == FunctionDualMono || s.function == FunctionStereo) {
        std::memset(out, 0, DualMonoFrameBytes);
        const UnitMeters& m = s.meters;
        PutWord(out, WordLevelLeft, Clamp24(m.level[0]));
        PutWord(out, WordLevelRight, Clamp24(m.level[1]));
        PutWord(out, WordExpanderLeft, Clamp24(m.expander[0]));
        PutWord(out, WordExpanderRight, Clamp24(m.expander[1]));
        PutWord(out, WordDeesserLeft, Clamp24(m.deesser[0]));
        PutWord(out, WordDeesserRight, Clamp24(m.deesser[1]));
        PutWord(out, WordAlcLeft, Clamp24(m.alc[0]));
        PutWord(out, WordAlcRight, Clamp24(m.alc[1]));
        PutWord(out, WordPeakLeft, Clamp24(m.peak[0]));
        PutWord(out, WordPeakRight, Clamp24(m.peak[1]));
        PutWord(out, WordCorrelation, static_cast<uint32_t>(m.correlation) & 0xFFFFFFu);

        const int number = (s.memoryNumber >= 1 && s.memoryNumber <= 16) ? s.memoryNumber : 0;
        PutByte(out, WordMemoryNumber, 2, number >= 10 ? '1' : '0');
        PutByte(out, WordMemoryNumber, 1, static_cast<uint8_t>('0' + number % 10));
        for (int i = 0; i < 10; ++i) {
            const char c = s.memoryName[i];
            const uint8_t b = (c == ' ' || c == '\0') ? '@' : static_cast<uint8_t>(c);
            PutByte(out, MemoryNameBytes[i].word, MemoryNameBytes[i].byte, b);
        }
        PutWord(out, WordSwitches, Clamp24(s.switchWord));
        PutSettings(out, DualMonoSettings, sizeof DualMonoSettings / sizeof DualMonoSettings[0],
                    s.settings);
        PutByte(out, WordCurrentMemory, 0, static_cast<uint8_t>(s.currentMemory));
        Seal(out, 40, s.function);
        return DualMonoFrameBytes;
    }
    if (s.function == FunctionAnalyser) {
        std::memset(out, 0, AnalyserFrameBytes);
        const UnitMeters& m = s.meters;
        for (int i = 0; i < 4; ++i) PutWord(out, 1 + i, Clamp24(m.analyserLevel[i]));
        PutWord(out, AnaWordSwitches, Clamp24(s.switchWord));
        PutSettings(out, AnalyserSettings, sizeof AnalyserSettings / sizeof AnalyserSettings[0],
                    s.settings);
        // Byte i of word 14 + k carries band 30 - 3k - i.
        for (int k = 0; k < 10; ++k)
            for (int i = 0; i < 3; ++i)
                PutByte(out, AnaWordFirstBand + k, i, m.bands[30 - 3 * k - i - 1]);
        PutWord(out, AnaWordQuarterA, Clamp24(m.quarter[0]));
        PutWord(out, AnaWordQuarterB, Clamp24(m.quarter[1]));
        Seal(out, 27, s.function);
        return AnalyserFrameBytes;
    }
    return 0;
}

bool SealDeviceFrame(uint8_t* frame, size_t size) {
    for (const SyncWord& s : SyncWords) {
        if (std::memcmp(frame, s.bytes, 4) != 0) continue;
        const size_t want = s.function == FunctionAnalyser ? AnalyserFrameBytes : DualMonoFrameBytes;
        if (size != want) return false;
        Seal(frame, static_cast<int>(size / 4), s.function);
        return true;
    }
    return false;
}

bool ParseHostFrame(const uint8_t* bytes, size_t size, ParsedHostFrame* out) {
    if (size < HostFrameSize) return false;
    if (bytes[0] != 'Q' || bytes[1] != 'E' || bytes[2] != 'N') return false;
    if (HostChecksum(bytes) != bytes[7]) return false;
    out->command = bytes[3];
    out->value[0] = bytes[4];
    out->value[1] = bytes[5];
    out->value[2] = bytes[6];
    out->value24 = bytes[4] | (bytes[5] << 8) | (static_cast<uint32_t>(bytes[6]) << 16);
    return true;
}

const ParamCommand* FindCommandTarget(int function, int command) {
    if (command <= 0 || command >= 128) return nullptr;
    for (int id = 0; id < IdSlots; ++id) {
        const ParamCommand* c = FindParamCommand(function, id);
        if (c != nullptr && c->command == command && c->encoding != Encoding::Switch) return c;
    }
    return nullptr;
}

double DecodeCommandValue(Encoding encoding, const ParsedHostFrame& f) {
    switch (encoding) {
        case Encoding::Byte: return f.value[0];
        case Encoding::TenthsByte: return f.value[0] / 10.0;
        case Encoding::TenthsWord: return (f.value[0] + 256 * f.value[1]) / 10.0;
        case Encoding::Signed24:
            return f.value24 >= 0x800000u ? static_cast<double>(f.value24) - 16777216.0
                                          : static_cast<double>(f.value24);
        case Encoding::Switch: break;
    }
    return 0.0;
}

void DefaultUnitState(int function, UnitFrameState* s) {
    std::memset(s, 0, sizeof *s);
    s->function = function;
    const int table = function == FunctionAnalyser ? TableAnalyser : TableDualMono;
    const ParamDesc* t = TableByNumber(table);
    const int n = TableRecordCount(table);
    for (int i = 0; i < n; ++i)
        if (t[i].id >= 0 && t[i].id < IdSlots) s->settings[t[i].id] = t[i].value;
    // Switches as the tables start: a switch is on when its record is.
    const SwitchBit* bits = function == FunctionAnalyser ? AnalyserSwitches : DualMonoSwitches;
    const size_t nbits = function == FunctionAnalyser
                             ? sizeof AnalyserSwitches / sizeof AnalyserSwitches[0]
                             : sizeof DualMonoSwitches / sizeof DualMonoSwitches[0];
    for (size_t k = 0; k < nbits; ++k)
        if (s->settings[bits[k].id] >= 0.5) s->switchWord |= bits[k].mask;
    for (int i = 0; i < 2; ++i) s->meters.alc[i] = 0x800000u;  // 0 dB gain reads 24.4 - 0
    s->meters.level[0] = s->meters.level[1] = 1;
    s->meters.peak[0] = s->meters.peak[1] = 1;
    s->meters.analyserLevel[0] = s->meters.analyserLevel[1] = 1;
    s->meters.analyserLevel[2] = s->meters.analyserLevel[3] = 1;
    s->meters.quarter[0] = s->meters.quarter[1] = 0;
    for (uint8_t& b : s->meters.bands) b = 1;
    s->memoryNumber = 1;
    std::memcpy(s->memoryName, "          ", 10);
    s->currentMemory = 1;
}
