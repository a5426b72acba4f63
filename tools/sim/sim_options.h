// Command line of qiv72sim.
#pragma once

#include <cstdint>
#include <string>

struct SimOptions {
    std::string link;        // --link PATH: a new pty, PATH a symlink to its program side
    std::string device;      // --device PATH: an existing tty (a real serial port)
    std::string hostLog;     // --host-log FILE
    bool hostLogClock = false;  // --host-log-clock: each line ends with its arrival time
    std::string stateFile;   // --state-file FILE
    std::string controlFile; // --control FILE
    int function = 1;        // --function dual-mono|stereo|analyser
    uint64_t seed = 1;       // --seed N
    double speed = 1.0;      // --speed N
    bool burst = false;      // --burst
    double corrupt = 0.0;    // --corrupt P
    double noise = 0.0;      // --noise P
    double syncInData = 0.0; // --sync-in-data P
    double unplugAfter = -1.0;  // --unplug-after S
    double unplugFor = 0.0;     // --unplug-for S
    double vanishAfter = -1.0;  // --vanish-after S
    double vanishFor = 0.0;     // --vanish-for S
    double bootPauseMs = 1500.0;  // --boot-pause MS
    std::string replay;      // --replay FILE: a capture played instead of the unit's frames
    bool quiet = false;      // --quiet
    bool help = false;       // --help
};

// Parses argv. Returns false with a message in `error` for anything wrong;
// --help alone is never an error.
bool ParseSimOptions(int argc, const char* const* argv, SimOptions* options, std::string* error);

// The text --help prints.
const char* SimUsage();
