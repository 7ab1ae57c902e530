#include "settings/AtomicFile.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

bool AtomicFile::writeAll(int fd, const std::string& content, const Writer& writer)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = writer ? writer(fd, content.data() + done, content.size() - done)
                                       : ::write(fd, content.data() + done, content.size() - done);
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool AtomicFile::replace(const std::string& path, const std::string& content, const Writer& writer)
{
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return false;
    }
    struct stat existing { };
    if (::stat(path.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    }
    const bool written = writeAll(fd, content, writer) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(name.data(), path.c_str()) != 0) {
        ::unlink(name.data());
        return false;
    }
    return true;
}
