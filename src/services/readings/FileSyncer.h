#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Pushes what was written to a file down to its medium on a thread of its
// own: a power cut then loses at most the newest lines, and the writer never
// waits for the disk.
class FileSyncer {
public:
    // Stands in for fdatasync(2); tests put a failing one in.
    using Sync = std::function<int(int fd)>;

    explicit FileSyncer(int fd, Sync sync = {});
    // Syncs once more if asked to, then stops; the descriptor stays open.
    ~FileSyncer();
    FileSyncer(const FileSyncer&) = delete;
    FileSyncer& operator=(const FileSyncer&) = delete;

    // After each write; requests made while a sync runs share the next one.
    void request();
    // 0, or the errno of the first sync that failed.
    int error() const { return error_.load(); }

private:
    void run();
    void syncOnce();

    int fd_;
    Sync sync_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool pending_ = false;
    bool stopping_ = false;
    std::atomic<int> error_{0};
    std::thread thread_;
};
