// The simulator's end of the serial line: a new pseudo-terminal whose other
// end a symlink names, or an existing tty. Both in raw mode, non-blocking.
#pragma once

#include <string>

// Owns one file descriptor.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    ~UniqueFd() { Reset(); }
    int Get() const { return fd_; }
    int Release();
    void Reset(int fd = -1);

private:
    int fd_ = -1;
};

struct SimPort {
    UniqueFd fd;           // the unit's side: read host frames, write device frames
    UniqueFd programSide;  // pty only: the program's side, kept open by us so
                           // that the pty never hangs up when the program
                           // closes and reopens its port
    std::string programPath;  // /dev/pts/N, or the --device path
    std::string linkPath;     // the symlink we made; empty for --device
};

// Opens a new pty pair in raw mode and makes `linkPath` a symlink to its
// program side. An existing symlink at `linkPath` is replaced; any other file
// there is an error (it is left alone).
bool OpenPtyPort(const std::string& linkPath, SimPort* port, std::string* error);

// Opens a tty and sets 38400 baud, 8 data bits, no parity, one stop bit, no
// flow control, raw.
bool OpenDevicePort(const std::string& path, SimPort* port, std::string* error);

// Throws away what we wrote and nobody read: on a pty the program side's
// input queue, on a tty our output queue. A unit whose wire goes nowhere
// loses its bytes too.
void DiscardUnreadOutput(SimPort* port);

// Removes the symlink if it still points at our pty, then closes all.
void ClosePort(SimPort* port);
