#include "link/PortAccessAdvice.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

PortAccessAdvice::PortAccessAdvice(DeniedCheck denied, Sink sink)
    : denied_(std::move(denied))
    , sink_(std::move(sink))
{
}

PortAccessAdvice& PortAccessAdvice::instance()
{
    static PortAccessAdvice advice(
        [](const std::string& path) { return ::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES; },
        [](const std::string& line) { (void)std::fprintf(stderr, "%s\n", line.c_str()); });
    return advice;
}

void PortAccessAdvice::portDidNotOpen(const std::string& devicePath)
{
    if (!denied_(devicePath) || !remember(devicePath)) {
        return;
    }
    sink_(lineFor(devicePath));
    const std::lock_guard lock(mutex_);
    if (listener_) {
        listener_();
    }
}

bool PortAccessAdvice::remember(const std::string& devicePath)
{
    const std::lock_guard lock(mutex_);
    return told_.insert(devicePath).second;
}

std::string PortAccessAdvice::lineFor(const std::string& devicePath)
{
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

void PortAccessAdvice::setListener(Listener listener)
{
    const std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
}
