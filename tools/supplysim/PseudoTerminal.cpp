#include "PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

void closeKeepingErrno(int& fd)
{
    if (fd >= 0) {
        const int saved = errno;
        ::close(fd);
        fd = -1;
        errno = saved;
    }
}

bool addFlags(int fd, int statusFlags)
{
    const int current = ::fcntl(fd, F_GETFL);
    return current >= 0 && ::fcntl(fd, F_SETFL, current | statusFlags) == 0 && ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open()
{
    close();
    if (openMaster() && openSlave()) {
        return true;
    }
    close();
    return false;
}

void PseudoTerminal::close()
{
    closeKeepingErrno(slaveFd_);
    closeKeepingErrno(masterFd_);
    slavePath_.clear();
}

// Non-blocking, so that a client that stops reading cannot stall the supply.
bool PseudoTerminal::openMaster()
{
    masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (masterFd_ < 0 || ::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0 || !addFlags(masterFd_, O_NONBLOCK)) {
        return false;
    }
    char name[128];
    if (::ptsname_r(masterFd_, name, sizeof name) != 0) {
        return false;
    }
    slavePath_ = name;
    return true;
}

bool PseudoTerminal::openSlave()
{
    slaveFd_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slaveFd_ < 0) {
        return false;
    }
    termios settings{};
    if (::tcgetattr(slaveFd_, &settings) != 0) {
        return false;
    }
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B1200);
    ::cfsetospeed(&settings, B1200);
    return ::tcsetattr(slaveFd_, TCSANOW, &settings) == 0;
}
