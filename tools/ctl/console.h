// What the tool needs of the console and the process on each platform: the
// Ctrl+C count, whether the streams are terminals, the terminal's
// control sequences for the live display.
#pragma once

// Ctrl+C (and SIGTERM on POSIX) counts up; the command checks it between
// frames. A second Ctrl+C while `ArmSecondInterruptEnds` is set ends the
// process at once with InterruptExitCode.
void InstallInterruptHandler();
int InterruptCount();
void ArmSecondInterruptEnds(bool armed);
inline constexpr int InterruptExitCode = 130;

bool StdinIsTerminal();
bool StdoutIsTerminal();
bool StderrIsTerminal();

// Switches the console to control sequences (cursor moves, line clears);
// false where it cannot, and the caller prints plain lines instead.
bool EnableTerminalSequences();
