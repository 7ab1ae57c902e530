#pragma once

#include <functional>
#include <mutex>
#include <set>
#include <string>

// On Linux a serial port that will not open is most often one the user may
// not use: not in the group dialout. Says so on standard error, once a port.
class PortAccessAdvice {
public:
    using DeniedCheck = std::function<bool(const std::string& devicePath)>;
    using Sink = std::function<void(const std::string& line)>;

    PortAccessAdvice(DeniedCheck denied, Sink sink);

    // The advice of the running program: access(2) and standard error.
    static PortAccessAdvice& instance();

    void portDidNotOpen(const std::string& devicePath);
    static std::string lineFor(const std::string& devicePath);

private:
    DeniedCheck denied_;
    Sink sink_;
    std::mutex mutex_;
    std::set<std::string> told_;
};
