// qiv72ctl's command line and its settings by name: what a user types and
// what the tool makes of it, without a unit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/test_support.h"
#include "tools/ctl/capture_file.h"
#include "tools/ctl/ctl_options.h"
#include "tools/ctl/ctl_values.h"

namespace {

struct OptionCase {
    std::vector<const char*> argv;
    bool ok;
    const char* command;
    const char* port;
};

TEST(CtlOptions, CommandsArgumentsAndPorts) {
    const OptionCase cases[] = {
        {{"status"}, true, "status", "/env"},
        {{"--port", "/dev/ttyS0", "status"}, true, "status", "/dev/ttyS0"},
        {{"status", "--port", "/dev/ttyS0"}, true, "status", "/dev/ttyS0"},
        {{"set", "Dither=off", "Dither=1"}, true, "set", "/env"},
        {{"capture", "f.txt", "--seconds", "2"}, true, "capture", "/env"},
        {{"capture", "f.txt"}, false, "", ""},        // no --seconds
        {{"status", "extra"}, false, "", ""},
        {{"store", "1"}, false, "", ""},
        {{"set"}, false, "", ""},
        {{"frobnicate"}, false, "", ""},
        {{}, false, "", ""},
        {{"status", "--timeout", "0"}, false, "", ""},
        {{"status", "--timeout", "x"}, false, "", ""},
        {{"status", "--port"}, false, "", ""},
        {{"status", "--colour"}, false, "", ""},
    };
    for (const OptionCase& c : cases) {
        std::vector<const char*> argv = {"qiv72ctl"};
        argv.insert(argv.end(), c.argv.begin(), c.argv.end());
        CtlOptions o;
        std::string error;
        const bool ok = ParseCtlOptions(static_cast<int>(argv.size()), argv.data(), "/env", "/default", &o, &error);
        SCOPED_TRACE(c.argv.empty() ? "(none)" : c.argv[0]);
        ASSERT_EQ(ok, c.ok) << error;
        if (!ok) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(o.command, c.command);
        EXPECT_EQ(o.port, c.port);
    }
    CtlOptions o;
    std::string error;
    const char* argv[] = {"qiv72ctl", "status", "--timeout", "1.5"};
    ASSERT_TRUE(ParseCtlOptions(4, argv, nullptr, "/default", &o, &error));
    EXPECT_EQ(o.port, "/default");
    EXPECT_EQ(o.timeoutMs, 1500);
}

class CtlValues : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

struct ValueCase {
    const char* name;
    const char* text;
    bool ok;
    double value;
};

TEST_F(CtlValues, ValuesAsTyped) {
    const ValueCase cases[] = {
        {"Phase Invert Left", "on", true, 1.0},   {"Phase Invert Left", "OFF", true, 0.0},
        {"Phase Invert Left", "1", true, 1.0},    {"Phase Invert Left", "2", false, 0},
        {"Phase Invert Left", "yes", false, 0},   {"Input Select Left", "mic", true, 1.0},
        {"Input Select Left", " MicPh ", true, 2.0}, {"Input Select Left", "2", true, 2.0},
        {"Input Select Left", "1.5", false, 0},   {"Input Select Left", "tape", false, 0},
        {"Expander Ratio Left", "3.25", true, 3.25}, {"Expander Ratio Left", "3x", false, 0},
        {"Expander Ratio Left", "", false, 0},    {"Expander Ratio Left", "nan", false, 0},
        {"Expander Threshold Left", "-1e400", false, 0},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.text);
        const ParamDesc* p = FindUnitSetting(FunctionDualMono, c.name);
        ASSERT_NE(p, nullptr);
        double v = -99.0;
        std::string why;
        ASSERT_EQ(ParseSettingValue(*p, c.text, &v, &why), c.ok);
        if (c.ok) EXPECT_DOUBLE_EQ(v, c.value);
        else EXPECT_FALSE(why.empty());
    }
}

TEST_F(CtlValues, NamesCaseClosestAndWhatIsNotTheUnits) {
    EXPECT_NE(FindUnitSetting(FunctionDualMono, "low cut frequency LEFT"), nullptr);
    EXPECT_EQ(FindUnitSetting(FunctionStereo, "Low Cut Frequency Right"), nullptr);  // Dual Mono only
    EXPECT_EQ(FindUnitSetting(FunctionDualMono, "Peak Hold Left"), nullptr);        // a readout
    EXPECT_EQ(FindUnitSetting(FunctionAnalyser, "Analyser Size"), nullptr);         // the panel's, not the unit's
    const std::vector<std::string> near = ClosestSettingNames(FunctionDualMono, "Low Cut Frequncy Left", 3);
    ASSERT_EQ(near.size(), 3u);
    EXPECT_EQ(near[0], "Low Cut Frequency Left");
    EXPECT_EQ(UnitSettingsOf(FunctionDualMono).size(), 48u);
}

TEST_F(CtlValues, TheValueAfterTheWiresRounding) {
    const ParamDesc* ratio = FindUnitSetting(FunctionDualMono, "Expander Ratio Left");        // tenths
    const ParamDesc* threshold = FindUnitSetting(FunctionDualMono, "Expander Threshold Left");  // signed, cut
    const ParamDesc* delay = FindUnitSetting(FunctionDualMono, "Delay Time Left");              // tenths word
    const ParamDesc* lowCut = FindUnitSetting(FunctionDualMono, "Low Cut Frequency Left");      // byte, cut
    EXPECT_DOUBLE_EQ(WireValue(FunctionDualMono, *ratio, 3.26), 3.3);
    EXPECT_DOUBLE_EQ(WireValue(FunctionDualMono, *threshold, -60.7), -60.0);
    EXPECT_DOUBLE_EQ(WireValue(FunctionDualMono, *delay, 123.45), 123.5);
    EXPECT_DOUBLE_EQ(WireValue(FunctionDualMono, *lowCut, 120.9), 120.0);
}

TEST(CtlFileNames, MemoryNamesFitForFiles) {
    EXPECT_EQ(FileSafeName("Live Stage"), "Live Stage");
    EXPECT_EQ(FileSafeName("A/B:C*?"), "A_B_C__");
    EXPECT_EQ(FileSafeName("end."), "end_");
    EXPECT_EQ(FileSafeName(""), "unnamed");
}

TEST(CaptureFile, RefusesWhatIsNotACapture) {
    const char* const bad[] = {
        "", "QIV72 capture 2\n", "QIV72 capture 1\n5 37383\n", "QIV72 capture 1\n5 zz\n",
        "QIV72 capture 1\n9 37\n5 38\n", "QIV72 capture 1\nx 37\n", "QIV72 capture 1\n99999999999999999999 37\n",
    };
    for (const char* text : bad) {
        std::vector<CaptureChunk> chunks;
        std::string error;
        EXPECT_FALSE(ParseCapture(text, std::strlen(text), &chunks, &error)) << text;
        EXPECT_FALSE(error.empty());
    }
    const uint8_t bytes[] = {0x37, 0x38, 0x00, 0xFF};
    const std::string text = std::string(CaptureHeader) + "\r\n# port x\n" + FormatCaptureChunk(12, bytes, 4);
    std::vector<CaptureChunk> chunks;
    std::string error;
    ASSERT_TRUE(ParseCapture(text.data(), text.size(), &chunks, &error)) << error;
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].micros, 12);
    EXPECT_EQ(chunks[0].bytes, std::vector<uint8_t>(bytes, bytes + 4));
}

}  // namespace
