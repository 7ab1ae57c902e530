#pragma once

#include "link/AutoResetEvent.h"

#include <memory>
#include <string>

// Process-wide named events. An event lives while someone holds it: the first
// party to obtain a name creates it in the given initial state, later ones share
// it, and once every holder has let go the next obtain creates it afresh.
class EventRegistry {
public:
    static std::shared_ptr<AutoResetEvent> obtain(const std::string& name, bool initiallySignalled);
};

// The names both threads use.
namespace LinkEvents {
inline constexpr const char* kStart = "EStart";
inline constexpr const char* kTransmit = "ETrans";
} // namespace LinkEvents
