#pragma once

#include "SimEvent.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

class SimulatedSupply;

// The simulated supply's frame log, kept as it is written (by its worker and
// by its console) and read back as events; it follows the supply's output
// through toggles, its own switch, power and the idle-link switch-off.
class SimFrameLog {
public:
    // The supply switches its output off after this long without a poll.
    static constexpr std::chrono::milliseconds kWatchdog{2000};

    void attach(SimulatedSupply& supply);
    // A note of the harness's own, such as a supply plugged back in.
    void note(const std::string& text);
    // The events logged since the last call, in order.
    std::vector<SimEvent> take();
    // What was taken before, for looking back; the last minute or so.
    const std::deque<SimEvent>& history() const { return history_; }
    // The last lines, for a report.
    std::vector<std::string> tail(std::size_t count) const;

private:
    struct Line {
        Moment at;
        std::string text;
    };

    void append(const std::string& text);
    SimEvent parse(const Line& line);
    void parseCommand(SimEvent& event, const std::string& text) const;
    void follow(SimEvent& event);
    void followChange(SimEvent& event);

    std::mutex mutex_;
    std::vector<Line> fresh_;
    std::deque<SimEvent> history_;
    bool output_ = false;
    bool silent_ = false;
    Moment lastPoll_{};
};
