#include "DeviceLink.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

DeviceLink::~DeviceLink()
{
    remove();
}

bool DeviceLink::create(const std::string& path, const std::string& target)
{
    remove();
    struct stat existing { };
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            errno = EEXIST;
            return false;
        }
        ::unlink(path.c_str());
    }
    if (::symlink(target.c_str(), path.c_str()) != 0) {
        return false;
    }
    path_ = path;
    target_ = target;
    return true;
}

void DeviceLink::remove()
{
    if (!path_.empty() && pointsAtTarget()) {
        ::unlink(path_.c_str());
    }
    path_.clear();
    target_.clear();
}

bool DeviceLink::pointsAtTarget() const
{
    std::vector<char> buffer(target_.size() + 1);
    const ssize_t length = ::readlink(path_.c_str(), buffer.data(), buffer.size());
    return length >= 0 && static_cast<std::size_t>(length) == target_.size()
        && std::string(buffer.data(), target_.size()) == target_;
}
