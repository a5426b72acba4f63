#include "tools/ctl/serial_port.h"

const char* SerialResultText(SerialResult result) {
    switch (result) {
        case SerialResult::Ok: return "is open";
        case SerialResult::BadArgument: return "is not a port name";
        case SerialResult::NotFound: return "does not exist";
        case SerialResult::Busy: return "is in use by another program";
        case SerialResult::NotSerial: return "is not a serial port";
        case SerialResult::Failed: return "cannot be used";
        case SerialResult::Timeout: return "does not take what is written";
    }
    return "cannot be used";
}
