#pragma once

#include "InvariantCheck.h"

class EventLogTap;
class ViolationBook;

// 4: every toggle frame was asked for by an origin, and the event log told
// who: nothing switches the output unasked.
class ToggleOriginCheck final : public InvariantCheck {
public:
    ToggleOriginCheck(const EventLogTap& tap, ViolationBook& book);

    void onEvent(const SimEvent& event, const ToggleLedger::Match* toggles) override;

private:
    bool told(const ToggleLedger::Entry& entry) const;

    const EventLogTap& tap_;
    ViolationBook& book_;
};
