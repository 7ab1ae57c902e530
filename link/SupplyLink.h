#pragma once

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
    struct Queued {
        bool voltage = false;
        bool current = false;
        bool toggle = false; // rides on the voltage frame
        bool operator==(const Queued&) const = default;
    };

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
    void sendVoltage(std::int32_t raw);
    void sendCurrent(std::int32_t raw);
    // Changes the slot without sending it: the value the next voltage frame,
    // such as one carrying a toggle, will hold.
    void holdVoltage(std::int32_t raw);
    void holdCurrent(std::int32_t raw);
    std::int32_t voltageRaw() const;
    std::int32_t currentRaw() const;

    // The wire can only toggle the output, with a voltage frame.
    void toggleOutput();
    // Takes a toggle back; false once the worker has taken it.
    bool withdrawToggle();
    Queued queued() const;
    // Takes what waits, as the worker does when it sends; drives a line by
    // hand while no port answers.
    Queued takeQueued();

    // The model whose frames the commands go out in.
    void setModelCode(int code);
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

    std::mutex handover_;
    std::shared_ptr<LinkState> state_;
    LinkThread thread_;
    bool started_ = false;
};
