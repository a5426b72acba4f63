// Decoders of Dual Mono, Stereo and Analyser frames.
#include "link/frame_decoder.h"

#include <cmath>
#include <cstdint>

#include "link/frame_layout.h"
#include "link/frame_receiver.h"
#include "link/link_state.h"
#include "model/param_ids.h"
#include "model/param_tables.h"

namespace {

constexpr double FullScale = 8388608.0;

double FieldValue(const SettingField& f) {
    const double raw = f.byte < 0
                           ? FrameValueByte(f.word, 0) + 256.0 * FrameValueByte(f.word, 1)
                           : static_cast<double>(FrameValueByte(f.word, f.byte));
    switch (f.conv) {
        case FieldConv::Tenths: return raw / 10.0;
        case FieldConv::Negative: return -raw;
        case FieldConv::None: break;
    }
    return raw;
}

bool HasFlag(int table, int id, uint32_t flag) {
    const ParamDesc* p = FindParam(table, id);
    return p != nullptr && (p->flags & flag) != 0;
}

void PairRedraw(int table, int from, int to) {
    if (HasFlag(table, from, Redraw))
        if (ParamDesc* p = FindParam(table, to)) p->flags |= Redraw;
}

// A meter that follows a switch reads 0 while the switch is off.
double GatedBy(int table, int switchId, double x) {
    const ParamDesc* s = FindParam(table, switchId);
    return (s != nullptr && s->value < 0.5) ? 0.0 : x;
}

void DecodeMemoryName() {
    int m = (FrameValueByte(12, 2) == '1' ? 10 : 0) + (FrameValueByte(12, 1) - 48);
    if (m < 1 || m > MemoryCount) m = 0;
    for (int i = 0; i < 10; ++i) {
        const uint8_t c = FrameValueByte(MemoryNameBytes[i].word, MemoryNameBytes[i].byte);
        MemoryNames[m][i] = static_cast<char>(c == '@' ? ' ' : c);
    }
}

void DecodeBands() {
    const ParamDesc* peakHold = FindParam(TableAnalyser, AnalyserPeakHoldId);
    const ParamDesc* instant = FindParam(TableAnalyser, AnalyserInstantHoldId);
    const double holdSeconds = peakHold != nullptr ? peakHold->value : 0.0;
    // A hand-edited hold time must not overflow the conversion.
    const double holdFrames = holdSeconds * 20.0;
    const int32_t holdCount =
        !(holdFrames > 0.0) ? 0 : holdFrames > 2147483647.0 ? 2147483647 : static_cast<int32_t>(holdFrames);
    const bool instantHold = instant != nullptr && instant->value >= 0.5;

    for (int m = 0; m < 10; ++m) {
        for (int i = 0; i < 3; ++i) {
            const int n = 30 - 3 * m - i;
            int b = FrameValueByte(14 + m, i);
            if (b == 0) b = 255;
            DecodeMeter((b - 255) / 2.0, 2 * n - 2, TableAnalyserDisplay);
            ParamDesc* level = FindParam(TableAnalyserDisplay, 2 * n - 2);
            ParamDesc* peak = FindParam(TableAnalyserDisplay, 2 * n - 1);
            if (level == nullptr || peak == nullptr) continue;
            if (peak->value < level->value) {
                peak->value = level->value;
                peak->holdCount = holdCount;
                peak->flags |= Redraw;
                level->flags |= Redraw;
            } else if (peak->holdCount > 0) {
                if (!instantHold) --peak->holdCount;
                if (level->flags & Redraw) peak->flags |= Redraw;
            } else {
                peak->value -= 1.0;
                peak->flags |= Redraw;
                level->flags |= Redraw;
            }
        }
    }
}

}  // namespace

double LevelDb(double v) { return -20.0 * std::log10(FullScale / (v > 1.0 ? v : 1.0)); }

double ReductionDb(double v) { return -20.0 * std::log10(FullScale / (FullScale - v)); }

double GainDb(double v) { return 24.4 - 20.0 * std::log10(FullScale / v); }

double CorrelationOf(double s) {
    const double r = std::sqrt(std::fabs(s) / FullScale);
    return s >= 0.0 ? r : -r;
}

double QuarterDb(double v) {
    const double q = -(16777216.0 - v - 12.0) / 4.0;
    return q > -0.00002 ? -0.00002 : q;
}

void DecodeSwitch(bool on, int id, int table) {
    ParamDesc* p = FindParam(table, id);
    if (p == nullptr) return;
    if (p->flags & (SendPending | JustSent)) return;
    const bool differs = (on && p->value < 0.5) || (!on && p->value > 0.5);
    if (!differs) return;
    if (TransmitCount > 0) {
        p->flags |= SendPending | Resend;
        ++TransmitCount;
    } else {
        p->value = on ? 1.0 : 0.0;
        p->flags |= Redraw;
        UnsavedChanges = 1;
    }
}

void DecodeSetting(double x, int id, int table) {
    ParamDesc* p = FindParam(table, id);
    if (p == nullptr) return;
    if (p->flags & (SendPending | JustSent)) return;
    if (p->value == x) return;
    // The user holds this control: the unit's value is never taken over, and
    // a unit that lacks the held value (its frame was lost while the mouse
    // stood still and the count ran out) is sent it again, as the user's
    // value (no Resend: it gets its answers after it).
    if (p->flags & Dragging) {
        p->flags |= SendPending;
        if (TransmitCount > 0) ++TransmitCount;
        return;
    }
    if (TransmitCount > 0) {
        p->flags |= SendPending | Resend;
        ++TransmitCount;
    } else {
        p->value = x;
        p->flags |= Redraw;
        UnsavedChanges = 1;
    }
}

