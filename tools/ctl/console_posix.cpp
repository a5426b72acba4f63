#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "tools/ctl/console.h"

namespace {

// Written by the signal handler, read by the command's loop (one thread).
volatile sig_atomic_t Interrupts = 0;
volatile sig_atomic_t SecondEnds = 0;

void OnInterrupt(int) {
    ++Interrupts;
    if (Interrupts > 1 && SecondEnds) _exit(InterruptExitCode);
}

}  // namespace

void InstallInterruptHandler() {
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sigemptyset(&sa.sa_mask);
    sa.sa_handler = OnInterrupt;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

int InterruptCount() { return Interrupts; }
void ArmSecondInterruptEnds(bool armed) { SecondEnds = armed ? 1 : 0; }

bool StdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool StdoutIsTerminal() { return isatty(STDOUT_FILENO) != 0; }
bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }
bool EnableTerminalSequences() { return StdoutIsTerminal(); }
