#pragma once

#include "link/AutoResetEvent.h"
#include "link/LinkState.h"

#include <memory>
#include <optional>

// Switches the supply's output, which the wire can only toggle. It remembers a
// toggle still on its way (queued, or sent but not yet reported by a status),
// so that asking for a state sends exactly the toggles that state needs,
// however quickly the requests follow each other.
class OutputSwitch {
public:
    enum class Outcome { Nothing, Toggled, Withdrawn };

    // Statuses that may still show the old state after a toggle: one answered
    // before the frame went out, and one late answer.
    static constexpr int kStaleStatuses = 3;

    OutputSwitch(LinkState& state, std::shared_ptr<AutoResetEvent> transmit);

    // One toggle, as the output buttons ask for it.
    void toggle();
    // Brings the output to `on`. A toggle on its way the other way is taken
    // back while it has not left, or followed by another once it is reported.
    Outcome request(bool on);
    // After each status of the identified supply has updated outputOn; true
    // when it queued the toggle a request was waiting for.
    bool statusSeen();
    // The link went: what was on its way is no longer known.
    void linkLost();
    // The state the output is in, or on its way to.
    bool heading() const;

private:

    LinkState& state_;
    std::shared_ptr<AutoResetEvent> transmit_;
    bool inFlight_ = false;
    bool fromOn_ = false;
    int staleStatuses_ = 0;
    std::optional<bool> followUp_;
};
