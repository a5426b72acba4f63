// qiv72sim as a program: a pseudo-terminal behind a symlink, frames the
// program's receiver accepts, host frames that reach the host log and the
// state file, the cable pulled by signal, an output nobody reads, and a
// clean end on SIGTERM. The test plays the program with the link core.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/frame_receiver.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

struct TempDir {
    std::string path;
    TempDir() {
        char t[] = "/tmp/qiv72sim_test.XXXXXX";
        const char* made = mkdtemp(t);
        path = made != nullptr ? made : "";
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

// The simulator with these options, quiet.
std::vector<std::string> SimArgs(const std::vector<std::string>& options) {
    std::vector<std::string> all = {QIV72SIM_PATH, "--quiet"};
    all.insert(all.end(), options.begin(), options.end());
    return all;
}

bool IsSymlinkToPty(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    if (n <= 0) return false;
    target[n] = '\0';
    return std::strncmp(target, "/dev/pts/", 9) == 0;
}

// The program's end of the line, as the program opens it.
class Line {
public:
    explicit Line(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        termios t;
        if (fd_ >= 0 && tcgetattr(fd_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(fd_, TCSANOW, &t);
        }
    }
    // Takes over an open descriptor.
    explicit Line(int fd) : fd_(fd) { fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK); }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;
    ~Line() {
        if (fd_ >= 0) close(fd_);
    }
    bool Open() const { return fd_ >= 0; }
    void Write(const Bytes& bytes) const { ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }

    // Reads for up to `ms` into the program's receiver and sends the
    // program's answers back, until `done` holds. `garbage` goes before
    // the first answer, which is written in two pieces.
    bool Pump(const std::function<bool()>& done, int ms, bool splitFirstAnswer = false) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 5) > 0 && (p.revents & POLLIN)) {
                uint8_t buf[1024];
                const ssize_t n = read(fd_, buf, sizeof buf);
                for (ssize_t i = 0; i < n; ++i) {
                    ReceiveByte(buf[i]);
                    received_ += 1;
                    while (forwarded_ < Fake.written.size()) {
                        const Bytes& answer = Fake.written[forwarded_++];
                        if (splitFirstAnswer) {
                            splitFirstAnswer = false;
                            Write({'z', 'Q', 'Q', 'E'});
                            Write(Bytes(answer.begin(), answer.begin() + 3));
                            std::this_thread::sleep_for(std::chrono::milliseconds(20));
                            Write(Bytes(answer.begin() + 3, answer.end()));
                        } else {
                            Write(answer);
                        }
                    }
                }
            }
            if (done()) return true;
        }
        return done();
    }
    // Bytes that arrive within `ms`.
    size_t Drain(int ms) {
        size_t total = 0;
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 5) > 0 && (p.revents & POLLIN)) {
                uint8_t buf[1024];
                const ssize_t n = read(fd_, buf, sizeof buf);
                if (n > 0) total += static_cast<size_t>(n);
            }
        }
        return total;
    }
    size_t Received() const { return received_; }

private:
    int fd_;
    size_t forwarded_ = 0;
    size_t received_ = 0;
};

class Qiv72simPty : public ::testing::Test {
protected:
    void SetUp() override {
        FreshStart();
        ASSERT_FALSE(dir.path.empty());
    }
    TempDir dir;
};

TEST_F(Qiv72simPty, RoundTripThroughTheLinkedPty) {
    const std::string link = dir / "com2", log = dir / "host.log", state = dir / "state.txt";
    ChildProcess sim(SimArgs({"--link", link, "--host-log", log, "--state-file", state, "--speed", "4", "--seed", "3"}));
    ASSERT_TRUE(sim.Started());
    ASSERT_TRUE(WaitFor([&] { return IsSymlinkToPty(link); }, 5000));
    Line line(link);
    ASSERT_TRUE(line.Open());

    // Valid frames: the program goes online in Dual Mono, learns the names.
    ASSERT_TRUE(line.Pump([] { return Fake.titleUpdates >= 20; }, 5000));
    EXPECT_EQ(DeviceFunction, FunctionDualMono);
    EXPECT_EQ(std::string(MemoryNames[1], 5), "Voice");
    EXPECT_NE(ReadText(state).find("Function=Dual Mono\n"), std::string::npos);

    // A user change goes out (after garbage, split over two writes) and the
    // unit takes it.
    ASSERT_TRUE(CommitUserValue(*FindParam(TableDualMono, 6), 120, 5));
    ASSERT_TRUE(line.Pump([] { return !Fake.written.empty(); }, 2000, true));
    EXPECT_EQ(Fake.written[0], (Bytes{'Q', 'E', 'N', 7, 120, 0, 0, 0x81}));
    ASSERT_TRUE(WaitFor([&] { return ReadText(log).find("51 45 4e 07 78 00 00 81\n") != std::string::npos; }, 2000));
    ASSERT_TRUE(WaitFor([&] { return ReadText(state).find("\nLow Cut Frequency Left=120\n") != std::string::npos; },
                        2000));
    // The unit reports it back: the program stops sending and keeps 120.
    ASSERT_TRUE(line.Pump([] { return TransmitCount == 0 && !EndMarkDue; }, 3000));
    line.Pump([] { return false; }, 100);
    EXPECT_EQ(FindParam(TableDualMono, 6)->value, 120.0);
    EXPECT_EQ(FindParam(TableDualMono, 6)->flags & SendPending, 0u);

    // An invalid frame is logged as such and changes nothing.
    line.Write({'Q', 'E', 'N', 7, 10, 0, 0, 0});
    ASSERT_TRUE(WaitFor([&] { return ReadText(log).find("# invalid: 51 45 4e 07 0a 00 00 00\n") != std::string::npos; },
                        2000));
    EXPECT_NE(ReadText(state).find("\nLow Cut Frequency Left=120\n"), std::string::npos);

    // Every line of the log is a frame, valid ones first in order.
    std::istringstream lines(ReadText(log));
    std::string first;
    std::getline(lines, first);
    EXPECT_EQ(first, "51 45 4e 07 78 00 00 81");

    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(3000), 0);
    struct stat st;
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "the link must be gone";
}

