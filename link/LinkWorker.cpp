#include "link/LinkWorker.h"

#include "link/EventRegistry.h"
#include "link/WireProtocol.h"

#include <algorithm>
#include <thread>

LinkWorker::LinkWorker(LinkState& state, SerialPortFactory portFactory, ReplyNotifier notifyReply, LinkTiming timing)
    : state_(state)
    , portFactory_(std::move(portFactory))
    , notifyReply_(std::move(notifyReply))
    , timing_(timing)
{
}

int LinkWorker::run()
{
    pauseEvent_ = std::make_shared<AutoResetEvent>(true);
    transmitEvent_ = EventRegistry::obtain(LinkEvents::kTransmit, false);
    startEvent_ = EventRegistry::obtain(LinkEvents::kStart, true);
    port_ = portFactory_();

    while (state_.stopLink.load() == 0 && state_.portCount() > 0) {
        if (port_->open(state_.currentPortName())) {
            failedOpensInRow_ = 0;
            servePort();
        } else {
            restAfterFailedOpen();
        }
        advancePortIndex();
    }
    port_.reset();
    return 0;
}

void LinkWorker::servePort()
{
    writeBytes(WireProtocol::kPollByte, 1);
    pauseFor(timing_.afterOpen);
    while (state_.dropPort.load() == 0) {
        startEvent_->wait();
        // The window wakes a worker waiting for its turn when it closes.
        if (state_.stopLink.load() != 0) {
            break;
        }
        pollOnce();
        notifyReply_();
        pauseEvent_->waitFor(timing_.pause);
        transmitEvent_->waitFor(timing_.transmitWait);
        sendQueuedCommands();
    }
    state_.dropPort.store(0);
    port_->close();
}

void LinkWorker::pollOnce()
{
    writeBytes(state_.pollByte.load(), 1);
    const std::int32_t status = readBytes(1);
    state_.replyValues.push_back(status);
    const bool wordsFollow = status != 0 && (status < 128 || state_.controlsLive.load() != 0);
    if (!wordsFollow) {
        return;
    }
    for (int word = 0; word < 2; ++word) {
        const std::int32_t value = readBytes(2);
        if (value != 0) {
            state_.replyValues.push_back(value);
        }
    }
}

void LinkWorker::sendQueuedCommands()
{
    // Each flag is cleared before its value is taken, so a value the window
    // queues meanwhile raises the flag again and goes out next time.
    if (state_.voltagePending.exchange(0) == 1) {
        sendVoltage();
    }
    if (state_.currentPending.exchange(0) == 1) {
        sendCurrent();
    }
}

void LinkWorker::sendVoltage()
{
    const bool toggle = state_.toggleOutput.exchange(0) != 0;
    const auto frame = WireProtocol::setVoltageFrame(state_.modelCode.load(), state_.setVoltageRaw.load(), toggle);
    port_->write(frame.data(), frame.size());
    pauseFor(timing_.afterCommand);
}

void LinkWorker::sendCurrent()
{
    const auto frame = WireProtocol::setCurrentFrame(state_.modelCode.load(), state_.setCurrentRaw.load());
    port_->write(frame.data(), frame.size());
    pauseFor(timing_.afterCommand);
}

void LinkWorker::restAfterFailedOpen()
{
    ++failedOpensInRow_;
    const int roundLength = std::min(state_.portCount(), 256);
    if (failedOpensInRow_ >= roundLength) {
        failedOpensInRow_ = 0;
        pauseFor(timing_.afterFailedRound);
    }
}

void LinkWorker::advancePortIndex()
{
    auto next = static_cast<std::uint8_t>(state_.portIndex.load() + 1);
    if (next == state_.portCount()) {
        next = 0;
    }
    state_.portIndex.store(next);
}

void LinkWorker::writeBytes(std::int32_t value, int count)
{
    std::uint8_t bytes[2]{};
    WireProtocol::putLittleEndian(value, bytes, count);
    port_->write(bytes, static_cast<std::size_t>(count));
}

std::int32_t LinkWorker::readBytes(int count)
{
    std::uint8_t bytes[2]{};
    const std::size_t got = port_->read(bytes, static_cast<std::size_t>(count));
    return WireProtocol::fromLittleEndian(bytes, static_cast<int>(got));
}

void LinkWorker::pauseFor(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}
