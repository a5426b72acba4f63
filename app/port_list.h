// The entries of the port dialog: the four fixed ports, every serial port
// the system lists (USB adapters number from COM3 up to COM256), and the
// port the settings name even when the system has not got it now.
#pragma once

#include <string>
#include <vector>

#include "app/shell_state.h"

// A port as the system reports it: its name ("COM7") and, where the device
// installation has one, its friendly name ("USB Serial Port (COM7)").
struct SystemPort {
    std::string name;
    std::string friendlyName;
};

struct PortEntry {
    char name[PortNameSize];  // what is stored as the port name
    std::string text;         // what the list shows
    bool missing;             // named in the settings, not listed by the system
};

// The number of a "COMn" name (any case), or -1 for any other name.
int ComPortNumber(const std::string& name);

// The list in the order it is shown: "COMn" by number, then any other name
// alphabetically. Names that do not fit the port name field are left out
// (they could not be stored), each name appears once.
std::vector<PortEntry> BuildPortList(const std::vector<SystemPort>& system, const char* configured);
