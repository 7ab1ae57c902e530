#pragma once

#include "link/AutoResetEvent.h"
#include "link/LinkState.h"
#include "link/LinkTiming.h"
#include "link/Reply.h"
#include "link/SerialPort.h"

#include <functional>
#include <memory>
#include <string>

// The only code that touches the serial port: it opens the listed ports in
// turn, polls the supply once per turn given by "EStart", hands its link the
// reply of each poll, and sends the commands it queued.
class LinkWorker {
public:
    using ReplyNotifier = std::function<void(const Reply&)>;

    LinkWorker(LinkState& state, SerialPortFactory portFactory, ReplyNotifier notifyReply, LinkTiming timing = {});

    // The thread routine; returns 0 once told to stop.
    int run();

private:
    // False when the port is held by another link or would not open.
    bool serveClaimedPort(const std::string& name);
    void servePort();
    Reply pollOnce();
    Reply readAnswer();
    bool wordsFollow(std::int32_t status);
    void sendQueuedCommands();
    void restAfterFailedOpen();
    void advancePortIndex();

    // A value read and how many of its bytes arrived.
    struct Received {
        std::int32_t value;
        int count;
    };

    void writeBytes(std::int32_t value, int count);
    Received readBytes(int count);
    void pauseFor(std::chrono::milliseconds duration);

    LinkState& state_;
    SerialPortFactory portFactory_;
    ReplyNotifier notifyReply_;
    LinkTiming timing_;

    std::unique_ptr<SerialPort> port_;
    AutoResetEvent pauseEvent_{true};
    int failedOpensInRow_ = 0;
};
