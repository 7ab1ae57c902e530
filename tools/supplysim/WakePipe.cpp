#include "WakePipe.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

WakePipe::WakePipe()
{
    int fds[2];
    if (::pipe(fds) != 0) {
        return;
    }
    for (const int fd : fds) {
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    readFd_ = fds[0];
    writeFd_ = fds[1];
}

WakePipe::~WakePipe()
{
    if (isValid()) {
        ::close(readFd_);
        ::close(writeFd_);
    }
}

// A full pipe already guarantees a wake-up, so a failed write needs no handling.
void WakePipe::notify() const
{
    if (writeFd_ >= 0) {
        const int saved = errno;
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(writeFd_, &byte, 1);
        errno = saved;
    }
}

void WakePipe::drain() const
{
    char buffer[64];
    while (readFd_ >= 0 && ::read(readFd_, buffer, sizeof buffer) > 0) { }
}
