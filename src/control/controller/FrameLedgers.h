#pragma once

#include "controller/CommandLedger.h"
#include "supply/Quantity.h"

#include <vector>

// The ledgers of the two frames commands ride on: a voltage setpoint and an
// output switch on the voltage frame, a current setpoint on the other.
class FrameLedgers {
public:
    struct Lost {
        Quantity frame;
        CommandLedger::Range range;
    };

    CommandLedger& of(Quantity frame) { return frame == Quantity::Voltage ? voltage_ : current_; }
    const CommandLedger& of(Quantity frame) const { return frame == Quantity::Voltage ? voltage_ : current_; }

    // At each reply, before it is acted on, with each frame's pending flag as
    // the worker left it: the commands a lost link may have swallowed.
    std::vector<Lost> onReply(bool answered, bool voltagePending, bool currentPending);

    // Every command is delivered: a reading now shows what the supply holds.
    bool settled() const { return voltage_.settled() && current_.settled(); }

private:
    CommandLedger voltage_;
    CommandLedger current_;
};
