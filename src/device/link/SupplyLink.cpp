#include "link/SupplyLink.h"

#include "link/LinkReplyEvent.h"
#include "link/LinkState.h"
#include "link/QtSerialPort.h"

#include <QCoreApplication>

SupplyLink::SupplyLink(SerialPortFactory portFactory, LinkTiming timing, QObject* parent)
    : QObject(parent)
    , state_(std::make_shared<LinkState>())
    , thread_(
          state_, portFactory ? std::move(portFactory) : QtSerialPort::factory(),
          [this](const Reply& reply) { post(reply); }, timing)
{
}

SupplyLink::~SupplyLink()
{
    stop();
}

void SupplyLink::shareClaims(std::shared_ptr<PortClaims> claims)
{
    if (!started_) {
        state_->claims = std::move(claims);
    }
}

void SupplyLink::start(std::vector<std::string> portNames)
{
    if (started_) {
        return;
    }
    started_ = true;
    state_->portNames = std::move(portNames);
    state_->commands.holdVoltage(0);
    state_->commands.holdCurrent(0);
    takeQueued();
    thread_.start();
}

void SupplyLink::stop()
{
    if (state_->stopLink.exchange(true)) {
        return;
    }
    state_->dropPort.store(true);
    state_->transmitEvent.set();
    // Waiting for the worker guarantees that it has closed the port and no
    // longer posts to this object.
    thread_.finish(LinkThread::kFinishTimeout);
}

bool SupplyLink::isRunning() const
{
    return thread_.isRunning();
}

bool SupplyLink::stopped() const
{
    return state_->stopLink.load();
}

const std::vector<std::string>& SupplyLink::portNames() const
{
    return state_->portNames;
}

const std::string& SupplyLink::currentPortName() const
{
    return state_->currentPortName();
}

bool SupplyLink::sendVoltage(std::int32_t raw)
{
    return wake(state_->commands.queueVoltage(raw));
}

bool SupplyLink::sendCurrent(std::int32_t raw)
{
    return wake(state_->commands.queueCurrent(raw));
}

void SupplyLink::holdVoltage(std::int32_t raw)
{
    state_->commands.holdVoltage(raw);
}

void SupplyLink::holdCurrent(std::int32_t raw)
{
    state_->commands.holdCurrent(raw);
}

std::int32_t SupplyLink::voltageRaw() const
{
    return state_->commands.voltageRaw();
}

std::int32_t SupplyLink::currentRaw() const
{
    return state_->commands.currentRaw();
}

bool SupplyLink::toggleOutput()
{
    return wake(state_->commands.queueToggle());
}

bool SupplyLink::wake(bool queued)
{
    if (queued) {
        state_->transmitEvent.set();
    }
    return queued;
}

void SupplyLink::deferToggle()
{
    state_->commands.deferToggle();
}

void SupplyLink::releaseDeferredToggle()
{
    state_->commands.releaseDeferredToggle();
    state_->transmitEvent.set();
}

void SupplyLink::cancelDeferredToggle()
{
    state_->commands.cancelDeferredToggle();
    state_->transmitEvent.set();
}

bool SupplyLink::withdrawToggle()
{
    return state_->commands.withdrawToggle();
}

SupplyLink::Queued SupplyLink::queued() const
{
    return state_->commands.pending();
}

SupplyLink::Queued SupplyLink::takeQueued()
{
    return state_->commands.clear();
}

void SupplyLink::setModelCode(int code)
{
    state_->commands.identify(code);
}

SupplyLink::Queued SupplyLink::forgetModel()
{
    return state_->commands.forget();
}

int SupplyLink::modelCode() const
{
    return state_->commands.modelCode();
}

void SupplyLink::setControlsLive(bool live)
{
    state_->controlsLive.store(live);
}

void SupplyLink::dropPort()
{
    state_->dropPort.store(true);
}

bool SupplyLink::dropRequested() const
{
    return state_->dropPort.load();
}

// Qt's hand-over of a posted event is invisible to the thread checker: the
// event is built under a lock the receiving side takes before it looks at it.
void SupplyLink::post(const Reply& reply)
{
    LinkReplyEvent* event = nullptr;
    {
        const std::lock_guard lock(handover_);
        event = new LinkReplyEvent(reply);
    }
    QCoreApplication::postEvent(this, event);
}

// The turn goes back to the worker only once the reply has been dealt with,
// so the commands it caused go out after this very poll.
bool SupplyLink::event(QEvent* event)
{
    {
        const std::lock_guard lock(handover_);
    }
    if (event->type() != LinkReplyEvent::kType) {
        return QObject::event(event);
    }
    if (!state_->stopLink.load()) {
        emit replied(static_cast<const LinkReplyEvent*>(event)->reply());
        state_->startEvent.set();
    }
    return true;
}
