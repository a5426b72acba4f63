#include <windows.h>
#include <io.h>

#include <atomic>
#include <cstdio>

#include "tools/ctl/console.h"

namespace {

// Written by the console's handler thread, read by the command's loop.
std::atomic<int> Interrupts{0};
std::atomic<bool> SecondEnds{false};

BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    const int n = ++Interrupts;
    if (n > 1 && SecondEnds) ExitProcess(InterruptExitCode);
    return TRUE;
}

bool IsConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != FALSE;
}

}  // namespace

void InstallInterruptHandler() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }
int InterruptCount() { return Interrupts; }
void ArmSecondInterruptEnds(bool armed) { SecondEnds = armed; }

bool StdinIsTerminal() { return IsConsole(STD_INPUT_HANDLE); }
bool StdoutIsTerminal() { return IsConsole(STD_OUTPUT_HANDLE); }
bool StderrIsTerminal() { return IsConsole(STD_ERROR_HANDLE); }

bool EnableTerminalSequences() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(out, &mode)) return false;
    return SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != FALSE;
}
