// Ids of the records the program's logic reaches by name, one enum per
// table. The ids are the unit's own numbers; the tables in param_data.cpp and
// the frame layouts hold the rest as data beside their records.
#pragma once

// Dual Mono and Stereo (tables 1 and 2) share one numbering; Stereo lacks the
// right channel's own settings and meters.
enum DualMonoId : int {
    LowCutLeftId = 6,
    ExpanderOnId = 8,
    ExpanderDampingLeftId = 12,
    ExpanderDampingRightId = 16,
    DelayOnId = 21,
    DelayLeftId = 22,
    DelayRightId = 23,
    DeEsserOnId = 24,
    DeEsserReductionLeftId = 28,
    DeEsserReductionRightId = 32,
    AlcOnId = 34,
    AlcAmplificationLeftId = 37,
    AlcAmplificationRightId = 40,
    AlcMeterLeftId = 42,
    AlcMeterRightId = 43,
    DeEsserMeterLeftId = 44,
    DeEsserMeterRightId = 45,
    ExpanderMeterLeftId = 46,
    ExpanderMeterRightId = 47,
    LevelMeterLeftId = 48,
    LevelMeterRightId = 49,
    PeakHoldLeftId = 50,
    PeakHoldRightId = 51,
    LevelPeakLeftId = 59,
    LevelPeakRightId = 60,
    CorrelationId = 64,
    AttackSlowId = 66,
    LookAheadExpLeftId = 67,
    LookAheadAlcLeftId = 68,
    LookAheadExpRightId = 69,
    LookAheadAlcRightId = 70,
};

// The Analyser's settings (table 3).
enum AnalyserId : int {
    AnalyserTypeId = 33,
    AnalyserInputId = 34,
    AnalyserRangeId = 37,
    AnalyserTopLevelId = 38,
    AnalyserPeakHoldId = 39,
    AnalyserModeId = 40,
    AnalyserResolutionId = 42,
    AnalyserSizeId = 43,
    AnalyserInstantHoldId = 44,
    AnalyserHoldResetId = 45,
    AnalyserFreezeId = 46,
    LevelMeterDisplayId = 51,
    AnalyserSampleRateId = 55,
};

// The analyser display (table 4): band b's bar is id 2b and its held peak
// 2b + 1 (30 bands at most), then the level meters beside the bands.
enum AnalyserDisplayId : int {
    FirstBandBarId = 0,
    FirstPeakHoldId = 1,
    LastPeakHoldId = 59,
    MeterRmsLeftId = 64,
    MeterPeakLeftId = 65,
    MeterPeakRightId = 66,
    MeterRmsRightId = 67,
    MeterOverLeftId = 68,
    MeterOverRightId = 69,
};