void DecodeMeter(double x, int id, int table) {
    ParamDesc* p = FindParam(table, id);
    if (p == nullptr) return;
    // NaN never equals itself; an unchanged NaN meter is not redrawn again.
    const bool same = p->value == x || (std::isnan(p->value) && std::isnan(x));
    if (same) return;
    p->value = x;
    p->flags |= Redraw;
}

void DecodeDualMonoOrStereo(int table) {
    const int t = table;
    SwitchWord = FrameWord(WordSwitches);
    for (const SwitchBit& s : DualMonoSwitches) DecodeSwitch((SwitchWord & s.mask) != 0, s.id, t);

    DecodeMeter(LevelDb(FrameWord(1)), LevelMeterLeftId, t);
    DecodeMeter(LevelDb(FrameWord(2)), LevelMeterRightId, t);
    DecodeMeter(LevelDb(FrameWord(9)), PeakHoldLeftId, t);
    DecodeMeter(LevelDb(FrameWord(10)), PeakHoldRightId, t);
    DecodeMeter(LevelDb(FrameWord(9)), LevelPeakLeftId, t);
    DecodeMeter(LevelDb(FrameWord(10)), LevelPeakRightId, t);

    PairRedraw(t, LevelMeterLeftId, LevelPeakLeftId);
    PairRedraw(t, LevelMeterRightId, LevelPeakRightId);
    PairRedraw(t, LevelPeakLeftId, LevelMeterLeftId);
    PairRedraw(t, LevelPeakRightId, LevelMeterRightId);

    DecodeMeter(CorrelationOf(FrameSignedWord(11)), CorrelationId, t);

    const double expLeft = GatedBy(t, ExpanderOnId, LevelDb(FrameWord(3)));
    DecodeMeter(expLeft, ExpanderMeterLeftId, t);
    DecodeMeter(expLeft, ExpanderDampingLeftId, t);
    const double expRight = GatedBy(t, ExpanderOnId, LevelDb(FrameWord(4)));
    DecodeMeter(expRight, ExpanderMeterRightId, t);
    DecodeMeter(expRight, ExpanderDampingRightId, t);

    const double deessLeft = GatedBy(t, DeEsserOnId, ReductionDb(FrameWord(5)));
    DecodeMeter(deessLeft, DeEsserMeterLeftId, t);
    DecodeMeter(deessLeft, DeEsserReductionLeftId, t);
    const double deessRight = GatedBy(t, DeEsserOnId, ReductionDb(FrameWord(6)));
    DecodeMeter(deessRight, DeEsserMeterRightId, t);
    DecodeMeter(deessRight, DeEsserReductionRightId, t);

    const double alcLeft = GatedBy(t, AlcOnId, GainDb(FrameWord(7)));
    DecodeMeter(alcLeft, AlcMeterLeftId, t);
    DecodeMeter(alcLeft, AlcAmplificationLeftId, t);
    double alcRight = GainDb(FrameWord(8));
    if (DeviceFunction == FunctionDualMono) alcRight = GatedBy(TableDualMono, AlcOnId, alcRight);
    DecodeMeter(alcRight, AlcMeterRightId, TableDualMono);
    DecodeMeter(alcRight, AlcAmplificationRightId, TableDualMono);

    for (const SettingField& f : DualMonoSettings)
        DecodeSetting(FieldValue(f), f.id, f.dualMonoOnly ? TableDualMono : t);

    DecodeMemoryName();
    CurrentMemory = FrameValueByte(38, 0);
}

void DecodeAnalyser() {
    SwitchWord = FrameWord(AnaWordSwitches);
    for (const SwitchBit& s : AnalyserSwitches)
        DecodeSwitch((SwitchWord & s.mask) != 0, s.id, TableAnalyser);

    DecodeMeter(LevelDb(FrameWord(1)), MeterPeakLeftId, TableAnalyserDisplay);
    DecodeMeter(LevelDb(FrameWord(2)), MeterPeakRightId, TableAnalyserDisplay);
    DecodeMeter(LevelDb(FrameWord(3)), MeterOverLeftId, TableAnalyserDisplay);
    DecodeMeter(LevelDb(FrameWord(4)), MeterOverRightId, TableAnalyserDisplay);
    DecodeMeter(QuarterDb(FrameWord(24)), MeterRmsLeftId, TableAnalyserDisplay);
    DecodeMeter(QuarterDb(FrameWord(25)), MeterRmsRightId, TableAnalyserDisplay);

    PairRedraw(TableAnalyserDisplay, MeterPeakLeftId, MeterOverLeftId);
    PairRedraw(TableAnalyserDisplay, MeterPeakRightId, MeterOverRightId);
    PairRedraw(TableAnalyserDisplay, MeterOverLeftId, MeterPeakLeftId);
    PairRedraw(TableAnalyserDisplay, MeterOverRightId, MeterPeakRightId);

    const ParamDesc* freeze = FindParam(TableAnalyser, AnalyserFreezeId);
    if (freeze == nullptr || freeze->value < 0.5) DecodeBands();

    for (const SettingField& f : AnalyserSettings) DecodeSetting(FieldValue(f), f.id, TableAnalyser);
}
