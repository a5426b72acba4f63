// Helpers shared by the core tests: a fresh start-up state for every test,
// and frames from the unit side.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/device_codec.h"

// Tables back to their start-up contents, id indices built, link and
// receiver state cleared, fakes emptied.
void FreshStart();

// The frame for a unit state, as bytes.
std::vector<uint8_t> FrameOf(const UnitFrameState& state);

// Feeds bytes to the receiver one by one.
void Feed(const std::vector<uint8_t>& bytes);

// A unit state for a function that matches the program's start-up tables.
UnitFrameState DefaultState(int function);

// Recomputes the checksum word of a frame built by FrameOf after its bytes
// were changed by hand.
void Reseal(std::vector<uint8_t>& frame);

// Sets value byte i of word w (frame offset 4w + i).
inline void SetValueByte(std::vector<uint8_t>& frame, int w, int i, uint8_t v) { frame[4 * w + i] = v; }
void SetWord(std::vector<uint8_t>& frame, int w, uint32_t v);

// Polls `cond` every 5 ms until it holds or `ms` have passed; its last answer.
bool WaitFor(const std::function<bool()>& cond, int ms);

// The whole content of a file; empty when it cannot be read.
std::string ReadText(const std::string& path);

// A program run as a child process, its standard input /dev/null and its
// output in the files named (the test's own output where none is); killed
// if a test leaves it running.
class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> args, const std::string& out = "", const std::string& err = "");
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();
    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    void Signal(int sig) const;
    // The exit code, or -1 on a timeout or a death by signal.
    int Wait(int ms);

private:
    pid_t pid_ = -1;
    bool exited_ = false;
};
