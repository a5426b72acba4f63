#include "tools/ctl/ctl_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double MaxSeconds = 24.0 * 3600.0;
constexpr double MsPerSecond = 1000.0;

struct CommandShape {
    const char* name;
    size_t minArgs, maxArgs;
};
constexpr CommandShape Commands[] = {
    {"status", 0, 0}, {"get", 1, 1},    {"put", 1, 1},     {"set", 1, 1000}, {"store", 2, 2},   {"recall", 1, 1},
    {"boot", 1, 1},   {"watch", 0, 0},  {"backup", 1, 1},  {"restore", 1, 1}, {"capture", 1, 1},
};

bool ParseSeconds(const char* text, double* out) {
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v) || v <= 0.0 || v > MaxSeconds) return false;
    *out = v;
    return true;
}

}  // namespace

const char* CtlUsage() {
    return "Usage: qiv72ctl [options] COMMAND [ARGUMENTS]\n"
           "Controls a QIV-72 audio unit on a serial port (38400 baud, 8N1).\n"
           "\n"
           "Commands:\n"
           "  status               function, link, current memory, memory names, then one\n"
           "                       NAME=VALUE line per setting of the running function\n"
           "  get FILE             writes the running setup as a setup file (.c72, .s72 or\n"
           "                       .a72 added when FILE has no extension)\n"
           "  put FILE             loads a setup file into the unit and waits until the unit\n"
           "                       reports every value\n"
           "  set NAME=VALUE ...   single settings by name: switches 0/1 or on/off,\n"
           "                       selections a label or an index, numbers within range\n"
           "  store N NAME         stores the running setup in memory N under NAME\n"
           "                       (at most 10 characters, case kept)\n"
           "  recall N             recalls memory N\n"
           "  boot FUNCTION        dual-mono, stereo or analyser; waits until the unit runs it\n"
           "  watch                live meters (and the Analyser's bands) until Ctrl+C\n"
           "  backup DIR           every memory as one setup file \"NN NAME.c72\" in DIR\n"
           "  restore DIR          puts and stores every such file of DIR into its memory\n"
           "  capture FILE         records the unit's bytes with their times (--seconds)\n"
           "\n"
           "Options:\n"
           "  --port PORT          the serial port (default: $QIV72_PORT, else /dev/ttyUSB0;\n"
           "                       COM2 on Windows)\n"
           "  --timeout S          seconds without a frame from the unit that count as no\n"
           "                       unit (default 5)\n"
           "  --json               status: one JSON object; watch: one JSON object per frame\n"
           "  --seconds S          capture: how long; watch: end after S seconds\n"
           "  --yes                backup, restore: do not ask before the recalls start\n"
           "  --help               this text\n"
           "\n"
           "Backup and restore recall memories, and the unit's audio follows each recall;\n"
           "they ask first unless --yes (without a terminal and without --yes they end with\n"
           "exit code 2). Afterwards, and on Ctrl+C, they recall the memory that was current\n"
           "and put back the setup that was live (a second Ctrl+C ends at once).\n"
           "\n"
           "Exit codes: 0 done, 1 the unit did not take something, 2 usage error,\n"
           "3 no unit answering within the timeout or the port not available.\n"
           "Messages go to stderr; put, backup and restore show progress there when it is\n"
           "a terminal. The port is opened exclusively: a second program is refused.\n";
}

bool ParseCtlOptions(int argc, const char* const* argv, const char* environmentPort, const char* defaultPort,
                     CtlOptions* o, std::string* error) {
    std::vector<std::string> positional;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (optionsEnd || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "--help") {
            o->help = true;
        } else if (arg == "--json") {
            o->json = true;
        } else if (arg == "--yes") {
            o->yes = true;
        } else if (arg == "--port") {
            if (value == nullptr || *value == '\0') {
                *error = "--port needs a port name";
                return false;
            }
            o->port = value;
            ++i;
        } else if (arg == "--timeout" || arg == "--seconds") {
            double s = 0.0;
            if (!ParseSeconds(value, &s)) {
                *error = arg + " needs a number of seconds above 0";
                return false;
            }
            if (arg == "--timeout") o->timeoutMs = static_cast<int>(std::lround(s * MsPerSecond));
            else o->seconds = s;
            ++i;
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    if (o->port.empty()) o->port = environmentPort != nullptr && *environmentPort != '\0' ? environmentPort : defaultPort;
    if (o->help) return true;
    if (positional.empty()) {
        *error = "no command given";
        return false;
    }
    o->command = positional[0];
    o->args.assign(positional.begin() + 1, positional.end());
    for (const CommandShape& c : Commands) {
        if (o->command != c.name) continue;
        if (o->args.size() < c.minArgs || o->args.size() > c.maxArgs) {
            *error = "wrong number of arguments for " + o->command;
            return false;
        }
        if (o->command == "capture" && o->seconds <= 0.0) {
            *error = "capture needs --seconds S";
            return false;
        }
        return true;
    }
    *error = "unknown command " + o->command;
    return false;
}
