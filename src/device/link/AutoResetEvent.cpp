#include "link/AutoResetEvent.h"

AutoResetEvent::AutoResetEvent(bool initiallySignalled)
    : signalled_(initiallySignalled)
{
}

void AutoResetEvent::set()
{
    {
        const std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    changed_.notify_one();
}

void AutoResetEvent::wait()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
}

bool AutoResetEvent::waitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [this] { return signalled_; })) {
        return false;
    }
    signalled_ = false;
    return true;
}
