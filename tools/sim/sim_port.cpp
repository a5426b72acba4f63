// Pseudo-terminal and tty set-up for the simulator.
#include "tools/sim/sim_port.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
}

namespace {

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }

bool MakeRaw(int fd, bool setSpeed) {
    termios t;
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (setSpeed && (cfsetispeed(&t, B38400) != 0 || cfsetospeed(&t, B38400) != 0)) return false;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

// Points `linkPath` at `target`, replacing a symlink but nothing else.
bool PlaceLink(const std::string& linkPath, const std::string& target, std::string* error) {
    struct stat st;
    if (lstat(linkPath.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        *error = linkPath + " exists and is not a symlink; not replacing it";
        return false;
    }
    // A new link under a temporary name, then renamed over the old one: the
    // path never dangles in between.
    const std::string temp = linkPath + ".qiv72sim." + std::to_string(getpid());
    ::unlink(temp.c_str());
    if (::symlink(target.c_str(), temp.c_str()) != 0) {
        *error = Errno("symlink " + temp);
        return false;
    }
    if (::rename(temp.c_str(), linkPath.c_str()) != 0) {
        *error = Errno("rename to " + linkPath);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool OpenPtyPort(const std::string& linkPath, SimPort* port, std::string* error) {
    UniqueFd master(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (master.Get() < 0) {
        *error = Errno("posix_openpt");
        return false;
    }
    if (grantpt(master.Get()) != 0 || unlockpt(master.Get()) != 0) {
        *error = Errno("grantpt/unlockpt");
        return false;
    }
    char name[PATH_MAX];
    if (ptsname_r(master.Get(), name, sizeof name) != 0) {
        *error = Errno("ptsname");
        return false;
    }
    UniqueFd slave(::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (slave.Get() < 0) {
        *error = Errno(std::string("open ") + name);
        return false;
    }
    // Raw on both ends: no echo of the program's bytes back to us, no line
    // editing, every byte value passes.
    if (!MakeRaw(slave.Get(), true) || !MakeRaw(master.Get(), false)) {
        *error = Errno("raw mode");
        return false;
    }
    if (!PlaceLink(linkPath, name, error)) return false;
    port->fd = std::move(master);
    port->programSide = std::move(slave);
    port->programPath = name;
    port->linkPath = linkPath;
    return true;
}

bool OpenDevicePort(const std::string& path, SimPort* port, std::string* error) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0) {
        *error = Errno("open " + path);
        return false;
    }
    if (!isatty(fd.Get())) {
        *error = path + " is not a tty";
        return false;
    }
    if (!MakeRaw(fd.Get(), true)) {
        *error = Errno("set up " + path);
        return false;
    }
    tcflush(fd.Get(), TCIOFLUSH);
    port->fd = std::move(fd);
    port->programPath = path;
    port->linkPath.clear();
    return true;
}

void DiscardUnreadOutput(SimPort* port) {
    if (port->programSide.Get() >= 0)
        tcflush(port->programSide.Get(), TCIFLUSH);
    else if (port->fd.Get() >= 0)
        tcflush(port->fd.Get(), TCOFLUSH);
}

void ClosePort(SimPort* port) {
    if (!port->linkPath.empty()) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(port->linkPath.c_str(), target, sizeof target - 1);
        if (n >= 0) {
            target[n] = '\0';
            if (port->programPath == target) ::unlink(port->linkPath.c_str());
        }
        port->linkPath.clear();
    }
    port->programSide.Reset();
    port->fd.Reset();
}
