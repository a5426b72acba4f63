// Command line of qiv72sim.
#include "tools/sim/sim_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool ParseNumber(const char* text, double* out) {
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

bool ParseSeed(const char* text, uint64_t* out) {
    if (text == nullptr || *text == '\0' || *text == '-') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(text, &end, 0);
    if (errno != 0 || *end != '\0') return false;
    *out = v;
    return true;
}

bool ParseFunction(const char* text, int* out) {
    if (text == nullptr) return false;
    if (std::strcmp(text, "dual-mono") == 0) *out = 1;
    else if (std::strcmp(text, "stereo") == 0) *out = 2;
    else if (std::strcmp(text, "analyser") == 0) *out = 3;
    else return false;
    return true;
}

}  // namespace

const char* SimUsage() {
    return "Usage: qiv72sim (--link PATH | --device TTY) [options]\n"
           "A simulated QIV-72 audio unit on a serial line: it sends frames of its\n"
           "function all the time (38400 baud pace) and obeys the program's host frames.\n"
           "\n"
           "Port (one of them):\n"
           "  --link PATH          open a new pseudo-terminal and make PATH a symlink to\n"
           "                       its program side (e.g. a Wine prefix's dosdevices/com2);\n"
           "                       an existing symlink is replaced, anything else refused\n"
           "  --device TTY         use an existing serial port (38400 8N1, no flow control)\n"
           "\n"
           "Unit:\n"
           "  --function F         dual-mono (default), stereo or analyser\n"
           "  --seed N             seed of the meters and faults (default 1)\n"
           "  --boot-pause MS      silence while rebooting into another function\n"
           "                       (default 1500)\n"
           "\n"
           "Pace:\n"
           "  --speed N            run N times faster than the wire (default 1)\n"
           "  --burst              frames back to back, as fast as they are read\n"
           "\n"
           "Faults:\n"
           "  --corrupt P          fraction of frames sent with a bad checksum\n"
           "  --noise P            fraction of frames followed by 1 to 32 random bytes\n"
           "  --sync-in-data P     fraction of frames with a sync word inside their data\n"
           "  --unplug-after S     pull the cable after S seconds of unit time ...\n"
           "  --unplug-for S       ... for S seconds (silence both ways)\n"
           "                       SIGUSR1 pulls the cable, SIGUSR2 plugs it back in\n"
           "\n"
           "Replay:\n"
           "  --replay FILE        play a capture of a unit (qiv72ctl capture) instead of\n"
           "                       the unit's own frames, with its pauses, looping; host\n"
           "                       frames are still received and logged. Not with --burst\n"
           "                       or the faults above\n"
           "\n"
           "Operating the unit:\n"
           "  --control FILE       whenever FILE appears, its name=value lines (names as in\n"
           "                       the state file) set the unit's settings as its own front\n"
           "                       panel would, and FILE is removed; write it elsewhere and\n"
           "                       rename it into place\n"
           "\n"
           "Observing:\n"
           "  --host-log FILE      one line per valid host frame received: its 8 bytes\n"
           "                       in hex; invalid ones on lines starting with '#'\n"
           "  --host-log-clock     end each host log line with a blank and the time its\n"
           "                       last byte was read: CLOCK_MONOTONIC seconds with six\n"
           "                       decimals (for latency measurements)\n"
           "  --state-file FILE    the unit's settings and memories as name=value lines,\n"
           "                       rewritten (atomically) on every change\n"
           "  --quiet              no start and end messages on stderr\n"
           "  --help               this text\n"
           "\n"
           "Times and the unplug and vanish windows are unit time: --speed shortens them.\n"
           "SIGINT and SIGTERM end the simulator and remove the --link symlink.\n";
}

bool ParseSimOptions(int argc, const char* const* argv, SimOptions* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto need = [&](bool ok) {
            if (!ok) *error = value == nullptr ? arg + " needs a value" : "bad value for " + arg + ": " + value;
            return ok;
        };
        auto fraction = [&](double* out) {
            double v = 0.0;
            if (!need(ParseNumber(value, &v) && v >= 0.0 && v <= 1.0)) return false;
            *out = v;
            ++i;
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            o->help = true;
        } else if (arg == "--burst") {
            o->burst = true;
        } else if (arg == "--quiet") {
            o->quiet = true;
        } else if (arg == "--host-log-clock") {
            o->hostLogClock = true;
        } else if (arg == "--replay") {
            if (!need(value != nullptr && *value != '\0')) return false;
            o->replay = value;
            ++i;
        } else if (arg == "--link" || arg == "--device" || arg == "--host-log" || arg == "--state-file" ||
                   arg == "--control") {
            if (!need(value != nullptr && *value != '\0')) return false;
            std::string& target = arg == "--link" ? o->link : arg == "--device" ? o->device
                                : arg == "--host-log" ? o->hostLog : arg == "--state-file" ? o->stateFile
                                : o->controlFile;
            target = value;
            ++i;
        } else if (arg == "--function") {
            if (!need(ParseFunction(value, &o->function))) return false;
            ++i;
        } else if (arg == "--seed") {
            if (!need(ParseSeed(value, &o->seed))) return false;
            ++i;
        } else if (arg == "--speed") {
            double v = 0.0;
            if (!need(ParseNumber(value, &v) && v > 0.0 && v <= 1000.0)) return false;
            o->speed = v;
            ++i;
        } else if (arg == "--corrupt") {
            if (!fraction(&o->corrupt)) return false;
        } else if (arg == "--noise") {
            if (!fraction(&o->noise)) return false;
        } else if (arg == "--sync-in-data") {
            if (!fraction(&o->syncInData)) return false;
        } else if (arg == "--unplug-after" || arg == "--unplug-for" || arg == "--boot-pause" ||
                   arg == "--vanish-after" || arg == "--vanish-for") {
            double v = 0.0;
            if (!need(ParseNumber(value, &v) && v >= 0.0 && v <= 1e7)) return false;
            (arg == "--unplug-after"  ? o->unplugAfter
             : arg == "--unplug-for"  ? o->unplugFor
             : arg == "--vanish-after" ? o->vanishAfter
             : arg == "--vanish-for"  ? o->vanishFor
                                      : o->bootPauseMs) = v;
            ++i;
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    if (o->help) return true;
    if (o->link.empty() == o->device.empty()) {
        *error = "give one of --link PATH or --device TTY";
        return false;
    }
    if (!o->replay.empty() && (o->burst || o->corrupt > 0.0 || o->noise > 0.0 || o->syncInData > 0.0)) {
        *error = "--replay plays the capture as it is: not with --burst or line faults";
        return false;
    }
    if (o->hostLogClock && o->hostLog.empty()) {
        *error = "--host-log-clock needs --host-log FILE";
        return false;
    }
    if ((o->unplugAfter >= 0.0) != (o->unplugFor > 0.0)) {
        *error = "--unplug-after and --unplug-for go together";
        return false;
    }
    if ((o->vanishAfter >= 0.0) != (o->vanishFor > 0.0)) {
        *error = "--vanish-after and --vanish-for go together";
        return false;
    }
    if (o->vanishAfter >= 0.0 && o->link.empty()) {
        *error = "--vanish-after needs --link (a pseudo-terminal the simulator can take away)";
        return false;
    }
    return true;
}
