// The serial port on Win32: "\\.\COMn" opened exclusively (no sharing),
// 38400 8N1 without flow control, blocking reads bounded by the port's
// timeouts.
#include <windows.h>

#include <cctype>
#include <cstdio>

#include "link/serial_line_win32.h"
#include "win32/win32_handles.h"
#include "tools/ctl/serial_port.h"

namespace {

constexpr DWORD QueueBytes = 8192;
constexpr DWORD PurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
// An 8-byte answer leaves in about 2 ms; a port that takes nothing for this
// long is stuck (a USB adapter pulled out).
constexpr DWORD WriteLimitMs = 1000;

SerialResult Fail(SerialError* error, SerialResult result, DWORD osError, const char* call) {
    error->result = result;
    error->osError = static_cast<int>(osError);
    error->call = call;
    return result;
}

// "COM7", "com7" and "\\.\COM7" all name \\.\COM7; other names are taken
// as they are (a device path the user knows better).
std::string DevicePath(const std::string& name) {
    if (name.rfind("\\\\.\\", 0) == 0) return name;
    return "\\\\.\\" + name;
}

bool SetTimeouts(HANDLE port, DWORD readMs) {
    COMMTIMEOUTS t = {};
    // Return at once with what is there, or wait up to readMs for the
    // first byte (the documented MAXDWORD/MAXDWORD/constant combination).
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = MAXDWORD;
    t.ReadTotalTimeoutConstant = readMs == 0 ? 1 : readMs;
    t.WriteTotalTimeoutConstant = WriteLimitMs;
    return SetCommTimeouts(port, &t) != FALSE;
}

}  // namespace

struct SerialPort {
    UniqueHandle handle;
    DWORD readTimeoutMs = 0;  // the timeout the port has now
};

// A read or write the system refused: its error, taken before
// ClearCommError can overwrite it, and the port's error state cleared, so
// that the next call is not refused for the same fault.
static SerialResult FailTransfer(SerialPort* port, SerialError* error, const char* call) {
    const DWORD e = GetLastError();
    DWORD errors = 0;
    ClearCommError(port->handle.Get(), &errors, nullptr);
    return Fail(error, SerialResult::Failed, e, call);
}

void SerialPortCloser::operator()(SerialPort* port) const {
    if (port == nullptr) return;
    if (port->handle.Valid()) PurgeComm(port->handle.Get(), PurgeAll);
    delete port;
}

const char* DefaultPortName() { return "COM2"; }

std::string SerialErrorText(const std::string& portName, const SerialError& error) {
    if (error.result == SerialResult::Ok) return "";
    std::string text = "port " + portName + " " + SerialResultText(error.result);
    if (error.osError != 0) {
        char code[64];
        std::snprintf(code, sizeof code, " (%s: error %d)", error.call.c_str(), error.osError);
        text += code;
    }
    return text;
}

SerialResult OpenSerialPort(const std::string& name, SerialPortPtr* out, SerialError* error) {
    *error = {};
    if (name.empty()) return Fail(error, SerialResult::BadArgument, 0, "");
    SerialPortPtr port(new SerialPort);
    port->handle.Reset(CreateFileA(DevicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!port->handle.Valid()) {
        const DWORD e = GetLastError();
        const SerialResult r = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? SerialResult::NotFound
                             : e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION ? SerialResult::Busy
                                                                                         : SerialResult::Failed;
        return Fail(error, r, e, "CreateFile");
    }
    const HANDLE h = port->handle.Get();
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h, &dcb)) return Fail(error, SerialResult::NotSerial, GetLastError(), "GetCommState");
    SetUnitLine(dcb);
    if (!SetCommState(h, &dcb)) return Fail(error, SerialResult::Failed, GetLastError(), "SetCommState");
    SetupComm(h, QueueBytes, QueueBytes);
    if (!SetTimeouts(h, 0)) return Fail(error, SerialResult::Failed, GetLastError(), "SetCommTimeouts");
    PurgeComm(h, PurgeAll);
    *out = std::move(port);
    return SerialResult::Ok;
}

SerialResult ReadSerialPort(SerialPort* port, uint8_t* buffer, size_t capacity, int timeoutMs, size_t* got,
                          SerialError* error) {
    *got = 0;
    const DWORD wanted = timeoutMs < 0 ? 0 : static_cast<DWORD>(timeoutMs);
    if (wanted != port->readTimeoutMs) {
        if (!SetTimeouts(port->handle.Get(), wanted)) return Fail(error, SerialResult::Failed, GetLastError(), "SetCommTimeouts");
        port->readTimeoutMs = wanted;
    }
    DWORD n = 0;
    if (!ReadFile(port->handle.Get(), buffer, static_cast<DWORD>(capacity), &n, nullptr))
        return FailTransfer(port, error, "ReadFile");
    *got = n;
    return SerialResult::Ok;
}

SerialResult WriteSerialPort(SerialPort* port, const uint8_t* bytes, size_t count, int, SerialError* error) {
    DWORD done = 0;
    if (!WriteFile(port->handle.Get(), bytes, static_cast<DWORD>(count), &done, nullptr))
        return FailTransfer(port, error, "WriteFile");
    return done == count ? SerialResult::Ok : Fail(error, SerialResult::Timeout, 0, "WriteFile");
}
