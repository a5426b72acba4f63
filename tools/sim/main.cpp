// qiv72sim: a simulated QIV-72 on a pseudo-terminal or a serial port. Paces
// the unit model's frames like a 38400-baud wire, feeds it the program's
// host frames and keeps the host log and the state file.
#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "model/param_tables.h"
#include "tools/sim/sim_files.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/sim_port.h"
#include "tools/sim/sim_replay.h"
#include "tools/sim/unit_model.h"
#include "tools/sim/unit_state_text.h"

namespace {

// Set by the signal handlers, read by the loop (one thread).
volatile sig_atomic_t StopRequested = 0;
volatile sig_atomic_t CableRequest = 0;  // 1 pull the cable, 2 plug it in
volatile sig_atomic_t PortRequest = 0;   // 1 the port vanishes, 2 it comes back

void OnStopSignal(int) { StopRequested = 1; }
void OnCableSignal(int sig) { CableRequest = sig == SIGUSR1 ? 1 : 2; }
void OnPortSignal(int sig) { PortRequest = sig == SIGRTMIN ? 1 : 2; }

constexpr int64_t NsPerSecond = 1000000000;
constexpr int64_t StuckLimitNs = NsPerSecond;  // output nobody reads is thrown away after this

int64_t MonotonicNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * NsPerSecond + ts.tv_nsec;
}

// The frame on its way out. A frame is written whole or not started: while
// one is still partly in the port, the next slots' frames are skipped.
struct Outbox {
    uint8_t bytes[UnitMaxOutput];
    size_t size = 0;
    size_t pos = 0;
    int64_t lastProgressNs = 0;
    bool Pending() const { return pos < size; }
};

struct Counters {
    uint64_t skipped = 0;    // frames that found the port full
    uint64_t discarded = 0;  // times unread output was thrown away
};

class StateFile {
public:
    explicit StateFile(std::string path) : path_(std::move(path)) {}
    void Update(const UnitModel& unit) {
        if (path_.empty() || (written_ && version_ == unit.stateVersion)) return;
        char text[UnitStateTextMax];
        const size_t n = FormatUnitState(unit, text, sizeof text);
        if (!WriteFileAtomically(path_, text, n) && !warned_) {
            std::fprintf(stderr, "qiv72sim: cannot write %s: %s\n", path_.c_str(), std::strerror(errno));
            warned_ = true;
        }
        version_ = unit.stateVersion;
        written_ = true;
    }

private:
    std::string path_;
    uint64_t version_ = 0;
    bool written_ = false;
    bool warned_ = false;
};

// The operator's hand on the unit's front panel: settings written into the
// control file are taken over at the next frame slot, and the file goes.
class ControlFile {
public:
    explicit ControlFile(std::string path) : path_(std::move(path)) {}
    void Poll(UnitModel* unit) {
        if (path_.empty()) return;
        std::FILE* f = std::fopen(path_.c_str(), "rb");
        if (f == nullptr) return;
        char text[UnitStateTextMax];
        const size_t n = std::fread(text, 1, sizeof text, f);
        std::fclose(f);
        std::remove(path_.c_str());
        const UnitSettingsApplied r = ApplyUnitSettingsText(unit, text, n);
        if (r.rejected > 0)
            std::fprintf(stderr, "qiv72sim: %s: %d line(s) name no setting of the %s unit or no number\n",
                         path_.c_str(), r.rejected, UnitFunctionName(unit->function));
    }

private:
    std::string path_;
};

