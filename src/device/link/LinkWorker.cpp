#include "link/LinkWorker.h"

#include "supply/WireProtocol.h"

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
    port_ = portFactory_();

    while (!state_.stopLink.load() && state_.portCount() > 0) {
        if (!serveClaimedPort(state_.currentPortName())) {
            restAfterFailedOpen();
        }
        advancePortIndex();
    }
    port_.reset();
    return 0;
}

// A port another link holds is passed over as one that would not open.
bool LinkWorker::serveClaimedPort(const std::string& name)
{
    if (!state_.claims->claim(name)) {
        return false;
    }
    const bool opened = port_->open(name);
    if (opened) {
        failedOpensInRow_ = 0;
        servePort();
    }
    state_.claims->release(name);
    return opened;
}

void LinkWorker::servePort()
{
    writeBytes(WireProtocol::kPollByte, 1);
    pauseFor(timing_.afterOpen);
    while (!state_.dropPort.load()) {
        state_.startEvent.wait();
        // The link wakes a worker waiting for its turn when it stops.
        if (state_.stopLink.load()) {
            break;
        }
        const Reply reply = pollOnce();
        notifyReply_(reply);
        pauseEvent_.waitFor(timing_.pause);
        state_.transmitEvent.waitFor(timing_.transmitWait);
        // A supply that did not answer is forgotten once the reply is acted
        // on, which a loaded machine may not have done yet: its line gets
        // nothing meanwhile.
        if (reply.kind() != ReplyKind::NoAnswer) {
            sendQueuedCommands();
        }
    }
    state_.dropPort.store(false);
    port_->close();
}

// Reads the answer to the previous poll before writing the next one: what is
// left over then cannot belong to the next answer, and is dropped, because the
// answer has no framing and one byte too many or too few would put every
// later answer out of step.
Reply LinkWorker::pollOnce()
{
    Reply reply = readAnswer();
    port_->discardInput();
    writeBytes(WireProtocol::kPollByte, 1);
    return reply;
}

// A word that arrived whole is kept whatever its value: an output on with no
// load reads a current of 0. A word cut short ends the answer, which then has
// two values, so it is never taken for a status alone nor for a full one.
Reply LinkWorker::readAnswer()
{
    Reply reply;
    reply.status = readBytes(1).value;
    if (!wordsFollow(reply.status)) {
        return reply;
    }
    const Received voltage = readBytes(2);
    if (voltage.count == 0) {
        return reply;
    }
    reply.voltageWord = voltage.value;
    if (voltage.count < 2) {
        return reply;
    }
    const Received current = readBytes(2);
    if (current.count == 2) {
        reply.currentWord = current.value;
    }
    return reply;
}

// A status with the output bit is taken alone until the controls are live,
// unless its words came with it: a supply whose output is already on when it
// is found sends them.
bool LinkWorker::wordsFollow(std::int32_t status)
{
    if (status == 0) {
        return false;
    }
    return status < WireProtocol::kOutputOnBit || state_.controlsLive.load()
        || port_->waiting() >= 2 * sizeof(std::uint16_t);
}

void LinkWorker::sendQueuedCommands()
{
    for (const CommandSlots::Frame& frame : state_.commands.take()) {
        const auto bytes = frame.quantity == Quantity::Voltage
            ? WireProtocol::setVoltageFrame(frame.modelCode, frame.raw, frame.toggle)
            : WireProtocol::setCurrentFrame(frame.modelCode, frame.raw);
        port_->write(bytes.data(), bytes.size());
        pauseFor(timing_.afterCommand);
    }
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
