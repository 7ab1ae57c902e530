#pragma once

#include "link/LinkState.h"
#include "link/LinkTiming.h"
#include "link/LinkWorker.h"
#include "link/SerialPort.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

class QThread;

// Runs a LinkWorker on a thread of its own and makes sure that, once the
// link has told the worker to stop, the thread is gone before the link is.
class LinkThread {
public:
    LinkThread(std::shared_ptr<LinkState> state, SerialPortFactory portFactory, LinkWorker::ReplyNotifier notifyReply,
        LinkTiming timing = {});
    ~LinkThread();
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;

    void start();
    bool isRunning() const;

    // Wakes a worker that waits for its next turn and waits a bounded time for
    // it to close its port and return. The caller has already raised the stop
    // flags. No reply is passed on afterwards. True when the thread ended.
    bool finish(std::chrono::milliseconds timeout);

    static constexpr std::chrono::milliseconds kFinishTimeout{450};

private:
    // Shared with the thread, which may outlive this object if it hangs.
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        LinkWorker::ReplyNotifier notifyReply;
    };

    std::shared_ptr<LinkState> state_;
    std::shared_ptr<Shared> shared_;
    std::unique_ptr<LinkWorker> worker_;
    // A QThread, so that the serial port has the event dispatcher it expects.
    QThread* thread_ = nullptr;
};
