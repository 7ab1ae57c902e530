#include "link/LinkThread.h"

#include "link/EventRegistry.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cstdio>

LinkThread::LinkThread(
    LinkState& state, SerialPortFactory portFactory, LinkWorker::ReplyNotifier notifyReply, LinkTiming timing)
    : state_(state)
    , shared_(std::make_shared<Shared>())
{
    shared_->notifyReply = std::move(notifyReply);
    auto notify = [shared = shared_] {
        const std::lock_guard lock(shared->mutex);
        if (shared->notifyReply) {
            shared->notifyReply();
        }
    };
    worker_ = std::make_unique<LinkWorker>(state, std::move(portFactory), std::move(notify), timing);
}

LinkThread::~LinkThread()
{
    if (thread_ == nullptr) {
        return;
    }
    // Normally the supply controller has already told the worker to stop.
    state_.dropPort.store(1);
    state_.stopLink.store(1);
    EventRegistry::obtain(LinkEvents::kTransmit, false)->set();
    if (finish(kFinishTimeout)) {
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
    thread_ = QThread::create([worker = worker_.get()] { worker->run(); });
    thread_->start();
}

bool LinkThread::isRunning() const
{
    return thread_ != nullptr && thread_->isRunning();
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
    EventRegistry::obtain(LinkEvents::kStart, true)->set();
    return thread_->wait(QDeadlineTimer(timeout.count()));
}
