#pragma once

#include "Moment.h"

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

// A remote client on a real socket. Each action's line is followed by
// "*OPC?;:SYST:ERR:ALL?;*IDN?", which the server holds until the line is
// complete, so that every line is answered with the errors it left; the
// next line goes out once those are in, so that whatever the server does
// meanwhile for this client was that line's doing.
class ScpiClient final : public QObject {
    Q_OBJECT

public:
    // The server numbers its clients from 1, and this is its only one.
    static constexpr std::uint64_t kClient = 1;
    static constexpr std::chrono::seconds kPatience{15};

    struct Line {
        std::uint64_t serial = 0;
        std::size_t action = 0;
        std::string text;
        Moment sent;
        std::optional<std::string> answer; // to the line's own queries, when it had any that ran
        Moment answered;
        std::string errors; // the error queue after it, as SYST:ERR:ALL? gave it
        Moment closed; // when the errors came
        bool timedOut = false;
    };

    explicit ScpiClient(quint16 port);
    ~ScpiClient() override;
    ScpiClient(const ScpiClient&) = delete;
    ScpiClient& operator=(const ScpiClient&) = delete;
    bool connectToServer();
    void send(const std::string& text, std::size_t action);
    // The line written whose errors have not come back yet.
    const Line* current() const { return current_ ? &*current_ : nullptr; }
    bool idle() const { return !current_ && queue_.empty(); }
    // Once a line's errors are in.
    std::function<void(const Line&)> finished;

private:
    void next();
    void readAnswers();
    void take(const std::string& text);
    void giveUp();

    quint16 port_;
    QTcpSocket socket_;
    QTimer patience_;
    std::deque<Line> queue_;
    std::optional<Line> current_;
    std::uint64_t serial_ = 0;
};
