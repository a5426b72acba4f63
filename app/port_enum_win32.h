// The serial ports Windows lists, without opening any of them: opening a
// port to see whether it exists can raise DTR and RTS on somebody else's
// device, and a Bluetooth port can take seconds to open.
#pragma once

#include <vector>

#include "app/port_list.h"

// Names from HARDWARE\DEVICEMAP\SERIALCOMM, friendly names from the device
// installation (UTF-8). Empty when the system lists nothing.
std::vector<SystemPort> ListSystemPorts();
