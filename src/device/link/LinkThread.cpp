#include "link/LinkThread.h"

#include <QThread>

#include <cstdio>

LinkThread::LinkThread(std::shared_ptr<LinkState> state, SerialPortFactory portFactory,
    LinkWorker::ReplyNotifier notifyReply, LinkTiming timing)
    : state_(std::move(state))
    , shared_(std::make_shared<Shared>())
{
    shared_->notifyReply = std::move(notifyReply);
    auto notify = [shared = shared_](const Reply& reply) {
        const std::lock_guard lock(shared->mutex);
        if (shared->notifyReply) {
            shared->notifyReply(reply);
        }
    };
    worker_ = std::make_unique<LinkWorker>(*state_, std::move(portFactory), std::move(notify), timing);
}

LinkThread::~LinkThread()
{
    if (thread_ == nullptr) {
        return;
    }
    // Normally the link has already told the worker to stop.
    state_->dropPort.store(true);
    state_->stopLink.store(true);
    state_->transmitEvent.set();
    if (finish(kFinishTimeout)) {
        thread_->wait();
        delete thread_;
    } else {
        // A thread stuck in the driver cannot be joined; leave it to the end
        // of the process rather than destroy what it still uses.
        (void)std::fputs("tendrel-controller: the link thread did not stop in time\n", stderr);
        (void)worker_.release();
    }
}

void LinkThread::start()
{
    if (thread_ != nullptr) {
        return;
    }
    // The thread keeps what it works on, in case it outlives this object. Its
    // end is told under a lock of ours, which the thread checker can see.
    thread_ = QThread::create([worker = worker_.get(), state = state_, shared = shared_] {
        worker->run();
        const std::lock_guard lock(shared->mutex);
        shared->finished = true;
        shared->done.notify_all();
    });
    thread_->start();
}

bool LinkThread::isRunning() const
{
    const std::lock_guard lock(shared_->mutex);
    return thread_ != nullptr && !shared_->finished;
}

bool LinkThread::finish(std::chrono::milliseconds timeout)
{
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->notifyReply = nullptr;
    }
    if (thread_ == nullptr) {
        return true;
    }
    state_->startEvent.set();
    std::unique_lock lock(shared_->mutex);
    return shared_->done.wait_for(lock, timeout, [this] { return shared_->finished; });
}
