// qiv72ctl as a user runs it, against qiv72sim on a pseudo-terminal: what
// it prints, its exit codes, and what the unit's state file holds after.
#include <gtest/gtest.h>

#include <pty.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/frame_receiver.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/test_support.h"
#include "tools/ctl/ctl_values.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int ProgramCeilingMs = 120000;

struct Result {
    int code;
    std::string out, err;
    double seconds;
};

class Qiv72ctl : public ::testing::Test {
protected:
    void SetUp() override {
        char t[] = "/tmp/qiv72ctl_test.XXXXXX";
        dir_ = mkdtemp(t);
        FreshStart();
    }
    void TearDown() override {
        sims_.clear();
        std::error_code ec;
        if (!HasFailure()) std::filesystem::remove_all(dir_, ec);
        else std::fprintf(stderr, "kept %s\n", dir_.c_str());
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    // A simulator on its own link; returns the link's path.
    std::string StartSim(const std::string& name, std::vector<std::string> extra) {
        const std::string link = Path(name);
        std::vector<std::string> args = {QIV72SIM_PATH, "--quiet", "--link", link, "--state-file", Path(name + ".state")};
        args.insert(args.end(), extra.begin(), extra.end());
        sims_.push_back(std::make_unique<ChildProcess>(args, Path(name + ".out"), Path(name + ".err")));
        EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(link); }, 5000));
        return link;
    }
    std::string State(const std::string& name) const { return ReadText(Path(name + ".state")); }

    Result Ctl(const std::string& port, std::vector<std::string> args) {
        std::vector<std::string> all = {QIV72CTL_PATH, "--port", port, "--timeout", "3"};
        all.insert(all.end(), args.begin(), args.end());
        const auto start = Clock::now();
        ChildProcess c(all, Path("ctl.out"), Path("ctl.err"));
        const int code = c.Wait(ProgramCeilingMs);
        const double s = std::chrono::duration<double>(Clock::now() - start).count();
        return {code, ReadText(Path("ctl.out")), ReadText(Path("ctl.err")), s};
    }

    std::string dir_;
    std::vector<std::unique_ptr<ChildProcess>> sims_;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// name=value lines of a state file or a setup file.
std::map<std::string, std::string> Lines(const std::string& text) {
    std::map<std::string, std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) out[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return out;
}

