// The simulator's state file text and command line.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "link/host_encoder.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/test_support.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/unit_model.h"
#include "tools/sim/unit_state_text.h"

namespace {

std::unique_ptr<UnitModel> NewUnit(int function) {
    auto unit = std::make_unique<UnitModel>();
    UnitOptions o{};
    o.function = function;
    o.seed = 1;
    o.bootPauseUs = 100000;
    o.faults.unplugAfterS = -1.0;
    InitUnit(unit.get(), o);
    return unit;
}

struct Parsed {
    std::vector<std::string> names;  // in order
    std::map<std::string, std::string> values;
};

Parsed Parse(const UnitModel& unit) {
    char text[UnitStateTextMax];
    const size_t n = FormatUnitState(unit, text, sizeof text);
    EXPECT_GT(n, 0u);
    Parsed p;
    std::istringstream in(std::string(text, n));
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        EXPECT_NE(eq, std::string::npos) << line;
        const std::string name = line.substr(0, eq);
        EXPECT_EQ(p.values.count(name), 0u) << "name twice: " << name;
        p.names.push_back(name);
        p.values[name] = line.substr(eq + 1);
    }
    return p;
}

bool SendHost(UnitModel* unit, uint8_t cmd, uint8_t b4, uint8_t b5 = 0, uint8_t b6 = 0) {
    uint8_t f[8] = {'Q', 'E', 'N', cmd, b4, b5, b6, 0};
    f[7] = HostChecksum(f);
    return UnitApplyHostFrame(unit, f) == HostOutcome::Applied;
}

class Qiv72simStateText : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(Qiv72simStateText, EverySettingOfTheFunctionOnceUnderItsTableName) {
    for (int fn : {FunctionDualMono, FunctionStereo, FunctionAnalyser}) {
        auto unit = NewUnit(fn);
        const Parsed p = Parse(*unit);
        EXPECT_EQ(p.names.front(), "Function");
        EXPECT_EQ(p.values.at("Function"), UnitFunctionName(fn));
        const ParamDesc* t = TableByNumber(fn);
        int settings = 0;
        for (int i = 0; i < TableRecordCount(fn); ++i) {
            const ParamDesc& r = t[i];
            const bool listed = p.values.count(r.name) != 0;
            if (!IsSavedKind(r.kind) || !UnitCarriesSetting(fn, r.id)) continue;
            ++settings;
            ASSERT_TRUE(listed) << r.name;
            EXPECT_EQ(std::stod(p.values.at(r.name)), r.value) << r.name;  // start-up values
        }
        // Dual Mono and Stereo: every saved record of their tables; the
        // Analyser only what its frames carry.
        EXPECT_EQ(settings, fn == FunctionDualMono ? 48 : fn == FunctionStereo ? 36 : 19);
        if (fn == FunctionAnalyser) {
            EXPECT_EQ(p.values.count("Memory 1"), 0u);
            EXPECT_EQ(p.values.count("Analyser Peak Hold"), 0u) << "the unit does not hold it";
        } else {
            EXPECT_EQ(p.values.at("Current Memory"), "1");
            EXPECT_EQ(p.values.at("Memory 16"), "Init");
        }
    }
    EXPECT_EQ(Parse(*NewUnit(FunctionDualMono)).values.at("Memory 1"), "Voice");
    EXPECT_EQ(Parse(*NewUnit(FunctionStereo)).values.at("Expander Relaese"), "5");
}

