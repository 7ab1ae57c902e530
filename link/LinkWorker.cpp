#include "link/LinkWorker.h"

#include "link/EventRegistry.h"
#include "link/WireProtocol.h"

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
        // The supply controller wakes a worker waiting for its turn when it shuts down.
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

// Reads the answer to the previous poll before writing the next one: what is
// left over then cannot belong to the next answer, and is dropped, because the
// answer has no framing and one byte too many or too few would put every
// later answer out of step.
void LinkWorker::pollOnce()
{
    readAnswer();
    port_->discardInput();
    writeBytes(state_.pollByte.load(), 1);
}

// A word that arrived whole is kept whatever its value: an output on with no
// load reads a current of 0. A word cut short ends the answer, which then has
// two values, so it is never taken for a status alone nor for a full one.
void LinkWorker::readAnswer()
{
    const std::int32_t status = readBytes(1).value;
    state_.replyValues.push_back(status);
    if (!wordsFollow(status)) {
        return;
    }
    const Received voltage = readBytes(2);
    if (voltage.count == 0) {
        return;
    }
    state_.replyValues.push_back(voltage.value);
    if (voltage.count < 2) {
        return;
    }
    const Received current = readBytes(2);
    if (current.count == 2) {
        state_.replyValues.push_back(current.value);
    }
}

// A status with the output bit is taken alone until the controls are live,
// unless its words came with it: a supply whose output is already on when it
// is found sends them.
bool LinkWorker::wordsFollow(std::int32_t status)
{
    if (status == 0) {
        return false;
    }
    return status < WireProtocol::kOutputOnBit || state_.controlsLive.load() != 0
        || port_->waiting() >= 2 * sizeof(std::uint16_t);
}

void LinkWorker::sendQueuedCommands()
{
    // Each flag is cleared before its value is taken, so a value the controller
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
    if (failedOpensInRow_ >= state_.portCount()) {
        failedOpensInRow_ = 0;
        pauseFor(timing_.afterFailedRound);
    }
}

void LinkWorker::advancePortIndex()
{
    state_.portIndex.store((state_.portIndex.load() + 1) % state_.portCount());
}

void LinkWorker::writeBytes(std::int32_t value, int count)
{
    std::uint8_t bytes[2]{};
    WireProtocol::putLittleEndian(value, bytes, count);
    port_->write(bytes, static_cast<std::size_t>(count));
}

LinkWorker::Received LinkWorker::readBytes(int count)
{
    std::uint8_t bytes[2]{};
    const auto got = static_cast<int>(port_->read(bytes, static_cast<std::size_t>(count)));
    return {WireProtocol::fromLittleEndian(bytes, got), got};
}

void LinkWorker::pauseFor(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}
