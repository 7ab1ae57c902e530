#pragma once

#include "InvariantCheck.h"
#include "StationJournal.h"

class ViolationBook;

// 2: no output-on while a protection trip is latched. Nobody may ask for it
// (or take back the switch-off), no toggle asked for on may reach the supply,
// and a supply that switched itself on is switched off at its first reading.
class TripCheck final : public InvariantCheck {
public:
    // Readings in a row that may show the output on while latched: the
    // switch-off, a status that crosses it and late answers.
    static constexpr int kReadingsToSwitchOff = 10;

    TripCheck(StationJournal& journal, ViolationBook& book);

    void outputAsked(const StationJournal::OutputAsk& ask);
    void measured(const Measurement& measurement);
    void onEvent(const SimEvent& event, const ToggleLedger::Match* toggles) override;
    void atReplyEnd() override;

private:
    StationJournal& journal_;
    ViolationBook& book_;
    bool lastReadingOn_ = false;
    int onWhileLatched_ = 0;
};