// With --host-log-clock every line ends with the monotonic time at which
// the simulator read the frame: after the program wrote it, before the line
// could be seen, and never earlier than the line before.
TEST_F(Qiv72simPty, TheHostLogClockStampsEachFrameWithItsArrival) {
    const std::string link = dir / "com3", log = dir / "host.log";
    ChildProcess sim(SimArgs({"--link", link, "--host-log", log, "--host-log-clock"}));
    ASSERT_TRUE(sim.Started());
    ASSERT_TRUE(WaitFor([&] { return IsSymlinkToPty(link); }, 5000));
    Line line(link);
    ASSERT_TRUE(line.Open());
    auto seconds = [] {
        timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
    };

    const Bytes frames[] = {{'Q', 'E', 'N', 7, 120, 0, 0, 0x81}, {'Q', 'E', 'N', 7, 10, 0, 0, 0},
                            {'Q', 'E', 'N', 0xf0, 0, 0, 0, 0x10}};
    const char* expected[] = {"51 45 4e 07 78 00 00 81", "# invalid: 51 45 4e 07 0a 00 00 00",
                              "51 45 4e f0 00 00 00 10"};
    double last = 0.0;
    for (size_t k = 0; k < 3; ++k) {
        const double before = seconds();
        line.Write(frames[k]);
        std::string text;
        ASSERT_TRUE(WaitFor(
            [&] {
                text = ReadText(log);
                return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) == k + 1;
            },
            2000));
        const double seen = seconds();
        std::istringstream lines(text);
        std::string l;
        for (size_t i = 0; i <= k; ++i) std::getline(lines, l);
        const std::string prefix = std::string(expected[k]) + " ";
        ASSERT_EQ(l.compare(0, prefix.size(), prefix), 0) << l;
        const std::string stamp = l.substr(prefix.size());
        ASSERT_EQ(stamp.size() - stamp.find('.'), 7u) << "six decimals: " << stamp;
        const double t = std::stod(stamp);
        EXPECT_GE(t, before - 1e-6) << l;
        EXPECT_LE(t, seen + 1e-6) << l;
        EXPECT_GE(t, last) << l;
        last = t;
    }
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(3000), 0);
}

TEST_F(Qiv72simPty, BootOverTheLine) {
    const std::string link = dir / "com1", state = dir / "state.txt";
    ChildProcess sim(SimArgs({"--link", link, "--state-file", state, "--speed", "4", "--boot-pause", "800"}));
    ASSERT_TRUE(WaitFor([&] { return IsSymlinkToPty(link); }, 5000));
    Line line(link);
    ASSERT_TRUE(line.Pump([] { return Online == 1 && DeviceFunction == FunctionDualMono; }, 5000));
    BootRequest = 2;  // the Analyser
    ASSERT_TRUE(line.Pump([] { return DeviceFunction == FunctionAnalyser; }, 5000));
    ASSERT_TRUE(WaitFor([&] { return ReadText(state).rfind("Function=Analyser\n", 0) == 0; }, 2000));
    sim.Signal(SIGINT);
    EXPECT_EQ(sim.Wait(3000), 0);
}

TEST_F(Qiv72simPty, SignalsPullAndReplugTheCable) {
    const std::string link = dir / "com3";
    ChildProcess sim(SimArgs({"--link", link, "--speed", "4"}));
    ASSERT_TRUE(WaitFor([&] { return IsSymlinkToPty(link); }, 5000));
    Line line(link);
    EXPECT_GT(line.Drain(200), 0u);
    sim.Signal(SIGUSR1);
    // What was on its way still comes; then the line goes quiet and stays so.
    ASSERT_TRUE(WaitFor([&] { return line.Drain(100) == 0; }, 3000));
    EXPECT_EQ(line.Drain(300), 0u);
    sim.Signal(SIGUSR2);
    EXPECT_GT(line.Drain(300), 160u);
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(3000), 0);
}

