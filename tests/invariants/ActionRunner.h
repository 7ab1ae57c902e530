#pragma once

#include "Action.h"
#include "WindowModel.h"

#include <QObject>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <vector>

class CheckSet;
class MqttPeer;
class ScpiClient;
class SimConsole;
class SimFrameLog;
class SupplyStation;
class ViolationBook;

// Issues a run's actions in order, each after its gap, and those marked so
// inside the next reply's handling: through the calls the window makes, the
// remote client's socket, the MQTT broker, the program engine, the
// protection limits and the simulator's console. An action the window would
// not allow now (a greyed button, hidden edits) is skipped.
class ActionRunner final : public QObject {
    Q_OBJECT

public:
    struct Parts {
        SupplyStation& station;
        SimConsole& console;
        SimFrameLog& log;
        ScpiClient& scpi;
        MqttPeer* mqtt;
        CheckSet& checks;
        ViolationBook& book;
    };

    ActionRunner(const Parts& parts, std::vector<Action> actions);
    void start();
    // A reply's handling is over; the action waiting for it goes now.
    void atReply();
    bool done() const { return next_ >= actions_.size() && !waiting_; }
    std::size_t issued() const { return next_; }
    std::size_t skipped() const { return skipped_; }

private:
    static constexpr std::chrono::milliseconds kReplyPatience{1000};

    void scheduleNext();
    void due();
    void issue();
    bool perform(const Action& action);
    bool performWindow(const Action& action);
    bool performTimer(const Action& action);
    bool performProgram(const Action& action);
    bool performSim(const Action& action);

    Parts parts_;
    std::vector<Action> actions_;
    WindowModel window_;
    QTimer gap_;
    QTimer patience_;
    std::size_t next_ = 0;
    std::size_t skipped_ = 0;
    bool waiting_ = false;
};