TEST_F(Qiv72ctl, StatusSetAndGetAsTheUnitHasThem) {
    const std::string port = StartSim("unit", {"--speed", "4"});
    Result r = Ctl(port, {"status"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "Function=Dual Mono\nLink=ONLINE\nCurrent Memory=1\n"));
    const auto state = Lines(State("unit"));
    const auto shown = Lines(r.out);
    for (int m = 1; m <= 16; ++m) EXPECT_EQ(shown.at("Memory " + std::to_string(m)), state.at("Memory " + std::to_string(m)));
    EXPECT_EQ(shown.at("Low Cut Frequency Left"), state.at("Low Cut Frequency Left"));

    r = Ctl(port, {"status", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"function\":\"Dual Mono\",\"online\":true,\"currentMemory\":1,\"memories\":[", 0), 0u);
    EXPECT_TRUE(Has(r.out, "\"Input Select Left\":\"Line\""));

    r = Ctl(port, {"set", "Low Cut Frequency Left=120", "input select left=MIC", "Phase Invert Right=on",
                   "Delay Time Left=9999"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto after = Lines(State("unit"));
    EXPECT_EQ(after.at("Low Cut Frequency Left"), "120");
    EXPECT_EQ(after.at("Input Select Left"), "1");
    EXPECT_EQ(after.at("Phase Invert Right"), "1");
    EXPECT_EQ(after.at("Delay Time Left"), "170");  // limited like a panel edit

    r = Ctl(port, {"set", "Low Cut Frequncy Left=80"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(Has(r.err, "closest: Low Cut Frequency Left")) << r.err;
    r = Ctl(port, {"set", "Low Cut Frequency Left=eighty"});
    EXPECT_EQ(r.code, 2);
    r = Ctl(port, {"set", "Dither=2", "Dither=tape"});  // nothing changes when one is wrong
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(Lines(State("unit")).at("Dither"), after.at("Dither"));

    r = Ctl(port, {"get", Path("setup")});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string file = ReadText(Path("setup.c72"));
    EXPECT_EQ(file.rfind("QIV-72 Dual Mono Configuration\nComment=\n", 0), 0u);
    EXPECT_TRUE(Has(file, "\nLow Cut Frequency Left=120.000000\n"));
    EXPECT_TRUE(Has(file, "\nWinPos=100,200,100,200\n"));
    EXPECT_FALSE(std::filesystem::exists(Path("setup.c72.part")));
}

TEST_F(Qiv72ctl, PutOverAFaultyLineLeavesTheUnitEqualToTheFile) {
    const std::string port = StartSim("unit", {"--corrupt", "0.05", "--noise", "0.02", "--seed", "7"});
    ASSERT_EQ(Ctl(port, {"get", Path("base.c72")}).code, 0);
    // Every one of the unit's settings gets another value; numbers off the
    // wire's grid, so that the unit's rounding shows.
    const auto base = Lines(ReadText(Path("base.c72")));
    std::string text = "QIV-72 Dual Mono Configuration\nComment=all new\n";
    std::map<std::string, double> expected;
    for (const ParamDesc* p : UnitSettingsOf(FunctionDualMono)) {
        const double old = std::strtod(base.at(p->name).c_str(), nullptr);
        double v = 0.0;
        if (p->kind == ControlKind::Numeric) v = old + p->step * 3.4 <= p->max ? old + p->step * 3.4 : p->min + p->step * 0.6;
        else v = old + 1.0 <= p->max ? old + 1.0 : p->min;
        char line[128];
        std::snprintf(line, sizeof line, "%s=%f\n", p->name, v);
        text += line;
        expected[p->name] = WireValue(FunctionDualMono, *p, v);
    }
    ASSERT_EQ(expected.size(), 48u);
    std::ofstream(Path("new.c72")) << text << "garbage line\nWinPos=1,2\n";
    const Result r = Ctl(port, {"put", Path("new.c72")});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto state = Lines(State("unit"));
    for (const auto& [name, v] : expected) EXPECT_NEAR(std::strtod(state.at(name).c_str(), nullptr), v, 1e-9) << name;
}

TEST_F(Qiv72ctl, StoreRecallAndBoot) {
    const std::string port = StartSim("unit", {"--speed", "4", "--boot-pause", "400"});
    Result r = Ctl(port, {"store", "3", "MiXed 9"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(State("unit")).at("Memory 3"), "MiXed 9");
    EXPECT_EQ(Ctl(port, {"store", "3", "ElevenChars"}).code, 2);
    EXPECT_EQ(Ctl(port, {"store", "17", "x"}).code, 2);
    r = Ctl(port, {"recall", "5"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(State("unit")).at("Current Memory"), "5");
    EXPECT_EQ(Ctl(port, {"boot", "mono"}).code, 2);
    ASSERT_EQ(Ctl(port, {"get", Path("dual")}).code, 0);
    r = Ctl(port, {"boot", "stereo"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(State("unit")).at("Function"), "Stereo");
    // A Dual Mono file in Stereo: what Stereo has, and the rest named.
    r = Ctl(port, {"put", Path("dual.c72")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Has(r.err, "is a Dual Mono setup; the unit runs Stereo")) << r.err;
    EXPECT_TRUE(Has(r.err, "skipped: ") && Has(r.err, "Expander Release Left")) << r.err;
    EXPECT_EQ(Ctl(port, {"recall", "7"}).code, 2);  // Stereo has 6
    r = Ctl(port, {"boot", "analyser"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = Ctl(port, {"backup", Path("none"), "--yes"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(Has(r.err, "Analyser has no memories")) << r.err;
}

TEST_F(Qiv72ctl, PortProblemsEndWithExitThreeWithinTheTimeout) {
    std::ofstream(Path("plain")) << "x";
    for (const std::string& port : {Path("missing"), Path("plain"), std::string("/dev/null")}) {
        const Result r = Ctl(port, {"status"});
        EXPECT_EQ(r.code, 3) << port;
        EXPECT_TRUE(Has(r.err, "port " + port)) << r.err;
    }
    // A line with no unit on it.
    int master = -1, slave = -1;
    char name[128];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    Result r = Ctl(name, {"status"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(Has(r.err, "no unit answering")) << r.err;
    EXPECT_LT(r.seconds, 6.0);
    close(master);
    close(slave);

    // A second reader is refused while the first holds the port.
    const std::string port = StartSim("unit", {"--speed", "4"});
    ChildProcess first({QIV72CTL_PATH, "--port", port, "watch", "--json", "--seconds", "3"}, Path("w.out"), Path("w.err"));
    ASSERT_TRUE(WaitFor([&] { return !ReadText(Path("w.out")).empty(); }, 5000));
    r = Ctl(port, {"status"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(Has(r.err, "in use")) << r.err;
    EXPECT_EQ(first.Wait(10000), 0);
    // One JSON object per frame.
    std::istringstream lines(ReadText(Path("w.out")));
    std::string line;
    int objects = 0;
    while (std::getline(lines, line)) {
        EXPECT_EQ(line.rfind("{\"frame\":", 0), 0u) << line;
        EXPECT_TRUE(Has(line, "\"Level Meter Left\":") && line.back() == '}') << line;
        ++objects;
    }
    EXPECT_GT(objects, 50);
}

TEST_F(Qiv72ctl, BackupThenRestoreAllSixteenMemories) {
    const std::string port = StartSim("unit", {"--speed", "4"});
    ASSERT_EQ(Ctl(port, {"set", "Low Cut Frequency Left=77"}).code, 0);
    ASSERT_EQ(Ctl(port, {"store", "5", "MiXed Case"}).code, 0);
    ASSERT_EQ(Ctl(port, {"recall", "4"}).code, 0);
    ASSERT_EQ(Ctl(port, {"set", "Low Cut Frequency Left=99", "Dither=2"}).code, 0);  // live, not stored
    const std::string before = State("unit");

    Result r = Ctl(Path("no-port"), {"backup", Path("a")});  // no terminal to ask, no --yes: not even the port
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(Has(r.err, "give --yes")) << r.err;
    r = Ctl(port, {"backup", Path("a"), "--yes"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(State("unit"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("a")), {}), 16);
    EXPECT_TRUE(Has(ReadText(Path("a/05 MiXed Case.c72")), "\nComment=MiXed Case\nInput Select Left="));
    EXPECT_TRUE(Has(ReadText(Path("a/05 MiXed Case.c72")), "\nLow Cut Frequency Left=77.000000\n"));

    // Other settings under other names in two memories, then back.
    ASSERT_EQ(Ctl(port, {"store", "2", "junk"}).code, 0);
    ASSERT_EQ(Ctl(port, {"set", "Low Cut Frequency Left=200"}).code, 0);
    ASSERT_EQ(Ctl(port, {"store", "16", "other"}).code, 0);
    ASSERT_EQ(Ctl(port, {"set", "Low Cut Frequency Left=99"}).code, 0);
    // A hand-edited comment that is no memory name: refused before anything changes.
    std::filesystem::create_directories(Path("bad"));
    std::ofstream(Path("bad/03 x.c72")) << "QIV-72 Dual Mono Configuration\nComment=much too long a name\n";
    const std::string messed = State("unit");
    r = Ctl(port, {"restore", Path("bad"), "--yes"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(Has(r.err, "is no memory name")) << r.err;
    EXPECT_EQ(State("unit"), messed);
    r = Ctl(port, {"restore", Path("a"), "--yes"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(State("unit"), before);
    r = Ctl(port, {"backup", Path("b"), "--yes"});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const auto& f : std::filesystem::directory_iterator(Path("a")))
        EXPECT_EQ(ReadText(f.path().string()), ReadText(Path("b/") + f.path().filename().string())) << f.path();
}

// Valid frames of a byte stream, cut at their sync words.
std::vector<std::string> FramesIn(const std::string& capture) {
    std::string bytes;
    std::istringstream in(capture);
    std::string line;
    while (std::getline(in, line)) {
        const size_t blank = line.find(' ');
        if (line.empty() || line[0] == '#' || line[0] == 'Q' || blank == std::string::npos) continue;
        for (size_t i = blank + 1; i + 1 < line.size(); i += 2)
            bytes += static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16));
    }
    std::vector<std::string> frames;
    for (size_t i = 0; i + 4 <= bytes.size();) {
        bool sync = false;
        for (const SyncWord& s : SyncWords) sync = sync || std::memcmp(bytes.data() + i, s.bytes, 4) == 0;
        const size_t size = bytes[i + 2] == '4' ? AnalyserFrameBytes : DualMonoFrameBytes;
        if (!sync || i + size > bytes.size()) {
            ++i;
            continue;
        }
        frames.push_back(bytes.substr(i, size));
        i += size;
    }
    return frames;
}

TEST_F(Qiv72ctl, CaptureThenReplayGivesTheSameFrames) {
    const std::string unit = StartSim("unit", {"--speed", "2", "--seed", "5"});
    Result r = Ctl(unit, {"capture", Path("first.cap"), "--seconds", "1.5"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> first = FramesIn(ReadText(Path("first.cap")));
    ASSERT_GT(first.size(), 40u);

    const std::string replay = StartSim("replay", {"--replay", Path("first.cap")});
    r = Ctl(replay, {"capture", Path("second.cap"), "--seconds", "2.5"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> second = FramesIn(ReadText(Path("second.cap")));
    ASSERT_GT(second.size(), first.size());  // it went round the loop
    // The replay from wherever the tool came in, round the loop.
    size_t k = 0;
    while (k < first.size() && first[k] != second[0]) ++k;
    ASSERT_LT(k, first.size());
    for (size_t i = 0; i < second.size(); ++i) ASSERT_EQ(second[i], first[(k + i) % first.size()]) << i;

    // A replayed unit takes nothing: the value is named, exit 1.
    r = Ctl(replay, {"set", "Low Cut Frequency Left=222"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Has(r.err, "did not take: Low Cut Frequency Left")) << r.err;
}

}  // namespace

namespace {

TEST_F(Qiv72ctl, CtrlCDuringBackupPutsTheLiveSetupBack) {
    const std::string port = StartSim("unit", {"--speed", "2"});
    ASSERT_EQ(Ctl(port, {"set", "Low Cut Frequency Left=99"}).code, 0);  // live, not in any memory
    const std::string before = State("unit");
    ChildProcess backup({QIV72CTL_PATH, "--port", port, "backup", Path("a"), "--yes"}, Path("b.out"), Path("b.err"));
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(Path("a/03 Guitar.c72")); }, 20000));
    backup.Signal(SIGINT);
    EXPECT_EQ(backup.Wait(20000), 130);
    EXPECT_TRUE(Has(ReadText(Path("b.err")), "putting back the live setup")) << ReadText(Path("b.err"));
    EXPECT_EQ(State("unit"), before);
    EXPECT_FALSE(std::filesystem::exists(Path("a/16 Init.c72")));
}

}  // namespace