// A pulled USB adapter: the program's open line hangs up, the name finds
// nothing, then a new device appears under the same name and talks.
TEST_F(Qiv72simPty, ThePortVanishesAndComesBackUnderItsName) {
    const std::string link = dir / "com12";
    auto linkGone = [&] {
        struct stat st;
        return lstat(link.c_str(), &st) != 0;
    };
    for (const bool bySignal : {false, true}) {
        std::vector<std::string> args = {"--link", link, "--speed", "4"};
        if (!bySignal) args.insert(args.end(), {"--vanish-after", "1", "--vanish-for", "2"});
        ChildProcess sim(SimArgs(args));
        ASSERT_TRUE(WaitFor([&] { return IsSymlinkToPty(link); }, 5000));
        char before[PATH_MAX] = {};
        ASSERT_GT(readlink(link.c_str(), before, sizeof before - 1), 0);
        const int old = open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(old, 0);
        if (bySignal) sim.Signal(SIGRTMIN);
        ASSERT_TRUE(WaitFor(linkGone, 5000)) << "the link must go";
        // The old line reads end of file or an error, as a vanished device does.
        uint8_t buf[512];
        ASSERT_TRUE(WaitFor([&] {
            const ssize_t n = read(old, buf, sizeof buf);
            return n == 0 || (n < 0 && errno != EAGAIN);
        }, 3000));
        close(old);
        if (bySignal) sim.Signal(SIGRTMIN + 1);
        ASSERT_TRUE(WaitFor([&] { return IsSymlinkToPty(link); }, 5000)) << "the port must come back";
        Line line(link);
        ASSERT_TRUE(line.Open());
        EXPECT_GT(line.Drain(400), 160u) << "frames on the new device";
        sim.Signal(SIGTERM);
        EXPECT_EQ(sim.Wait(3000), 0);
    }
}

TEST_F(Qiv72simPty, AnOutputNobodyReadsNeverStopsTheSimulator) {
    const std::string link = dir / "com4";
    ChildProcess sim(SimArgs({"--link", link, "--burst"}));
    ASSERT_TRUE(WaitFor([&] { return IsSymlinkToPty(link); }, 5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the pty fills up
    {
        Line line(link);
        ASSERT_TRUE(line.Pump([] { return Fake.titleUpdates >= 5; }, 3000));
    }
    // Closed and opened again: the line still works.
    Line again(link);
    ASSERT_TRUE(again.Pump([] { return Fake.titleUpdates >= 10; }, 3000));
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(2000), 0);
}

TEST_F(Qiv72simPty, DeviceModeTalksOnAnExistingTtyAndEndsWhenItHangsUp) {
    // A pty stands in for a serial port: the simulator opens its slave side
    // as the --device, the test reads the master side like the far PC.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);  // not inherited by the simulator
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string tty = ptsname(master);
    auto line = std::make_unique<Line>(master);
    ChildProcess sim(SimArgs({"--device", tty, "--speed", "4", "--function", "stereo"}));
    ASSERT_TRUE(line->Pump([] { return Fake.titleUpdates >= 3; }, 5000));
    EXPECT_EQ(DeviceFunction, FunctionStereo);
    line.reset();  // the cable's far end goes away
    EXPECT_EQ(sim.Wait(3000), 1);
}

TEST_F(Qiv72simPty, AnExistingSymlinkIsReplacedAnythingElseIsLeftAlone) {
    const std::string link = dir / "com2";
    ASSERT_EQ(symlink("/nonexistent/ttyS9", link.c_str()), 0);
    {
        ChildProcess sim(SimArgs({"--link", link}));
        ASSERT_TRUE(WaitFor([&] { return IsSymlinkToPty(link); }, 5000));
        sim.Signal(SIGTERM);
        EXPECT_EQ(sim.Wait(3000), 0);
    }
    const std::string file = dir / "com5";
    std::ofstream(file) << "keep me";
    ChildProcess sim(SimArgs({"--link", file}));
    EXPECT_EQ(sim.Wait(3000), 1);
    EXPECT_EQ(ReadText(file), "keep me");
}

TEST_F(Qiv72simPty, HelpAndBadOptions) {
    ChildProcess help(SimArgs({"--help"}));
    EXPECT_EQ(help.Wait(3000), 0);
    ChildProcess bad(SimArgs({"--link", dir / "x", "--corrupt", "2"}));
    EXPECT_EQ(bad.Wait(3000), 2);
    ChildProcess vanishAlone(SimArgs({"--link", dir / "x", "--vanish-after", "2"}));
    EXPECT_EQ(vanishAlone.Wait(3000), 2);
}

}  // namespace
