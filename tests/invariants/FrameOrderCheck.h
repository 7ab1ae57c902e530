#pragma once

#include "InvariantCheck.h"
#include "StationJournal.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

class ScpiClient;
class SimFrameLog;
class ViolationBook;

// 3: frames in the order they were asked for. Every setpoint commanded
// before an output-on is on the line before the frame that switches it on,
// and a setpoint commanded after an output-off does not reach the supply
// while the output is still on. An off the controller holds back until a
// toggle on its way shows leaves no trace in its signals: it is known from
// what asked for it (an SCPI line, the timer, the program's stop).
class FrameOrderCheck final : public InvariantCheck {
public:
    FrameOrderCheck(StationJournal& journal, const SimFrameLog& log, const ScpiClient* scpi, ViolationBook& book);

    void commanded(const StationJournal::Command& command);
    void outputAsked(const StationJournal::OutputAsk& ask);
    // Something asked for the output off; it is held back when the output still heads on.
    void offRequested(const std::string& by);
    void onEvent(const SimEvent& event, const ToggleLedger::Match* toggles) override;
    void atReplyEnd() override;

private:
    struct Off {
        Moment at;
        std::string by;
    };
    struct AfterOff {
        StationJournal::Command command;
        Off off;
    };

    void checkOn(const SimEvent& event, const ToggleLedger::Match& toggles);
    bool onLineBefore(const StationJournal::Command& command, const SimEvent& on) const;
    void checkAfterOff(const SimEvent& event);
    bool supplySideBetween(Moment from, Moment to) const;
    void noteScpiLine(const StationJournal::Command& command);

    StationJournal& journal_;
    const SimFrameLog& log_;
    const ScpiClient* scpi_;
    ViolationBook& book_;
    std::optional<Off> heldOff_;
    std::deque<AfterOff> afterOff_;
    std::uint64_t lineSerial_ = 0;
    std::size_t lineSetpoints_ = 0;
};
