#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// An event that releases one waiter per signal and then resets itself.
class AutoResetEvent {
public:
    explicit AutoResetEvent(bool initiallySignalled = false);

    void set();
    void wait();
    // True when the event was signalled within the timeout.
    bool waitFor(std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_;
};
