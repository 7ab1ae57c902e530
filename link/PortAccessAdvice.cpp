#include "link/PortAccessAdvice.h"

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
    if (!denied_(devicePath)) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        if (!told_.insert(devicePath).second) {
            return;
        }
    }
    sink_(lineFor(devicePath));
}

std::string PortAccessAdvice::lineFor(const std::string& devicePath)
{
    return "tendrel-controller: no permission to open " + devicePath
        + "; add your user to the group dialout (sudo usermod -aG dialout $USER), then log in again";
}
