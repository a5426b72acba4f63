// The command line of qiv72ctl.
#pragma once

#include <string>
#include <vector>

// Exit codes, for scripts.
enum CtlExit : int {
    ExitDone = 0,
    ExitNotTaken = 1,  // the unit did not take something
    ExitUsage = 2,     // a usage error, a bad name or value, a file that cannot be read
    ExitNoUnit = 3,    // no unit answering within the timeout, or the port not available
};

inline constexpr int DefaultTimeoutMs = 5000;

struct CtlOptions {
    std::string command;
    std::vector<std::string> args;
    std::string port;              // --port, else QIV72_PORT, else the platform's default
    int timeoutMs = DefaultTimeoutMs;  // --timeout S: silence that counts as no unit
    bool json = false;             // --json (status, watch)
    bool yes = false;              // --yes (backup, restore)
    double seconds = 0.0;          // --seconds S (capture; watch: 0 runs until Ctrl+C)
    bool help = false;
};

// Parses argv; options may stand before or after the command. False with a
// message for anything wrong. `environmentPort` is QIV72_PORT (null when
// unset), `defaultPort` the platform's default.
bool ParseCtlOptions(int argc, const char* const* argv, const char* environmentPort, const char* defaultPort,
                     CtlOptions* options, std::string* error);

const char* CtlUsage();
