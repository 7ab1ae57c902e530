#include "controller/OutputSwitch.h"

#include "link/SupplyLink.h"

#include <utility>

OutputSwitch::OutputSwitch(SupplyLink& link)
    : link_(link)
{
}

void OutputSwitch::toggle()
{
    startToggle();
    link_.toggleOutput();
}

void OutputSwitch::startToggle()
{
    inFlight_ = true;
    pinned_ = false;
    fromOn_ = reportedOn_;
    staleStatuses_ = 0;
}

bool OutputSwitch::heading() const
{
    return inFlight_ ? !fromOn_ : reportedOn_;
}

// A deferred request keeps its place among the commands: setpoints given
// after it wait in the link until its toggle goes, or it turns out not needed.
OutputSwitch::Outcome OutputSwitch::request(bool on)
{
    const std::optional<bool> earlier = std::exchange(followUp_, std::nullopt);
    const Outcome outcome = decide(on);
    if (outcome == Outcome::Deferred && earlier == on) {
        return outcome;
    }
    if (earlier) {
        link_.cancelDeferredToggle();
    }
    if (outcome == Outcome::Deferred) {
        link_.deferToggle();
    }
    return outcome;
}

OutputSwitch::Outcome OutputSwitch::decide(bool on)
{
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
        link_.cancelDeferredToggle();
        return false;
    }
    startToggle();
    link_.releaseDeferredToggle();
    return true;
}

void OutputSwitch::dropFollowUp()
{
    if (followUp_) {
        followUp_.reset();
        link_.cancelDeferredToggle();
    }
}

// A follow-up's deferred toggle goes with it: left in the link, it would
// hold back every command given after it.
void OutputSwitch::linkLost()
{
    inFlight_ = false;
    dropFollowUp();
}
