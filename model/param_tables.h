// The device parameter model: one record per setting, readout and meter of
// each device function, the label lists the records show, the id index that
// the frame codecs use to reach a record, and the value rules every editing
// path shares. The tables are process-wide and changed in place on the main
// window's thread; nothing here allocates.
#pragma once

#include <cstddef>
#include <cstdint>

enum class ControlKind : int32_t {
    None = 0,  // records 7 to 72 of the analyser display table before layout
    Numeric = 1,
    Readout = 2,
    Toggle = 3,
    Choice = 4,
    CyclicChoice = 5,
    Indicator = 6,
    RisingBar = 10,
    PointMeter = 11,
    NeedleMeter = 12,
    ReductionMeter = 14,
    PeakSegment = 15,
    RisingOverBar = 16,
    OverPeakSegment = 17,
    LevelBar = 20,
    PeakMarker = 21,
    Scale = 22,
    Legend = 23,
};

// Run-time state bits of ParamDesc::flags.
enum ParamFlag : uint32_t {
    Dragging = 0x01,
    SendPending = 0x02,
    // Marked again by a frame decoder because the unit reported another
    // value (a retry, not a change); cleared when the record is sent.
    Resend = 0x04,
    Redraw = 0x08,
    JustSent = 0x10,
    Hidden = 0x20,
};
inline constexpr uint32_t UserChangeFlags = SendPending | Redraw;

inline constexpr int LabelSlotSize = 30;
inline constexpr int MaxLabels = 16;

// Labels in fixed 30-byte slots. `count` is the number of slots that hold a
// label; a record's `max` may name fewer, never more.
struct SelectionList {
    int count;
    char label[MaxLabels][LabelSlotSize];
};

struct ParamDesc {
    int32_t id;
    char name[60];
    ControlKind kind;
    int32_t bitmap;
    double value;
    double min;
    double max;
    double step;
    int32_t decimals;
    char unit[8];
    int32_t x, y, width, height;
    uint32_t flags;
    const SelectionList* labels;
    int32_t helpContext;
    int32_t holdCount;
};

inline constexpr int DualMonoCount = 71;
inline constexpr int StereoCount = 57;
inline constexpr int AnalyserCount = 28;
inline constexpr int AnalyserDisplayCount = 73;
inline constexpr int AnalyserDisplayStaticCount = 7;
inline constexpr int IdSlots = 71;  // ids 0 to 70

enum TableNumber : int {
    TableDualMono = 1,
    TableStereo = 2,
    TableAnalyser = 3,
    TableAnalyserDisplay = 4,
};

extern ParamDesc DualMonoTable[DualMonoCount];
extern ParamDesc StereoTable[StereoCount];
extern ParamDesc AnalyserTable[AnalyserCount];
extern ParamDesc AnalyserDisplayTable[AnalyserDisplayCount];

extern const SelectionList InputSelectLabels, SampleRateLabels, ChannelStatusLabels,
    WordlengthLabels, DitherLabels, MeterSourceLabels, LookAheadExpLabels,
    LookAheadAlcLabels, AnalyserInputLabels, AnalyserTypeLabels, AnalyserRangeLabels,
    AnalyserTopLevelLabels, AnalyserModeLabels, AnalyserResolutionLabels,
    AnalyserSizeLabels, BandLegend10A, BandLegend10B, BandLegend15A, BandLegend15B,
    BandLegend20A, BandLegend20B, BandLegend30A, BandLegend30B, MeterLegendModes,
    MeterLegendChannels, MeterLegendOver;

// Bands per analyser type, indexed like AnalyserTypeLabels.
inline constexpr int AnalyserBandCounts[8] = {10, 10, 15, 15, 20, 20, 30, 30};

// Table by number (1 to 4) and its record count; null and 0 for any other
// number.
ParamDesc* TableByNumber(int table);
int TableRecordCount(int table);

// Run-time part of the start-up: the ids and start values of analyser
// display records 7 to 72, then the id index of every table. Safe to call
// again; it rebuilds the same index.
void BuildIdIndices();

// The record with that id in table 1 to 4, through the id index; null for an
// unknown table, an id outside 0 to 70 or an id the table lacks. A repeated
// id finds the later record.
ParamDesc* FindParam(int table, int id);

// The text of a numeric value as the panel and dialogs show it, without the
// unit: printed with ten decimals, then cut (not rounded) to `decimals`
// digits. Returns the number of characters written (at most size - 1).
int FormatParamValue(const ParamDesc& record, char* text, size_t size);

// Label number `index` (fraction cut off) of the record's labels, or null
// when the record has none or the index lies outside 0 to `max` or outside
// the list.
const char* LabelOf(const ParamDesc& record, double index);

// The clamp every editing path uses: above max gives max, then not above min
// gives min.
double ClampToLimits(const ParamDesc& record, double v);

// "On" for switches and every flag-like value.
inline bool IsOn(double v) { return v > 0.5; }

// Kinds whose values are saved in setup files and sent after a user change.
bool IsSavedKind(ControlKind kind);
