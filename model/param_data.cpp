// The four parameter tables and their label lists, as the unit's firmware
// numbers them. Positions are client pixels of the panel that shows them.
#include "model/param_tables.h"

using K = ControlKind;

const SelectionList InputSelectLabels = {3, {"Line  ", "Mic   ", "MicPh "}};
const SelectionList SampleRateLabels = {8, {"32.0 kHz ", "44.1 kHz ", "48.0 kHz ", "WCK<64kHz ", "64.0 kHz ", "88.2 kHz ", "96.0 kHz ", "WCK>48kHz "}};
const SelectionList ChannelStatusLabels = {3, {"Professional ", "Cons. w/o Copyr.", "Cons. w. Copyr."}};
const SelectionList WordlengthLabels = {4, {"8 Bit ", "16 Bit ", "20 Bit ", "24 Bit "}};
const SelectionList DitherLabels = {3, {"off ", "0.5 LSB ", "1.0 LSB "}};
const SelectionList MeterSourceLabels = {2, {"Input ", "Output "}};
const SelectionList LookAheadExpLabels = {2, {" off", " on "}};
const SelectionList LookAheadAlcLabels = {2, {" off", " on "}};
const SelectionList AnalyserInputLabels = {4, {"left ", "right ", "left+right ", "left-right "}};
const SelectionList AnalyserTypeLabels = {8, {"10-Band Q=1.4", "10-Band Q=2.5", "15-Band Q=1.4", "15-Band Q=3 ", "20-Band Q=3 ", "20-Band Q=5 ", "30-Band Q=3 ", "30-Band Q=5 "}};
const SelectionList AnalyserRangeLabels = {2, {"30 dB ", "50 dB "}};
const SelectionList AnalyserTopLevelLabels = {8, {"-70 dB", "-60 dB", "-50 dB ", "-40 dB ", "-30 dB ", "-20 dB ", "-10 dB ", "0 dB "}};
const SelectionList AnalyserModeLabels = {3, {"Point ", "Bar ", "Peak Hold"}};
const SelectionList AnalyserResolutionLabels = {3, {"0.5 dB ", "1.0 dB ", "2.0 dB "}};
const SelectionList AnalyserSizeLabels = {3, {"small ", "medium ", "big "}};
const SelectionList BandLegend10A = {5, {"31.5", "125", "500", "2k", "8k"}};
const SelectionList BandLegend10B = {5, {"63", "250", "1k", "4k", "16k"}};
const SelectionList BandLegend15A = {8, {"25", "63", "160", "400", "1k", "2k5", "6k3", "16k"}};
const SelectionList BandLegend15B = {7, {"40", "100", "250", "630", "1k6", "4k", "10k"}};
const SelectionList BandLegend20A = {10, {"31.5", "63", "125", "250", "500", "1k", "2k", "4k", "8k", "16k"}};
const SelectionList BandLegend20B = {10, {"44", "88", "175", "350", "700", "1k4", "2k8", "5k6", "11k3", "20k"}};
const SelectionList BandLegend30A = {15, {"25", "40", "63", "100", "160", "250", "400", "630", "1k", "1k6", "2k5", "4k", "6k3", "10k", "16k"}};
const SelectionList BandLegend30B = {15, {"31.5", "50", "80", "125", "200", "315", "500", "800", "1k25", "2k", "3k15", "5k", "8k", "12k5", "20k"}};
const SelectionList MeterLegendModes = {3, {"RMS", "Peak", "RMS"}};
const SelectionList MeterLegendChannels = {2, {"Left", "Right"}};
const SelectionList MeterLegendOver = {1, {"OVR"}};

