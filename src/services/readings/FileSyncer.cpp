#include "readings/FileSyncer.h"

#include <cerrno>
#include <unistd.h>

FileSyncer::FileSyncer(int fd, Sync sync)
    : fd_(fd)
    , sync_(sync ? std::move(sync) : Sync([](int descriptor) { return ::fdatasync(descriptor); }))
    , thread_([this] { run(); })
{
}

FileSyncer::~FileSyncer()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void FileSyncer::request()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        pending_ = true;
    }
    wake_.notify_one();
}

void FileSyncer::run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_) {
            return;
        }
        pending_ = false;
        lock.unlock();
        syncOnce();
        lock.lock();
    }
}

void FileSyncer::syncOnce()
{
    const int result = sync_(fd_);
    const int error = errno;
    // EINVAL: a pipe or a device such as a terminal, which has nothing to sync.
    if (result != 0 && error != EINVAL && error_.load() == 0) {
        error_.store(error);
    }
}
