#pragma once

#include "SimEvent.h"
#include "ToggleLedger.h"

// One invariant, judged on the frame log as it grows and at the end of every
// reply, once every observer has acted on it.
class InvariantCheck {
public:
    InvariantCheck() = default;
    InvariantCheck(const InvariantCheck&) = delete;
    InvariantCheck& operator=(const InvariantCheck&) = delete;
    virtual ~InvariantCheck() = default;

    // Each event of the frame log in order; a toggle frame comes with the toggles it carried.
    virtual void onEvent(const SimEvent& /*event*/, const ToggleLedger::Match* /*toggles*/) { }
    virtual void atReplyEnd() { }
};
