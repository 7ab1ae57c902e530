#pragma once

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// On Linux a serial port that will not open is most often one the user may
// not use: not in the group dialout. Says so on standard error, once a port,
// and tells a listener, so that the window can say so too.
class PortAccessAdvice {
public:
    using DeniedCheck = std::function<bool(const std::string& devicePath)>;
    using Sink = std::function<void(const std::string& line)>;
    // Runs on the worker's thread after each port newly found refused.
    using Listener = std::function<void()>;

    PortAccessAdvice(DeniedCheck denied, Sink sink);

    // The advice of the running program: access(2) and standard error.
    static PortAccessAdvice& instance();

    void portDidNotOpen(const std::string& devicePath);
    static std::string lineFor(const std::string& devicePath);

    // True when every one of the paths (at least one) was refused for lack of permission.
    bool refusedAll(const std::vector<std::string>& devicePaths) const;
    // Replaces the listener; an empty one removes it. Once this returns the
    // previous listener is neither running nor called again.
    void setListener(Listener listener);

private:
    bool remember(const std::string& devicePath);

    DeniedCheck denied_;
    Sink sink_;
    mutable std::mutex mutex_;
    std::set<std::string> told_;
    Listener listener_;
};