TEST_F(Qiv72simStateText, FollowsChangesStoresRecallsAndBoots) {
    auto unit = NewUnit(FunctionDualMono);
    ASSERT_TRUE(SendHost(unit.get(), 11, 255));  // "Expander Release Left" 25.5 s
    ASSERT_TRUE(SendHost(unit.get(), 19, 164, 6));  // "Delay Time Left" 170.0 ms
    ASSERT_TRUE(SendHost(unit.get(), 0, 0x01, 0, 0));  // only Full Bypass on
    SendHost(unit.get(), 137, '@', '@', '@');
    SendHost(unit.get(), 134, 'l', '@', '@');
    SendHost(unit.get(), 131, 'o', 'c', 'a');
    SendHost(unit.get(), 128, '@', '@', 'V');
    ASSERT_TRUE(SendHost(unit.get(), 43, 5));
    ASSERT_TRUE(SendHost(unit.get(), 44, 2));  // "Drums"
    Parsed p = Parse(*unit);
    EXPECT_EQ(p.values.at("Memory 5"), "Vocal");
    EXPECT_EQ(p.values.at("Current Memory"), "2");
    EXPECT_EQ(p.values.at("Low Cut Frequency Left"), "60");  // from memory 2

    auto fresh = NewUnit(FunctionDualMono);
    ASSERT_TRUE(SendHost(fresh.get(), 11, 255));
    ASSERT_TRUE(SendHost(fresh.get(), 19, 164, 6));
    ASSERT_TRUE(SendHost(fresh.get(), 0, 0x01, 0, 0));
    p = Parse(*fresh);
    EXPECT_EQ(p.values.at("Expander Release Left"), "25.5");
    EXPECT_EQ(p.values.at("Delay Time Left"), "170");
    EXPECT_EQ(p.values.at("Full Bypass"), "1");
    EXPECT_EQ(p.values.at("Expander On/Off"), "0");
    EXPECT_EQ(p.values.at("Switch Word"), "0x000001");

    const uint64_t version = fresh->stateVersion;
    ASSERT_TRUE(SendHost(fresh.get(), 45, 2));  // boot Stereo
    EXPECT_GT(fresh->stateVersion, version);
    p = Parse(*fresh);
    EXPECT_EQ(p.values.at("Function"), "Dual Mono");
    EXPECT_EQ(p.values.at("Booting"), "Stereo");
    UnitOutput out;
    for (int i = 0; i < 10; ++i) UnitNextOutput(fresh.get(), &out);
    p = Parse(*fresh);
    EXPECT_EQ(p.values.at("Function"), "Stereo");
    EXPECT_EQ(p.values.count("Booting"), 0u);
    EXPECT_EQ(p.values.at("Memory 1"), "Stereo Mix");

    // The pulled cable shows, and goes with the plug, each a new version.
    const uint64_t plugged = fresh->stateVersion;
    UnitSetUnplugged(fresh.get(), true);
    EXPECT_GT(fresh->stateVersion, plugged);
    EXPECT_EQ(Parse(*fresh).values.at("Cable"), "out");
    UnitSetUnplugged(fresh.get(), false);
    EXPECT_GT(fresh->stateVersion, plugged + 1);
    EXPECT_EQ(Parse(*fresh).values.count("Cable"), 0u);
}

TEST_F(Qiv72simStateText, OddMemoryNamesCannotBreakTheLines) {
    auto unit = NewUnit(FunctionDualMono);
    SendHost(unit.get(), 137, 'a', '\n', 'b');
    SendHost(unit.get(), 134, '=', 0x01, '@');
    ASSERT_TRUE(SendHost(unit.get(), 43, 1));
    const Parsed p = Parse(*unit);
    EXPECT_EQ(p.values.at("Memory 1"), "Voic=? a?b");
    EXPECT_EQ(p.values.at("Memory 2"), "Drums");
}

TEST_F(Qiv72simStateText, TooSmallABufferGivesNothing) {
    auto unit = NewUnit(FunctionDualMono);
    char text[64];
    EXPECT_EQ(FormatUnitState(*unit, text, sizeof text), 0u);
    EXPECT_STREQ(text, "");
}

TEST_F(Qiv72simStateText, ControlTextSetsSettingsLikeTheUnitsOwnPanel) {
    auto unit = NewUnit(FunctionDualMono);
    const uint64_t version = unit->stateVersion;
    const std::string text =
        "Low Cut Frequency Right=120\n"
        "Expander Link L/R=1\r\n"
        "Expander Threshold Left=-500\n"  // limited to -110
        "\n"
        "No Such Setting=3\n"
        "Delay Time Left=abc\n"
        "Delay Time Right=nan\n"
        "Level Meter Left=-3\n"  // a meter, not a setting
        "Low Cut On/Off\n"       // no value
        "Sample Rate=6";          // the last line needs no line end
    const UnitSettingsApplied r = ApplyUnitSettingsText(unit.get(), text.data(), text.size());
    EXPECT_EQ(r.applied, 4);
    EXPECT_EQ(r.rejected, 5);
    EXPECT_GT(unit->stateVersion, version);
    const Parsed p = Parse(*unit);
    EXPECT_EQ(p.values.at("Low Cut Frequency Right"), "120");
    EXPECT_EQ(p.values.at("Expander Link L/R"), "1");
    EXPECT_EQ(p.values.at("Expander Threshold Left"), "-110");
    EXPECT_EQ(p.values.at("Sample Rate"), "6");
    EXPECT_EQ(p.values.at("Delay Time Left"), "0");
    EXPECT_EQ(p.values.at("Low Cut On/Off"), "1");

    // Names are the running function's: the Stereo unit spells its own.
    auto stereo = NewUnit(FunctionStereo);
    const std::string stereoText = "Expander Relaese=7\nExpander Release Left=7\n";
    const UnitSettingsApplied s = ApplyUnitSettingsText(stereo.get(), stereoText.data(), stereoText.size());
    EXPECT_EQ(s.applied, 1);
    EXPECT_EQ(s.rejected, 1);
    EXPECT_EQ(Parse(*stereo).values.at("Expander Relaese"), "7");
}

