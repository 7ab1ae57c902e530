#pragma once

#include <mutex>
#include <set>
#include <string>

// The ports the links of one program hold. A link hunting for its supply
// passes over a port another link holds, so several links share one list of
// ports without two of them polling the same line.
class PortClaims {
public:
    // False when another link holds the port.
    bool claim(const std::string& port);
    void release(const std::string& port);
    bool held(const std::string& port) const;

private:
    mutable std::mutex mutex_;
    std::set<std::string> held_;
};
