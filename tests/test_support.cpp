#include "tests/test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "link/edit_history.h"
#include "link/frame_receiver.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/fakes.h"
#include "tests/pristine_tables.h"

void FreshStart() {
    RestorePristineTables();
    ResetLinkState();
    ResetEditHistory();
    ResetFakes();
}

std::vector<uint8_t> FrameOf(const UnitFrameState& state) {
    uint8_t buf[DualMonoFrameBytes];
    const size_t n = BuildDeviceFrame(state, buf);
    return std::vector<uint8_t>(buf, buf + n);
}

void Feed(const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) ReceiveByte(b);
}

UnitFrameState DefaultState(int function) {
    UnitFrameState s;
    DefaultUnitState(function, &s);
    return s;
}

void SetWord(std::vector<uint8_t>& frame, int w, uint32_t v) {
    frame[4 * w] = static_cast<uint8_t>(v & 0xFF);
    frame[4 * w + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    frame[4 * w + 2] = static_cast<uint8_t>((v >> 16) & 0xFF);
}

void Reseal(std::vector<uint8_t>& frame) {
    const int words = static_cast<int>(frame.size() / 4);
    uint32_t sum = 0;
    for (int w = 0; w < words - 1; ++w)
        sum += frame[4 * w] | (frame[4 * w + 1] << 8) | (static_cast<uint32_t>(frame[4 * w + 2]) << 16);
    SetWord(frame, words - 1, sum & 0xFFFFFFu);
}

bool WaitFor(const std::function<bool()>& cond, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return cond();
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

extern char** environ;

ChildProcess::ChildProcess(std::vector<std::string> args, const std::string& out, const std::string& err) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (!out.empty()) posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!err.empty()) posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !exited_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void ChildProcess::Signal(int sig) const {
    if (pid_ > 0 && !exited_) kill(pid_, sig);
}

int ChildProcess::Wait(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exited_ = true;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}
