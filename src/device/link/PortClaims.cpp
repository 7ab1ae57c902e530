#include "link/PortClaims.h"

bool PortClaims::claim(const std::string& port)
{
    const std::lock_guard lock(mutex_);
    return held_.insert(port).second;
}

void PortClaims::release(const std::string& port)
{
    const std::lock_guard lock(mutex_);
    held_.erase(port);
}

bool PortClaims::held(const std::string& port) const
{
    const std::lock_guard lock(mutex_);
    return held_.contains(port);
}
