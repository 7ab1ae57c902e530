#include "link/PortAccessAdvice.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iterator>
#include <unistd.h>

PortAccessAdvice::PortAccessAdvice(Check check, Sink sink)
    : check_(std::move(check))
    , sink_(std::move(sink))
{
}

PortAccessAdvice& PortAccessAdvice::instance()
{
    static PortAccessAdvice advice(
        [](const std::string& path) {
            if (::access(path.c_str(), R_OK | W_OK) == 0) {
                return Refusal::Other;
            }
            return errno == EACCES ? Refusal::Denied : errno == ENOENT ? Refusal::Missing : Refusal::Other;
        },
        [](const std::string& line) { (void)std::fprintf(stderr, "%s\n", line.c_str()); });
    return advice;
}

void PortAccessAdvice::portDidNotOpen(const std::string& devicePath)
{
    const Refusal refusal = check_(devicePath);
    if (refusal == Refusal::Other || !remember(devicePath, refusal)) {
        return;
    }
    sink_(lineFor(devicePath, refusal));
    const std::lock_guard lock(mutex_);
    if (listener_) {
        listener_();
    }
}

bool PortAccessAdvice::remember(const std::string& devicePath, Refusal refusal)
{
    const std::lock_guard lock(mutex_);
    return told_.emplace(devicePath, refusal).second;
}

std::string PortAccessAdvice::lineFor(const std::string& devicePath, Refusal refusal)
{
    if (refusal == Refusal::Missing) {
        return "tendrel-controller: " + devicePath
            + " does not exist; check the port's name (trying it again until it appears)";
    }
    return "tendrel-controller: no permission to open " + devicePath
        + "; add your user to the group dialout (sudo usermod -aG dialout $USER), then log in again";
}

bool PortAccessAdvice::refusedAll(const std::vector<std::string>& devicePaths) const
{
    const std::lock_guard lock(mutex_);
    return !devicePaths.empty() && std::all_of(devicePaths.begin(), devicePaths.end(), [this](const std::string& path) {
        return told_.contains(path);
    });
}

std::vector<std::string> PortAccessAdvice::missing(const std::vector<std::string>& devicePaths) const
{
    const std::lock_guard lock(mutex_);
    std::vector<std::string> found;
    std::copy_if(devicePaths.begin(), devicePaths.end(), std::back_inserter(found), [this](const std::string& path) {
        const auto told = told_.find(path);
        return told != told_.end() && told->second == Refusal::Missing;
    });
    return found;
}

void PortAccessAdvice::setListener(Listener listener)
{
    const std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
}