// The command line.

bool ParseArgs(std::vector<const char*> args, SimOptions* o, std::string* error) {
    args.insert(args.begin(), "qiv72sim");
    return ParseSimOptions(static_cast<int>(args.size()), args.data(), o, error);
}

TEST(Qiv72simOptions, ReadsEveryOption) {
    SimOptions o;
    std::string error;
    ASSERT_TRUE(ParseArgs({"--link", "/tmp/com2", "--function", "analyser", "--seed", "42", "--speed", "2.5",
                           "--burst", "--corrupt", "0.1", "--noise", "0.2", "--sync-in-data", "0.3",
                           "--unplug-after", "4", "--unplug-for", "1.5", "--boot-pause", "300", "--host-log",
                           "h.log", "--host-log-clock", "--state-file", "s.txt", "--quiet"},
                          &o, &error))
        << error;
    EXPECT_EQ(o.link, "/tmp/com2");
    EXPECT_EQ(o.function, 3);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.speed, 2.5);
    EXPECT_TRUE(o.burst);
    EXPECT_EQ(o.corrupt, 0.1);
    EXPECT_EQ(o.noise, 0.2);
    EXPECT_EQ(o.syncInData, 0.3);
    EXPECT_EQ(o.unplugAfter, 4.0);
    EXPECT_EQ(o.unplugFor, 1.5);
    EXPECT_EQ(o.bootPauseMs, 300.0);
    EXPECT_EQ(o.hostLog, "h.log");
    EXPECT_TRUE(o.hostLogClock);
    EXPECT_EQ(o.stateFile, "s.txt");
    EXPECT_TRUE(o.quiet);
}

TEST(Qiv72simOptions, ReadsTheControlFile) {
    SimOptions o;
    std::string error;
    ASSERT_TRUE(ParseArgs({"--link", "a", "--control", "c.txt"}, &o, &error)) << error;
    EXPECT_EQ(o.controlFile, "c.txt");
    EXPECT_FALSE(ParseArgs({"--link", "a", "--control"}, &o, &error));
    EXPECT_FALSE(ParseArgs({"--link", "a", "--control", ""}, &o, &error));
}

TEST(Qiv72simOptions, RefusesWhatMakesNoSense) {
    const std::vector<std::vector<const char*>> bad = {
        {},                                              // no port
        {"--link", "a", "--device", "/dev/ttyS0"},      // two ports
        {"--link"},                                      // missing value
        {"--link", "a", "--function", "mono"},
        {"--link", "a", "--speed", "0"},
        {"--link", "a", "--speed", "fast"},
        {"--link", "a", "--corrupt", "1.5"},
        {"--link", "a", "--noise", "-0.1"},
        {"--link", "a", "--seed", "-3"},
        {"--link", "a", "--unplug-after", "3"},          // without --unplug-for
        {"--link", "a", "--host-log-clock"},             // without a host log
        {"--link", "a", "--frobnicate"},
    };
    for (const auto& args : bad) {
        SimOptions o;
        std::string error;
        EXPECT_FALSE(ParseArgs(args, &o, &error)) << (args.empty() ? "" : args.back());
        EXPECT_FALSE(error.empty());
    }
    SimOptions o;
    std::string error;
    EXPECT_TRUE(ParseArgs({"--help"}, &o, &error));
    EXPECT_TRUE(o.help);
}

}  // namespace
