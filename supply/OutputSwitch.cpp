#include "supply/OutputSwitch.h"

OutputSwitch::OutputSwitch(LinkState& state, std::shared_ptr<AutoResetEvent> transmit)
    : state_(state)
    , transmit_(std::move(transmit))
{
}

void OutputSwitch::toggle()
{
    inFlight_ = true;
    fromOn_ = state_.outputOn.load() != 0;
    staleStatuses_ = 0;
    state_.toggleOutput.store(1);
    state_.voltagePending.store(1);
    transmit_->set();
}

bool OutputSwitch::heading() const
{
    return inFlight_ ? !fromOn_ : state_.outputOn.load() != 0;
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
    if (state_.toggleOutput.exchange(0) != 0) {
        inFlight_ = false;
        return Outcome::Withdrawn;
    }
    followUp_ = on;
    return Outcome::Nothing;
}

bool OutputSwitch::statusSeen()
{
    const bool on = state_.outputOn.load() != 0;
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
