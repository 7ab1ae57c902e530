#include "supply/OutputSwitch.h"

#include "link/SupplyLink.h"

OutputSwitch::OutputSwitch(SupplyLink& link)
    : link_(link)
{
}

void OutputSwitch::toggle()
{
    inFlight_ = true;
    pinned_ = false;
    fromOn_ = reportedOn_;
    staleStatuses_ = 0;
    link_.toggleOutput();
}

bool OutputSwitch::heading() const
{
    return inFlight_ ? !fromOn_ : reportedOn_;
}

OutputSwitch::Outcome OutputSwitch::request(bool on)
{
    followUp_.reset();
    if (heading() == on) {
        return Outcome::Nothing;
    }
    if (!inFlight_) {
        toggle();
        return Outcome::Toggled;
    }
    // Whichever of the worker and this exchange comes first owns the toggle.
    if (!pinned_ && link_.withdrawToggle()) {
        inFlight_ = false;
        return Outcome::Withdrawn;
    }
    followUp_ = on;
    return Outcome::Deferred;
}

bool OutputSwitch::statusSeen()
{
    const bool on = reportedOn_;
    if (inFlight_ && (on != fromOn_ || ++staleStatuses_ > kStaleStatuses)) {
        inFlight_ = false;
    }
    if (inFlight_ || !followUp_) {
        return false;
    }
    const bool wanted = *followUp_;
    followUp_.reset();
    if (wanted == on) {
        return false;
    }
    toggle();
    return true;
}

void OutputSwitch::linkLost()
{
    inFlight_ = false;
    followUp_.reset();
}