void InstallSignals(sigset_t* waitMask) {
    sigset_t blocked;
    sigemptyset(&blocked);
    const int portSignals[] = {SIGRTMIN, SIGRTMIN + 1};
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2, portSignals[0], portSignals[1]})
        sigaddset(&blocked, sig);
    // Blocked except inside ppoll, so that a signal can never slip in
    // between the check of the flags and the wait.
    sigprocmask(SIG_BLOCK, &blocked, waitMask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2, portSignals[0], portSignals[1]})
        sigdelset(waitMask, sig);
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sigemptyset(&sa.sa_mask);
    sa.sa_handler = OnStopSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    sa.sa_handler = OnCableSignal;
    sigaction(SIGUSR1, &sa, nullptr);
    sigaction(SIGUSR2, &sa, nullptr);
    sa.sa_handler = OnPortSignal;
    sigaction(portSignals[0], &sa, nullptr);
    sigaction(portSignals[1], &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

// Writes what fits. Returns false on a port error other than "full".
bool Flush(int fd, Outbox* box, int64_t now) {
    while (box->Pending()) {
        const ssize_t n = ::write(fd, box->bytes + box->pos, box->size - box->pos);
        if (n > 0) {
            box->pos += static_cast<size_t>(n);
            box->lastProgressNs = now;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        return false;
    }
    return true;
}

// Reads what the program sent and hands it to the unit. With `clock` the
// host log gets the time each read returned. Returns false on a port error.
bool ReadHostBytes(int fd, UnitModel* unit, HostLog* log, bool clock) {
    uint8_t buf[256];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            const int64_t readNs = clock ? MonotonicNs() : -1;
            for (ssize_t i = 0; i < n; ++i) {
                HostReport report;
                if (UnitReceiveByte(unit, buf[i], &report))
                    log->Write(report.bytes, report.outcome != HostOutcome::Invalid, readNs);
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        if (n == 0) errno = EPIPE;  // end of file: the tty hung up
        return false;
    }
}

// A pulled USB adapter: the port device itself goes away, so the program's
// handle fails and its port name finds nothing, until a new device appears
// under the same name. Only a --link port can do this; the unit keeps
// running meanwhile and its frames go nowhere.
class VanishingPort {
public:
    VanishingPort(const SimOptions& o, int64_t startNs)
        : link_(o.link), quiet_(o.quiet) {
        if (o.vanishAfter >= 0.0) {
            goAtNs_ = startNs + static_cast<int64_t>(o.vanishAfter * NsPerSecond / o.speed);
            forNs_ = static_cast<int64_t>(o.vanishFor * NsPerSecond / o.speed);
        }
    }
    bool Gone() const { return gone_; }

    // Applies the timed plan and the signals. Returns false when the port
    // could not be made anew.
    bool Update(SimPort* port, Outbox* box, int64_t now) {
        int want = PortRequest;
        PortRequest = 0;
        if (goAtNs_ >= 0 && !gone_ && now >= goAtNs_) {
            want = 1;
            backAtNs_ = now + forNs_;
            goAtNs_ = -1;  // once
        } else if (backAtNs_ >= 0 && gone_ && now >= backAtNs_) {
            want = 2;
        }
        if (want != 0 && link_.empty()) {
            std::fprintf(stderr, "qiv72sim: only a --link port can vanish; signal ignored\n");
            return true;
        }
        if (want == 1 && !gone_) {
            ClosePort(port);
            box->size = box->pos = 0;
            gone_ = true;
            if (!quiet_) std::fprintf(stderr, "qiv72sim: port vanished (%s removed)\n", link_.c_str());
        } else if (want == 2 && gone_) {
            backAtNs_ = -1;
            std::string error;
            if (!OpenPtyPort(link_, port, &error)) {
                std::fprintf(stderr, "qiv72sim: %s\n", error.c_str());
                return false;
            }
            gone_ = false;
            if (!quiet_)
                std::fprintf(stderr, "qiv72sim: port back on %s, linked as %s\n", port->programPath.c_str(),
                             link_.c_str());
        }
        return true;
    }

private:
    std::string link_;
    bool quiet_;
    bool gone_ = false;
    int64_t goAtNs_ = -1;
    int64_t forNs_ = 0;
    int64_t backAtNs_ = -1;
};

int Run(const SimOptions& o) {
    BuildIdIndices();
    auto unit = std::make_unique<UnitModel>();
    UnitOptions uo{};
    uo.function = o.function;
    uo.seed = o.seed;
    uo.bootPauseUs = static_cast<int64_t>(o.bootPauseMs * 1000.0);
    uo.faults = {o.corrupt, o.noise, o.syncInData, o.unplugAfter, o.unplugFor};
    InitUnit(unit.get(), uo);

    ReplaySource replay;
    const bool replaying = !o.replay.empty();
    std::string replayError;
    if (replaying && !replay.Load(o.replay, &replayError)) {
        std::fprintf(stderr, "qiv72sim: %s\n", replayError.c_str());
        return 1;
    }

    HostLog log;
    if (!o.hostLog.empty() && !log.Open(o.hostLog)) {
        std::fprintf(stderr, "qiv72sim: cannot open %s: %s\n", o.hostLog.c_str(), std::strerror(errno));
        return 1;
    }
    StateFile state(o.stateFile);
    state.Update(*unit);
    ControlFile control(o.controlFile);

    sigset_t waitMask;
    InstallSignals(&waitMask);

    SimPort port;
    std::string error;
    const bool opened = o.link.empty() ? OpenDevicePort(o.device, &port, &error) : OpenPtyPort(o.link, &port, &error);
    if (!opened) {
        std::fprintf(stderr, "qiv72sim: %s\n", error.c_str());
        return 1;
    }
    if (!o.quiet) {
        std::fprintf(stderr, "qiv72sim: %s unit on %s%s%s\n", UnitFunctionName(unit->function),
                     port.programPath.c_str(), o.link.empty() ? "" : ", linked as ", o.link.c_str());
    }

    Outbox box;
    Counters counters;
    int exitCode = 0;
    int64_t next = MonotonicNs();
    VanishingPort vanish(o, next);
    bool sentLast = false;  // the last slot put a frame on its way
    while (!StopRequested) {
        if (CableRequest != 0) {
            UnitSetUnplugged(unit.get(), CableRequest == 1);
            CableRequest = 0;
        }
        int64_t now = MonotonicNs();
        if (!vanish.Update(&port, &box, now)) {
            exitCode = 1;
            break;
        }
        const int fd = port.fd.Get();  // -1 while the port is gone
        const bool due = o.burst ? !box.Pending() && (sentLast || now >= next) : now >= next;
        if (due) {
            control.Poll(unit.get());
            UnitOutput out;
            int64_t periodUs = 0;
            if (replaying) {
                replay.Next(&out, &periodUs);
            } else {
                UnitNextOutput(unit.get(), &out);
                periodUs = UnitFramePeriodUs(unit->function);
            }
            // --burst skips the pause only after a slot that sent something;
            // silent slots (reboot, cable out) keep their time.
            sentLast = out.size > 0;
            if (!o.burst || out.size == 0) {
                const double period = static_cast<double>(periodUs) * 1000.0 / o.speed;
                next = (now - next > NsPerSecond ? now : next) + static_cast<int64_t>(std::llround(period));
            } else {
                next = now;
            }
            if (out.size > 0 && !vanish.Gone()) {
                if (box.Pending()) {
                    ++counters.skipped;
                } else {
                    std::memcpy(box.bytes, out.bytes, out.size);
                    box.size = out.size;
                    box.pos = 0;
                    box.lastProgressNs = now;
                }
            }
            state.Update(*unit);
        }
        if (!Flush(fd, &box, now)) {
            std::fprintf(stderr, "qiv72sim: write to %s: %s\n", port.programPath.c_str(), std::strerror(errno));
            exitCode = 1;
            break;
        }
        if (box.Pending() && now - box.lastProgressNs > StuckLimitNs) {
            DiscardUnreadOutput(&port);
            box.size = box.pos = 0;
            ++counters.discarded;
        }

        // Until the next slot is due; while a frame waits for room, until
        // the port takes more (POLLOUT), but never so long that a stuck
        // output goes unnoticed. --burst goes on at once after a frame.
        int64_t waitNs = next - now;
        if (box.Pending())
            waitNs = o.burst ? StuckLimitNs / 4 : std::min(waitNs, StuckLimitNs / 4);
        else if (o.burst && sentLast)
            waitNs = 0;
        if (waitNs < 0) waitNs = 0;
        timespec ts{static_cast<time_t>(waitNs / NsPerSecond), static_cast<long>(waitNs % NsPerSecond)};
        // poll ignores a negative descriptor: while the port is gone this
        // only waits for the next slot.
        pollfd pfd{fd, static_cast<short>(POLLIN | (box.Pending() ? POLLOUT : 0)), 0};
        const int r = ppoll(&pfd, 1, &ts, &waitMask);
        if (r < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "qiv72sim: poll: %s\n", std::strerror(errno));
            exitCode = 1;
            break;
        }
        if (r > 0 && (pfd.revents & POLLIN)) {
            if (!ReadHostBytes(fd, unit.get(), &log, o.hostLogClock)) {
                std::fprintf(stderr, "qiv72sim: read from %s: %s\n", port.programPath.c_str(), std::strerror(errno));
                exitCode = 1;
                break;
            }
            state.Update(*unit);
        }
        if (r > 0 && (pfd.revents & (POLLERR | POLLNVAL))) {
            std::fprintf(stderr, "qiv72sim: %s failed\n", port.programPath.c_str());
            exitCode = 1;
            break;
        }
        if (r > 0 && (pfd.revents & POLLHUP)) {
            // A tty that hung up (a USB adapter pulled out); our own pty
            // never does, we hold its other side.
            std::fprintf(stderr, "qiv72sim: %s hung up\n", port.programPath.c_str());
            exitCode = 1;
            break;
        }
    }
    ClosePort(&port);
    if (!o.quiet) {
        const UnitStats& s = unit->stats;
        std::fprintf(stderr,
                     "qiv72sim: %llu frames (%llu skipped, port full; %llu discards), %llu silent slots; "
                     "host frames: %llu valid, %llu invalid, %llu ignored\n",
                     static_cast<unsigned long long>(s.framesSent), static_cast<unsigned long long>(counters.skipped),
                     static_cast<unsigned long long>(counters.discarded),
                     static_cast<unsigned long long>(s.silentSlots), static_cast<unsigned long long>(s.hostValid),
                     static_cast<unsigned long long>(s.hostInvalid), static_cast<unsigned long long>(s.hostIgnored));
    }
    return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!ParseSimOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "qiv72sim: %s\n\n%s", error.c_str(), SimUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(SimUsage(), stdout);
        return 0;
    }
    return Run(options);
}
