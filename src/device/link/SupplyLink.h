#pragma once

#include "link/CommandSlots.h"
#include "link/LinkThread.h"
#include "link/LinkTiming.h"
#include "link/Reply.h"
#include "link/SerialPort.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class PortClaims;
struct LinkState;

// One supply line: a worker on its own thread that polls the listed ports in
// turn and sends the commands queued here. Each link has its own state and
// events, so several live in one process without meeting. Its replies arrive
// on the thread that made it, one per poll; the next poll waits until every
// receiver of `replied` has returned.
class SupplyLink final : public QObject {
    Q_OBJECT

public:
    // The commands waiting for the worker to send them after its next poll.
    using Queued = CommandSlots::Pending;

    static constexpr std::chrono::milliseconds kStopTimeout = LinkThread::kFinishTimeout;

    explicit SupplyLink(SerialPortFactory portFactory = {}, LinkTiming timing = {}, QObject* parent = nullptr);
    ~SupplyLink() override;

    // The ports the program's other links hold, passed over here; before start().
    void shareClaims(std::shared_ptr<PortClaims> claims);
    // Polls these ports in this order. A link starts once, with nothing queued.
    void start(std::vector<std::string> portNames);
    // Closes the port and ends the worker, waiting a bounded time for it; no
    // reply is passed on afterwards.
    void stop();
    bool isRunning() const;
    bool stopped() const;

    const std::vector<std::string>& portNames() const;
    const std::string& currentPortName() const;

    // Setpoints in thousandths of full scale; every one is clamped to it.
    // False, and nothing queued, while no supply is identified.
    bool sendVoltage(std::int32_t raw);
    bool sendCurrent(std::int32_t raw);
    // Changes the slot without sending it: the value the next voltage frame,
    // such as one carrying a toggle, will hold.
    void holdVoltage(std::int32_t raw);
    void holdCurrent(std::int32_t raw);
    std::int32_t voltageRaw() const;
    std::int32_t currentRaw() const;

    // The wire can only toggle the output, with a voltage frame. False, and
    // nothing queued, while no supply is identified.
    bool toggleOutput();
    // Takes a toggle back; false once the worker has taken it.
    bool withdrawToggle();
    // A toggle that waits for the last one to be reported keeps its place
    // among the commands (see CommandSlots).
    void deferToggle();
    void releaseDeferredToggle();
    void cancelDeferredToggle();
    Queued queued() const;
    // Takes what waits, as the worker does when it sends; drives a line by
    // hand while no port answers.
    Queued takeQueued();

    // The model whose frames the commands go out in: until it is set, and
    // again once it is forgotten, nothing is queued or sent.
    void setModelCode(int code);
    // The supply is gone: what waited is dropped, and returned.
    Queued forgetModel();
    // -1 while none is identified.
    int modelCode() const;
    // While the controls are live a status with the output bit has its words.
    void setControlsLive(bool live);
    // Leaves the port after this poll and tries the next one.
    void dropPort();
    bool dropRequested() const;

signals:
    void replied(const Reply& reply);

protected:
    bool event(QEvent* event) override;

private:
    void post(const Reply& reply);
    bool wake(bool queued);

    std::mutex handover_;
    std::shared_ptr<LinkState> state_;
    LinkThread thread_;
    bool started_ = false;
};
