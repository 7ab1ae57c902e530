#pragma once

#include <optional>

class SupplyLink;

// Switches the supply's output, which the wire can only toggle. It remembers a
// toggle still on its way (queued, or sent but not yet reported by a status),
// so that asking for a state sends exactly the toggles that state needs,
// however quickly the requests follow each other.
class OutputSwitch {
public:
    enum class Outcome { Nothing, Toggled, Withdrawn, Deferred };

    // Statuses that may still show the old state after a toggle: one answered
    // before the frame went out, and one late answer.
    static constexpr int kStaleStatuses = 3;

    explicit OutputSwitch(SupplyLink& link);

    // One toggle, as the output buttons ask for it.
    void toggle();
    // Brings the output to `on`. A toggle on its way the other way is taken
    // back while it has not left, or followed by another once it is reported
    // (Deferred). A toggle pinned on its way is never taken back.
    Outcome request(bool on);
    // The toggle on its way must reach the supply, as a switch-off that protects it.
    void pin() { pinned_ = inFlight_; }
    // The state a deferred request waits to bring the output to, if any.
    const std::optional<bool>& followUp() const { return followUp_; }
    void dropFollowUp();
    // The output's state as the supply last reported it.
    bool reportedOn() const { return reportedOn_; }
    void report(bool on) { reportedOn_ = on; }
    // After each status of the identified supply has been reported; true
    // when it queued the toggle a request was waiting for.
    bool statusSeen();
    // The link went: what was on its way is no longer known.
    void linkLost();
    // The state the output is in, or on its way to.
    bool heading() const;

private:
    Outcome decide(bool on);
    void startToggle();

    SupplyLink& link_;
    bool reportedOn_ = false;
    bool inFlight_ = false;
    bool fromOn_ = false;
    bool pinned_ = false;
    int staleStatuses_ = 0;
    std::optional<bool> followUp_;
};
