#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// On Linux a serial port that will not open is most often one the user may
// not use (not in the group dialout) or a device that does not exist (a
// mistyped name, an adapter not plugged in). Says which on standard error,
// once a port, and tells a listener, so that the window can say so too.
class PortAccessAdvice {
public:
    enum class Refusal {
        Other, // busy, or anything else: the usual text stands
        Denied,
        Missing,
    };
    using Check = std::function<Refusal(const std::string& devicePath)>;
    using Sink = std::function<void(const std::string& line)>;
    // Runs on the worker's thread after each port newly found refused.
    using Listener = std::function<void()>;

    PortAccessAdvice(Check check, Sink sink);

    // The advice of the running program: access(2) and standard error.
    static PortAccessAdvice& instance();

    void portDidNotOpen(const std::string& devicePath);
    static std::string lineFor(const std::string& devicePath, Refusal refusal);

    // True when every one of the paths (at least one) was refused, for lack
    // of permission or because it does not exist.
    bool refusedAll(const std::vector<std::string>& devicePaths) const;
    // Those of the paths found not to exist.
    std::vector<std::string> missing(const std::vector<std::string>& devicePaths) const;
    // Replaces the listener; an empty one removes it. Once this returns the
    // previous listener is neither running nor called again.
    void setListener(Listener listener);

private:
    bool remember(const std::string& devicePath, Refusal refusal);

    Check check_;
    Sink sink_;
    mutable std::mutex mutex_;
    std::map<std::string, Refusal> told_;
    Listener listener_;
};
