// The serial port on POSIX: a tty opened non-blocking with O_NOCTTY, made
// exclusive (TIOCEXCL) and locked (a UUCP-style lock file where the lock
// folder is writable, and flock on the device), 38400 8N1 raw.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <climits>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/ctl/serial_port.h"

namespace {

constexpr char LockFolder[] = "/var/lock";
constexpr char DeviceFolder[] = "/dev/";
constexpr int LockPidWidth = 10;

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) close(fd);
    }
};

}  // namespace

struct SerialPort {
    int fd = -1;
    std::string lockPath;  // the lock file we made; empty when none
};

void SerialPortCloser::operator()(SerialPort* port) const {
    if (port == nullptr) return;
    if (port->fd >= 0) {
        ioctl(port->fd, TIOCNXCL);
        close(port->fd);  // also ends the flock
    }
    if (!port->lockPath.empty()) unlink(port->lockPath.c_str());
    delete port;
}

namespace {

SerialResult Fail(SerialError* error, SerialResult result, int osError, const char* call) {
    error->result = result;
    error->osError = osError;
    error->call = call;
    return result;
}

bool ProcessAlive(pid_t pid) { return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM); }

// A lock file "LCK..ttyUSB0" holding our pid, as other serial programs
// (minicom, picocom) make them. A lock of a process that is gone is taken
// over. Where the folder is missing or not writable, the device's flock
// alone keeps a second copy of this tool out.
// The lock is named after the device itself, not the name it was given (a
// symlink, a relative path): "/dev/pts/5" locks as "LCK..pts_5".
std::string LockName(const std::string& device) {
    char resolved[PATH_MAX];
    std::string path = realpath(device.c_str(), resolved) != nullptr ? resolved : device;
    if (path.rfind(DeviceFolder, 0) == 0) path.erase(0, std::strlen(DeviceFolder));
    for (char& c : path)
        if (c == '/') c = '_';
    return path;
}

SerialResult TakeLockFile(const std::string& device, SerialPort* port, SerialError* error) {
    const std::string base = LockName(device);
    if (base.empty() || access(LockFolder, W_OK) != 0) return SerialResult::Ok;
    const std::string path = std::string(LockFolder) + "/LCK.." + base;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            char text[32];
            const int n = std::snprintf(text, sizeof text, "%*ld\n", LockPidWidth, static_cast<long>(getpid()));
            const bool written = write(fd, text, static_cast<size_t>(n)) == n;
            close(fd);
            if (!written) {
                unlink(path.c_str());
                return SerialResult::Ok;
            }
            port->lockPath = path;
            return SerialResult::Ok;
        }
        if (errno != EEXIST) return SerialResult::Ok;
        char text[32] = {};
        Fd held;
        held.fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (held.fd >= 0 && read(held.fd, text, sizeof text - 1) > 0) {
            const long pid = std::strtol(text, nullptr, 10);
            if (ProcessAlive(static_cast<pid_t>(pid))) return Fail(error, SerialResult::Busy, EBUSY, "lock file");
        }
        unlink(path.c_str());  // a stale lock: its process is gone
    }
    return SerialResult::Ok;
}

SerialResult Configure(int fd, SerialError* error) {
    termios t;
    if (tcgetattr(fd, &t) != 0) return Fail(error, errno == ENOTTY ? SerialResult::NotSerial : SerialResult::Failed, errno, "tcgetattr");
    cfmakeraw(&t);
    t.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS | CSIZE);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, B38400) != 0 || cfsetospeed(&t, B38400) != 0) return Fail(error, SerialResult::Failed, errno, "cfsetspeed");
    if (tcsetattr(fd, TCSANOW, &t) != 0) return Fail(error, SerialResult::Failed, errno, "tcsetattr");
    // DTR and RTS low, as the window program opens the port; a
    // pseudo-terminal has no modem lines and refuses, which is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIC, &lines);
    tcflush(fd, TCIFLUSH);
    return SerialResult::Ok;
}

}  // namespace

const char* DefaultPortName() { return "/dev/ttyUSB0"; }

std::string SerialErrorText(const std::string& portName, const SerialError& error) {
    if (error.result == SerialResult::Ok) return "";
    std::string text = "port " + portName + " " + SerialResultText(error.result);
    if (error.osError != 0) text += " (" + error.call + ": " + std::strerror(error.osError) + ")";
    return text;
}

SerialResult OpenSerialPort(const std::string& name, SerialPortPtr* out, SerialError* error) {
    *error = {};
    if (name.empty()) return Fail(error, SerialResult::BadArgument, 0, "");
    struct stat st;
    if (stat(name.c_str(), &st) != 0)
        return Fail(error, errno == ENOENT || errno == ENOTDIR ? SerialResult::NotFound : SerialResult::Failed, errno, "stat");
    if (!S_ISCHR(st.st_mode)) return Fail(error, SerialResult::NotSerial, 0, "");
    SerialPortPtr port(new SerialPort);
    port->fd = open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (port->fd < 0)
        // EACCES is a missing permission (the dialout group), not another program.
        return Fail(error, errno == EBUSY ? SerialResult::Busy : SerialResult::Failed, errno, "open");
    if (!isatty(port->fd)) return Fail(error, SerialResult::NotSerial, ENOTTY, "isatty");
    if (flock(port->fd, LOCK_EX | LOCK_NB) != 0)
        return Fail(error, errno == EWOULDBLOCK ? SerialResult::Busy : SerialResult::Failed, errno, "flock");
    // A pseudo-terminal refuses TIOCEXCL on some systems; the flock above
    // still holds.
    ioctl(port->fd, TIOCEXCL);
    const SerialResult locked = TakeLockFile(name, port.get(), error);
    if (locked != SerialResult::Ok) return locked;
    const SerialResult configured = Configure(port->fd, error);
    if (configured != SerialResult::Ok) return configured;
    *out = std::move(port);
    return SerialResult::Ok;
}

SerialResult ReadSerialPort(SerialPort* port, uint8_t* buffer, size_t capacity, int timeoutMs, size_t* got,
                          SerialError* error) {
    *got = 0;
    pollfd p{port->fd, POLLIN, 0};
    const int r = poll(&p, 1, timeoutMs);
    if (r < 0) return errno == EINTR ? SerialResult::Ok : Fail(error, SerialResult::Failed, errno, "poll");
    if (r == 0) return SerialResult::Ok;
    if (p.revents & (POLLERR | POLLNVAL)) return Fail(error, SerialResult::Failed, EIO, "poll");
    const ssize_t n = read(port->fd, buffer, capacity);
    if (n > 0) {
        *got = static_cast<size_t>(n);
        return SerialResult::Ok;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return SerialResult::Ok;
    // End of file or a hang-up: the device went away (a USB adapter pulled).
    return Fail(error, SerialResult::Failed, n == 0 ? EIO : errno, "read");
}

SerialResult WriteSerialPort(SerialPort* port, const uint8_t* bytes, size_t count, int timeoutMs, SerialError* error) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = write(port->fd, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return Fail(error, SerialResult::Failed, errno, "write");
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) return Fail(error, SerialResult::Timeout, 0, "write");
        pollfd p{port->fd, POLLOUT, 0};
        poll(&p, 1, static_cast<int>(left));
    }
    return SerialResult::Ok;
}