ParamDesc DualMonoTable[DualMonoCount] = {
    {0, "Input Select Left", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 20, 45, 50, 10, 0, &InputSelectLabels, 240, 0},  // 0
    {1, "Phase Invert Left", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 20, 60, 50, 10, 0, nullptr, 240, 0},  // 1
    {2, "Input Select Right", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 20, 110, 50, 10, 0, &InputSelectLabels, 240, 0},  // 2
    {3, "Phase Invert Right", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 20, 125, 50, 10, 0, nullptr, 240, 0},  // 3
    {4, "M/S Processing", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 20, 160, 50, 10, 0, nullptr, 240, 0},  // 4
    {5, "Low Cut On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 90, 10, 50, 10, 0, nullptr, 241, 0},  // 5
    {6, "Low Cut Frequency Left", K::Numeric, 1, 50.0, 2.0, 250.0, 1.0, 0, "Hz", 90, 45, 50, 10, 0, nullptr, 241, 0},  // 6
    {7, "Low Cut Frequency Right", K::Numeric, 1, 50.0, 2.0, 250.0, 1.0, 0, "Hz", 90, 110, 50, 10, 0, nullptr, 241, 0},  // 7
    {8, "Expander On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 240, 10, 80, 10, 0, nullptr, 242, 0},  // 8
    {9, "Expander Threshold Left", K::Numeric, 1, -50.0, -110.0, -30.0, 1.0, 0, "dB", 270, 30, 50, 10, 0, nullptr, 242, 0},  // 9
    {10, "Expander Ratio Left", K::Numeric, 1, 2.0, 1.2, 5.0, 0.1, 1, "", 270, 45, 50, 10, 0, nullptr, 242, 0},  // 10
    {11, "Expander Release Left", K::Numeric, 1, 5.0, 0.1, 25.5, 0.1, 1, "s", 270, 60, 50, 10, 0, nullptr, 242, 0},  // 11
    {12, "Expander Cur. Damping", K::Readout, 7, -50.0, -120.0, 0.0, 0.0, 0, "dB", 270, 75, 50, 10, 0, nullptr, 242, 0},  // 12
    {13, "Expander Threshold Right", K::Numeric, 1, -50.0, -110.0, -30.0, 1.0, 0, "dB", 270, 95, 50, 10, 0, nullptr, 242, 0},  // 13
    {14, "Expander Ratio Right", K::Numeric, 1, 2.0, 1.2, 5.0, 0.1, 1, "", 270, 110, 50, 10, 0, nullptr, 242, 0},  // 14
    {15, "Expander Release Right", K::Numeric, 1, 5.0, 0.1, 25.5, 0.1, 1, "s", 270, 125, 50, 10, 0, nullptr, 242, 0},  // 15
    {16, "Expander Cur. Damping", K::Readout, 7, -50.0, -120.0, 0.0, 0.0, 0, "dB", 270, 140, 50, 10, 0, nullptr, 242, 0},  // 16
    {17, "Expander Link L/R", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 260, 160, 20, 10, 0, nullptr, 242, 0},  // 17
    {66, "Expander Attack Slow", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 322, 160, 20, 10, 0, nullptr, 242, 0},  // 18
    {46, "Expander Meter Left", K::ReductionMeter, 3, 0.0, -50.0, 0.0, 3.0, 0, "", 330, 30, 10, 55, 0, nullptr, 242, 0},  // 19
    {47, "Expander Meter Right", K::ReductionMeter, 3, 0.0, -50.0, 0.0, 3.0, 0, "", 330, 95, 10, 55, 0, nullptr, 242, 0},  // 20
    {18, "NLC On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 490, 10, 50, 10, 0, nullptr, 243, 0},  // 21
    {19, "NLC Gain Left", K::Numeric, 1, 1.0, 1.0, 5.0, 1.0, 0, "dB", 490, 45, 50, 10, 0, nullptr, 243, 0},  // 22
    {20, "NLC Gain Right", K::Numeric, 1, 1.0, 1.0, 5.0, 1.0, 0, "dB", 490, 110, 50, 10, 0, nullptr, 243, 0},  // 23
    {21, "Delay On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 160, 10, 60, 10, 0, nullptr, 244, 0},  // 24
    {22, "Delay Time Left", K::Numeric, 1, 0.0, 0.0, 170.0, 0.1, 1, "ms", 160, 45, 60, 10, 0, nullptr, 244, 0},  // 25
    {23, "Delay Time Right", K::Numeric, 1, 0.0, 0.0, 170.0, 0.1, 1, "ms", 160, 110, 60, 10, 0, nullptr, 244, 0},  // 26
    {67, "Look Ahead EXP Left", K::Indicator, 7, 0.0, 0.0, 1.0, 1.0, 0, "", 195, 60, 25, 10, 0, &LookAheadExpLabels, 252, 0},  // 27
    {68, "Look Ahead ALC Left", K::Indicator, 7, 0.0, 0.0, 1.0, 1.0, 0, "", 195, 75, 25, 10, 0, &LookAheadAlcLabels, 252, 0},  // 28
    {69, "Look Ahead EXP Right", K::Indicator, 7, 0.0, 0.0, 1.0, 1.0, 0, "", 195, 125, 25, 10, 0, &LookAheadExpLabels, 252, 0},  // 29
    {70, "Look Ahead ALC Right", K::Indicator, 7, 0.0, 0.0, 1.0, 1.0, 0, "", 195, 140, 25, 10, 0, &LookAheadAlcLabels, 252, 0},  // 30
    {24, "De-esser On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 360, 10, 90, 10, 0, nullptr, 245, 0},  // 31
    {25, "De-esser Frequency Left", K::Numeric, 1, 4.0, 0.7, 20.0, 0.1, 1, "kHz", 393, 30, 57, 10, 0, nullptr, 245, 0},  // 32
    {26, "De-esser Q Left", K::Numeric, 1, 1.0, 0.2, 10.0, 0.1, 1, "", 393, 45, 57, 10, 0, nullptr, 245, 0},  // 33
    {27, "De-esser Ratio Left", K::Numeric, 1, -20.0, -50.0, 0.0, 1.0, 0, "dB", 393, 60, 57, 10, 0, nullptr, 245, 0},  // 34
    {28, "De-esser Gain Reduction", K::Readout, 7, -50.0, -120.0, 0.0, 0.0, 0, "dB", 393, 75, 57, 10, 0, nullptr, 245, 0},  // 35
    {29, "De-esser Frequency Right", K::Numeric, 1, 4.0, 0.7, 20.0, 0.1, 1, "kHz", 393, 95, 57, 10, 0, nullptr, 245, 0},  // 36
    {30, "De-esser Q Right", K::Numeric, 1, 1.0, 0.2, 10.0, 0.1, 1, "", 393, 110, 57, 10, 0, nullptr, 245, 0},  // 37
    {31, "De-esser Ratio Right", K::Numeric, 1, -20.0, -50.0, 0.0, 1.0, 0, "dB", 393, 125, 57, 10, 0, nullptr, 245, 0},  // 38
    {32, "De-esser Gain Reduction", K::Readout, 7, -50.0, -120.0, 0.0, 0.0, 0, "dB", 393, 140, 57, 10, 0, nullptr, 245, 0},  // 39
    {33, "De-esser Key Listen", K::Toggle, 2, 0.0, 0.0, 1.0, 1.0, 0, "", 410, 160, 20, 10, 0, nullptr, 245, 0},  // 40
    {44, "De-esser Meter Left", K::ReductionMeter, 3, 0.0, -50.0, 0.0, 3.0, 0, "", 460, 30, 10, 55, 0, nullptr, 245, 0},  // 41
    {45, "De-esser Meter Right", K::ReductionMeter, 3, 0.0, -50.0, 0.0, 3.0, 0, "", 460, 95, 10, 55, 0, nullptr, 245, 0},  // 42
    {34, "ALC On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 560, 10, 80, 10, 0, nullptr, 246, 0},  // 43
    {35, "ALC Maximum Gain Left", K::Numeric, 1, 10.0, 0.0, 24.0, 1.0, 0, "dB", 590, 30, 50, 10, 0, nullptr, 246, 0},  // 44
    {62, "ALC Headroom Left", K::Numeric, 1, 6.0, 1.0, 12.0, 1.0, 0, "dB", 590, 45, 50, 10, 0, nullptr, 246, 0},  // 45
    {36, "ALC Rise Time Left", K::Numeric, 1, 20.0, 0.1, 25.5, 0.1, 1, "s", 590, 60, 50, 10, 0, nullptr, 246, 0},  // 46
    {37, "ALC Cur. Amplif. Left", K::Readout, 7, 0.0, 0.0, 24.0, 0.0, 0, "dB", 590, 75, 50, 10, 0, nullptr, 246, 0},  // 47
    {38, "ALC Maximum Gain Right", K::Numeric, 1, 10.0, 0.0, 24.0, 1.0, 0, "dB", 590, 95, 50, 10, 0, nullptr, 246, 0},  // 48
    {63, "ALC Headroom Right", K::Numeric, 1, 6.0, 1.0, 12.0, 1.0, 0, "dB", 590, 110, 50, 10, 0, nullptr, 246, 0},  // 49
    {39, "ALC Rise Time Right", K::Numeric, 1, 20.0, 0.1, 25.5, 0.1, 1, "s", 590, 125, 50, 10, 0, nullptr, 246, 0},  // 50
    {40, "ALC Cur. Amplif. Right", K::Readout, 7, 0.0, 0.0, 24.0, 0.0, 0, "dB", 590, 140, 50, 10, 0, nullptr, 246, 0},  // 51
    {41, "ALC Link L/R", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 590, 160, 20, 10, 0, nullptr, 246, 0},  // 52
    {42, "ALC Meter Left", K::RisingBar, 3, 0.0, 1.5, 24.0, 3.0, 0, "", 650, 30, 10, 55, 0, nullptr, 246, 0},  // 53
    {43, "ALC Meter Right", K::RisingBar, 3, 0.0, 1.5, 24.0, 3.0, 0, "", 650, 95, 10, 55, 0, nullptr, 246, 0},  // 54
    {52, "Meter Input/Output", K::CyclicChoice, 1, 1.0, 0.0, 1.0, 1.0, 0, "", 50, 230, 50, 10, 0, &MeterSourceLabels, 248, 0},  // 55
    {53, "Level Meter Peak Hold", K::Numeric, 1, 1.0, 0.1, 9.9, 0.1, 1, "s", 160, 230, 50, 10, 0, nullptr, 248, 0},  // 56
    {54, "Level Meter Release", K::Numeric, 1, 80.0, 10.0, 100.0, 1.0, 0, "dB/s", 260, 230, 60, 10, 0, nullptr, 248, 0},  // 57
    {48, "Level Meter Left", K::LevelBar, 4, 0.0, -80.0, 0.0, 0.0, 0, "", 120, 185, 432, 10, 0, nullptr, 248, 0},  // 58
    {49, "Level Meter Right", K::LevelBar, 4, 0.0, -80.0, 0.0, 0.0, 0, "", 120, 200, 432, 10, 0, nullptr, 248, 0},  // 59
    {59, "Level Meter Left", K::PeakMarker, 4, 0.0, -80.0, 0.0, 0.0, 0, "", 120, 185, 432, 10, 0, nullptr, 248, 0},  // 60
    {60, "Level Meter Right", K::PeakMarker, 4, 0.0, -80.0, 0.0, 0.0, 0, "", 120, 200, 432, 10, 0, nullptr, 248, 0},  // 61
    {64, "Correlation Meter", K::NeedleMeter, 6, 0.0, -1.0, 1.0, 3.0, 0, "", 600, 185, 10, 55, 0, nullptr, 248, 0},  // 62
    {50, "Peak Hold Left", K::Readout, 7, 0.0, -138.0, 0.0, 0.0, 0, "dB", 50, 185, 50, 10, 0, nullptr, 248, 0},  // 63
    {51, "Peak Hold Right", K::Readout, 7, 0.0, -138.0, 0.0, 0.0, 0, "dB", 50, 200, 50, 10, 0, nullptr, 248, 0},  // 64
    {61, "Full Bypass", K::Toggle, 2, 1.0, 0.0, 1.0, 1.0, 0, "", 760, 30, 20, 10, 0, nullptr, 247, 0},  // 65
    {55, "Sample Rate", K::Choice, 1, 1.0, 0.0, 7.0, 1.0, 0, "", 710, 45, 70, 10, 0, &SampleRateLabels, 247, 0},  // 66
    {56, "Channel Status", K::CyclicChoice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 680, 110, 100, 10, 0, &ChannelStatusLabels, 247, 0},  // 67
    {57, "Audio Wordlength", K::Choice, 1, 3.0, 0.0, 3.0, 1.0, 0, "", 710, 60, 70, 10, 0, &WordlengthLabels, 247, 0},  // 68
    {58, "Dither", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 710, 75, 70, 10, 0, &DitherLabels, 247, 0},  // 69
    {65, "Word Clock Out Enable", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 760, 125, 20, 10, 0, nullptr, 247, 0},  // 70
};

ParamDesc StereoTable[StereoCount] = {
    {0, "Input Select Left", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 20, 45, 50, 10, 0, &InputSelectLabels, 240, 0},  // 0
    {1, "Phase Invert Left", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 20, 60, 50, 10, 0, nullptr, 240, 0},  // 1
    {2, "Input Select Right", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 20, 95, 50, 10, 0, &InputSelectLabels, 240, 0},  // 2
    {3, "Phase Invert Right", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 20, 110, 50, 10, 0, nullptr, 240, 0},  // 3
    {4, "M/S Processing", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 20, 140, 50, 10, 0, nullptr, 240, 0},  // 4
    {5, "Low Cut On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 90, 10, 50, 10, 0, nullptr, 241, 0},  // 5
    {6, "Low Cut Frequency", K::Numeric, 1, 50.0, 2.0, 250.0, 1.0, 0, "Hz", 90, 45, 50, 10, 0, nullptr, 241, 0},  // 6
    {8, "Expander On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 240, 10, 80, 10, 0, nullptr, 242, 0},  // 7
    {9, "Expander Threshold", K::Numeric, 1, -50.0, -110.0, -30.0, 1.0, 0, "dB", 270, 30, 50, 10, 0, nullptr, 242, 0},  // 8
    {10, "Expander Ratio", K::Numeric, 1, 2.0, 1.2, 5.0, 0.1, 1, "", 270, 45, 50, 10, 0, nullptr, 242, 0},  // 9
    {11, "Expander Relaese", K::Numeric, 1, 5.0, 0.1, 25.5, 0.1, 1, "s", 270, 60, 50, 10, 0, nullptr, 242, 0},  // 10
    {12, "Expander Cur. Damping", K::Readout, 7, -50.0, -120.0, 0.0, 0.0, 0, "dB", 270, 75, 50, 10, 0, nullptr, 242, 0},  // 11
    {16, "Expander Cur. Damping", K::Readout, 7, -50.0, -120.0, 0.0, 0.0, 0, "dB", 270, 95, 50, 10, 0, nullptr, 242, 0},  // 12
    {66, "Expander Attack Slow", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 292, 125, 20, 10, 0, nullptr, 242, 0},  // 13
    {17, "Expander Link L/R", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 292, 110, 20, 10, 0, nullptr, 242, 0},  // 14
    {46, "Expander Meter Left", K::ReductionMeter, 3, 0.0, -50.0, 0.0, 3.0, 0, "", 330, 30, 10, 55, 0, nullptr, 242, 0},  // 15
    {47, "Expander Meter Right", K::ReductionMeter, 3, 0.0, -50.0, 0.0, 3.0, 0, "", 330, 95, 10, 55, 0, nullptr, 242, 0},  // 16
    {18, "NLC On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 490, 10, 50, 10, 0, nullptr, 243, 0},  // 17
    {19, "NLC Gain", K::Numeric, 1, 1.0, 1.0, 5.0, 1.0, 0, "dB", 490, 45, 50, 10, 0, nullptr, 243, 0},  // 18
    {21, "Delay On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 160, 10, 60, 10, 0, nullptr, 244, 0},  // 19
    {22, "Delay Time Left", K::Numeric, 1, 0.0, 0.0, 170.0, 0.1, 1, "ms", 160, 45, 60, 10, 0, nullptr, 244, 0},  // 20
    {23, "Delay Time Right", K::Numeric, 1, 0.0, 0.0, 170.0, 0.1, 1, "ms", 160, 110, 60, 10, 0, nullptr, 244, 0},  // 21
    {67, "Look Ahead EXP Left", K::Indicator, 7, 0.0, 0.0, 1.0, 1.0, 0, "", 195, 60, 25, 10, 0, &LookAheadExpLabels, 252, 0},  // 22
    {68, "Look Ahead ALC Left", K::Indicator, 7, 0.0, 0.0, 1.0, 1.0, 0, "", 195, 75, 25, 10, 0, &LookAheadAlcLabels, 252, 0},  // 23
    {69, "Look Ahead EXP Right", K::Indicator, 7, 0.0, 0.0, 1.0, 1.0, 0, "", 195, 125, 25, 10, 0, &LookAheadExpLabels, 252, 0},  // 24
    {70, "Look Ahead ALC Right", K::Indicator, 7, 0.0, 0.0, 1.0, 1.0, 0, "", 195, 140, 25, 10, 0, &LookAheadAlcLabels, 252, 0},  // 25
    {24, "De-esser On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 360, 10, 90, 10, 0, nullptr, 245, 0},  // 26
    {25, "De-esser Frequency", K::Numeric, 1, 4.0, 0.7, 20.0, 0.1, 1, "kHz", 393, 30, 57, 10, 0, nullptr, 245, 0},  // 27
    {26, "De-esser Q", K::Numeric, 1, 1.0, 0.2, 10.0, 0.1, 1, "", 393, 45, 57, 10, 0, nullptr, 245, 0},  // 28
    {27, "De-esser Ratio", K::Numeric, 1, -20.0, -50.0, 0.0, 1.0, 0, "dB", 393, 60, 57, 10, 0, nullptr, 245, 0},  // 29
    {28, "De-esser Gain Reduction", K::Readout, 7, -50.0, -120.0, 0.0, 0.0, 0, "dB", 393, 75, 57, 10, 0, nullptr, 245, 0},  // 30
    {32, "De-esser Gain Reduction", K::Readout, 7, -50.0, -120.0, 0.0, 0.0, 0, "dB", 393, 95, 57, 10, 0, nullptr, 245, 0},  // 31
    {33, "De-esser Key Listen", K::Toggle, 2, 0.0, 0.0, 1.0, 1.0, 0, "", 410, 140, 20, 10, 0, nullptr, 245, 0},  // 32
    {44, "De-esser Meter Left", K::ReductionMeter, 3, 0.0, -50.0, 0.0, 3.0, 0, "", 460, 30, 10, 55, 0, nullptr, 245, 0},  // 33
    {45, "De-esser Meter Right", K::ReductionMeter, 3, 0.0, -50.0, 0.0, 3.0, 0, "", 460, 95, 10, 55, 0, nullptr, 245, 0},  // 34
    {34, "ALC On/Off", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 560, 10, 80, 10, 0, nullptr, 246, 0},  // 35
    {35, "ALC Maximum Gain", K::Numeric, 1, 10.0, 0.0, 24.0, 1.0, 0, "dB", 590, 30, 50, 10, 0, nullptr, 246, 0},  // 36
    {62, "ALC Headroom", K::Numeric, 1, 6.0, 1.0, 12.0, 1.0, 0, "dB", 590, 45, 50, 10, 0, nullptr, 246, 0},  // 37
    {36, "ALC Rise Time", K::Numeric, 1, 20.0, 0.1, 25.5, 0.1, 1, "s", 590, 60, 50, 10, 0, nullptr, 246, 0},  // 38
    {37, "ALC Cur. Amplif.", K::Readout, 7, 0.0, 0.0, 24.0, 0.0, 0, "dB", 590, 75, 50, 10, 0, nullptr, 246, 0},  // 39
    {42, "ALC Meter", K::RisingBar, 3, 0.0, 1.5, 24.0, 3.0, 0, "", 650, 30, 10, 55, 0, nullptr, 246, 0},  // 40
    {52, "Meter Input/Output", K::CyclicChoice, 1, 1.0, 0.0, 1.0, 1.0, 0, "", 50, 213, 50, 10, 0, &MeterSourceLabels, 248, 0},  // 41
    {53, "Level Meter Peak Hold", K::Numeric, 1, 1.0, 0.1, 9.9, 0.1, 1, "s", 160, 213, 50, 10, 0, nullptr, 248, 0},  // 42
    {54, "Level Meter Release", K::Numeric, 1, 80.0, 10.0, 100.0, 1.0, 0, "dB/s", 260, 213, 60, 10, 0, nullptr, 248, 0},  // 43
    {48, "Level Meter Left", K::LevelBar, 4, 0.0, -80.0, 0.0, 0.0, 0, "", 120, 168, 432, 10, 0, nullptr, 248, 0},  // 44
    {49, "Level Meter Right", K::LevelBar, 4, 0.0, -80.0, 0.0, 0.0, 0, "", 120, 183, 432, 10, 0, nullptr, 248, 0},  // 45
    {59, "Level Meter Left", K::PeakMarker, 4, 0.0, -80.0, 0.0, 0.0, 0, "", 120, 168, 432, 10, 0, nullptr, 248, 0},  // 46
    {60, "Level Meter Right", K::PeakMarker, 4, 0.0, -80.0, 0.0, 0.0, 0, "", 120, 183, 432, 10, 0, nullptr, 248, 0},  // 47
    {64, "Correlation Meter", K::NeedleMeter, 6, 0.0, -1.0, 1.0, 3.0, 0, "", 600, 168, 10, 55, 0, nullptr, 248, 0},  // 48
    {50, "Peak Hold Left", K::Readout, 7, 0.0, -138.0, 0.0, 0.0, 0, "dB", 50, 168, 50, 10, 0, nullptr, 248, 0},  // 49
    {51, "Peak Hold Right", K::Readout, 7, 0.0, -138.0, 0.0, 0.0, 0, "dB", 50, 183, 50, 10, 0, nullptr, 248, 0},  // 50
    {61, "Full Bypass", K::Toggle, 2, 1.0, 0.0, 1.0, 1.0, 0, "", 760, 30, 20, 10, 0, nullptr, 247, 0},  // 51
    {55, "Sample Rate", K::Choice, 1, 1.0, 0.0, 7.0, 1.0, 0, "", 710, 45, 70, 10, 0, &SampleRateLabels, 247, 0},  // 52
    {56, "Channel Status", K::CyclicChoice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 680, 110, 100, 10, 0, &ChannelStatusLabels, 247, 0},  // 53
    {57, "Audio Wordlength", K::Choice, 1, 3.0, 0.0, 3.0, 1.0, 0, "", 710, 60, 70, 10, 0, &WordlengthLabels, 247, 0},  // 54
    {58, "Dither", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 710, 75, 70, 10, 0, &DitherLabels, 247, 0},  // 55
    {65, "Word Clock Out Enable", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 760, 125, 20, 10, 0, nullptr, 247, 0},  // 56
};

ParamDesc AnalyserTable[AnalyserCount] = {
    {0, "Input Select Left", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 20, 45, 50, 10, 0, &InputSelectLabels, 240, 0},  // 0
    {1, "Phase Invert Left", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 20, 60, 50, 10, 0, nullptr, 240, 0},  // 1
    {2, "Input Select Right", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 20, 90, 50, 10, 0, &InputSelectLabels, 240, 0},  // 2
    {3, "Phase Invert Right", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 20, 105, 50, 10, 0, nullptr, 240, 0},  // 3
    {4, "M/S Processing", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 20, 120, 50, 10, 0, nullptr, 240, 0},  // 4
    {33, "Analyser Type Select", K::Choice, 1, 0.0, 0.0, 7.0, 1.0, 0, "", 120, 30, 80, 10, 0, &AnalyserTypeLabels, 254, 0},  // 5
    {34, "Analyser Input Select", K::CyclicChoice, 1, 0.0, 0.0, 3.0, 1.0, 0, "", 130, 45, 70, 10, 0, &AnalyserInputLabels, 254, 0},  // 6
    {35, "Analyser Rise Time", K::Numeric, 1, 10.0, 0.0, 200.0, 1.0, 0, "ms", 130, 60, 70, 10, 0, nullptr, 254, 0},  // 7
    {36, "Analyser Release Time", K::Numeric, 1, 1.0, 0.3, 20.0, 0.1, 1, "s", 130, 75, 70, 10, 0, nullptr, 254, 0},  // 8
    {39, "Analyser Peak Hold", K::Numeric, 1, 1.0, 0.1, 9.9, 0.1, 1, "s", 130, 90, 70, 10, 0, nullptr, 254, 0},  // 9
    {44, "Analyser Instant Hold", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 150, 105, 20, 10, 0, nullptr, 254, 0},  // 10
    {45, "Analyser Hold Reset", K::Toggle, 8, 0.0, 0.0, 1.0, 1.0, 0, "", 174, 105, 26, 10, 0, nullptr, 254, 0},  // 11
    {37, "Analyser Range Select", K::Choice, 1, 0.0, 0.0, 1.0, 1.0, 0, "", 240, 30, 60, 10, 0, &AnalyserRangeLabels, 254, 0},  // 12
    {38, "Analyser Top Level", K::Choice, 1, 2.0, 0.0, 7.0, 1.0, 0, "", 240, 45, 60, 10, 0, &AnalyserTopLevelLabels, 254, 0},  // 13
    {40, "Analyser Mode Select", K::Choice, 1, 2.0, 0.0, 2.0, 1.0, 0, "", 240, 60, 60, 10, 0, &AnalyserModeLabels, 254, 0},  // 14
    {43, "Analyser Size", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 240, 75, 60, 10, 0, &AnalyserSizeLabels, 254, 0},  // 15
    {42, "Analyser Resolution", K::Choice, 1, 1.0, 0.0, 2.0, 1.0, 0, "", 240, 90, 60, 10, 0, &AnalyserResolutionLabels, 254, 0},  // 16
    {46, "Analyser Freeze", K::Toggle, 5, 0.0, 0.0, 1.0, 1.0, 0, "", 240, 105, 20, 10, 0, nullptr, 254, 0},  // 17
    {51, "Level Meter Display", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 360, 30, 20, 10, 0, nullptr, 248, 0},  // 18
    {52, "Meter Input/Output", K::CyclicChoice, 1, 1.0, 0.0, 1.0, 1.0, 0, "", 320, 60, 60, 10, 0, &MeterSourceLabels, 248, 0},  // 19
    {53, "Level Meter Peak Hold", K::Numeric, 1, 1.0, 0.1, 9.9, 0.1, 1, "s", 320, 90, 60, 10, 0, nullptr, 248, 0},  // 20
    {54, "Level Meter Release", K::Numeric, 1, 80.0, 10.0, 100.0, 1.0, 0, "dB/s", 320, 120, 60, 10, 0, nullptr, 248, 0},  // 21
    {61, "Full Bypass", K::Toggle, 2, 1.0, 0.0, 1.0, 1.0, 0, "", 480, 30, 20, 10, 0, nullptr, 247, 0},  // 22
    {55, "Sample Rate", K::Choice, 1, 1.0, 0.0, 7.0, 1.0, 0, "", 430, 45, 70, 10, 0, &SampleRateLabels, 247, 0},  // 23
    {57, "Audio Wordlength", K::Choice, 1, 3.0, 0.0, 3.0, 1.0, 0, "", 430, 60, 70, 10, 0, &WordlengthLabels, 247, 0},  // 24
    {58, "Dither", K::Choice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 430, 75, 70, 10, 0, &DitherLabels, 247, 0},  // 25
    {56, "Channel Status", K::CyclicChoice, 1, 0.0, 0.0, 2.0, 1.0, 0, "", 400, 105, 100, 10, 0, &ChannelStatusLabels, 247, 0},  // 26
    {65, "Word Clock Out Enable", K::Toggle, 5, 1.0, 0.0, 1.0, 1.0, 0, "", 480, 120, 20, 10, 0, nullptr, 247, 0},  // 27
};

ParamDesc AnalyserDisplayTable[AnalyserDisplayCount] = {
    {60, "Analyser Scale left", K::Scale, 9, 0.0, -40.0, 0.0, 0.0, 0, "dB", 2, 35, 20, 123, 0, nullptr, 0, 0},  // 0
    {61, "Level Meter Scale", K::Scale, 9, 0.0, -40.0, 0.0, 0.0, 0, "dB", 3, 35, 20, 123, 0, nullptr, 0, 0},  // 1
    {62, "Analyser Legend 1", K::Legend, 9, 0.0, 0.0, 4.0, 0.0, 0, "dB", 30, 140, 112, 10, 0, &BandLegend10A, 0, 0},  // 2
    {63, "Analyser Legend 2", K::Legend, 9, 0.0, 0.0, 4.0, 0.0, 0, "dB", 44, 150, 112, 10, 0, &BandLegend10B, 0, 0},  // 3
    {68, "Meter Legend 1", K::Legend, 9, 0.0, 0.0, 2.0, 0.0, 0, "dB", 30, 140, 112, 10, 0, &MeterLegendModes, 0, 0},  // 4
    {69, "Meter Legend 2", K::Legend, 9, 0.0, 0.0, 1.0, 0.0, 0, "dB", 30, 140, 112, 10, 0, &MeterLegendChannels, 0, 0},  // 5
    {70, "Meter Legend 3", K::Legend, 9, 0.0, 0.0, 0.0, 0.0, 0, "dB", 30, 140, 20, 10, 0, &MeterLegendOver, 0, 0},  // 6
    // Records 7 to 72 are laid out at run time.
};
