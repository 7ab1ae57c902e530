#include "link/EventRegistry.h"

#include <map>
#include <mutex>

std::shared_ptr<AutoResetEvent> EventRegistry::obtain(const std::string& name, bool initiallySignalled)
{
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<AutoResetEvent>> events;

    const std::lock_guard lock(mutex);
    std::weak_ptr<AutoResetEvent>& slot = events[name];
    if (auto existing = slot.lock()) {
        return existing;
    }
    auto created = std::make_shared<AutoResetEvent>(initiallySignalled);
    slot = created;
    return created;
}
