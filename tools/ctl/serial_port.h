// The command-line tool's serial port: one blocking port at 38400 baud, 8N1,
// raw, no flow control, behind one small interface with a POSIX and a Win32
// implementation. Every call returns a SerialResult; a failure carries the OS
// error captured where it happened, and the caller decides what to say.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

enum class SerialResult {
    Ok = 0,
    BadArgument,  // an empty or malformed port name
    NotFound,     // no such device
    Busy,         // held by another program (exclusive open or lock refused)
    NotSerial,    // exists, but is not a serial device
    Failed,       // any other OS failure (osError says which)
    Timeout,      // a write that the port did not take in time
};

struct SerialError {
    SerialResult result = SerialResult::Ok;
    int osError = 0;          // errno or GetLastError() of the failing call
    std::string call;         // the call that failed, for the message
};

// "does not exist", "is in use by another program", ...
const char* SerialResultText(SerialResult result);
// "port NAME " and that, with the failing call and the OS error's text.
std::string SerialErrorText(const std::string& portName, const SerialError& error);

struct SerialPort;  // the platform's handles, one struct each
struct SerialPortCloser {
    void operator()(SerialPort* port) const;
};
using SerialPortPtr = std::unique_ptr<SerialPort, SerialPortCloser>;

// The port a name gives: a path on POSIX ("/dev/ttyUSB0"), "COMn" or
// "\\.\COMn" on Windows (the device namespace, so that COM10 and above
// open too). Opened exclusively: on POSIX with TIOCEXCL and a lock file,
// so that a second reader is refused instead of splitting the byte stream.
// Input that waited in the port before is thrown away.
SerialResult OpenSerialPort(const std::string& name, SerialPortPtr* port, SerialError* error);

// Waits at most `timeoutMs` for bytes and reads what is there, at most
// `capacity`. `*got` 0 after the wait is not an error.
SerialResult ReadSerialPort(SerialPort* port, uint8_t* buffer, size_t capacity, int timeoutMs, size_t* got,
                          SerialError* error);

// Writes all bytes, waiting at most `timeoutMs` for the port to take them.
SerialResult WriteSerialPort(SerialPort* port, const uint8_t* bytes, size_t count, int timeoutMs, SerialError* error);

// The port's own name for messages and the default when none is given.
const char* DefaultPortName();
