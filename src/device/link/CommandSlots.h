#pragma once

#include "link/RawSetpoint.h"
#include "supply/Quantity.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

// The commands queued for the worker. A newer setpoint of one kind replaces
// an older one that has not left, but the frames go out in the order their
// commands were given wherever that order matters: a setpoint given before an
// output switch is on the line before the switch, one given after it goes
// after. Elsewhere the voltage frame goes first. Nothing is queued for a line
// whose supply is not identified, and what waits is dropped when it is lost.
class CommandSlots {
public:
    struct Frame {
        Quantity quantity;
        std::int32_t raw;
        bool toggle;
        int modelCode;
        bool operator==(const Frame&) const = default;
    };

    struct Pending {
        bool voltage = false; // a voltage frame, with or without the toggle
        bool current = false;
        bool toggle = false;
        bool operator==(const Pending&) const = default;
    };

    // The supply on the line is known as this model: its frames carry the code.
    void identify(int modelCode);
    // The supply on the line is gone: what waits is dropped and nothing more is taken.
    Pending forget();
    int modelCode() const;

    // False when no supply is identified: the command is not queued.
    bool queueVoltage(std::int32_t raw);
    bool queueCurrent(std::int32_t raw);
    bool queueToggle();
    // Takes a toggle back; false once the worker has taken it.
    bool withdrawToggle();
    // A toggle that must wait for the supply to report the last one keeps
    // its place: setpoints given after it wait until it is released, then
    // follow it, or until it is cancelled.
    void deferToggle();
    void releaseDeferredToggle();
    void cancelDeferredToggle();

    // The values the next frames hold, without sending them.
    void holdVoltage(std::int32_t raw);
    void holdCurrent(std::int32_t raw);
    std::int32_t voltageRaw() const { return voltage_.load(); }
    std::int32_t currentRaw() const { return current_.load(); }

    Pending pending() const;
    // Everything that waits, as the frames to write in order; empties the slots.
    std::vector<Frame> take();
    // Empties the slots without writing anything.
    Pending clear();

private:
    // What is free to go at a take.
    struct Due {
        bool voltage;
        bool current;
        // Given before the toggle, which has not gone yet, so always due.
        std::optional<std::int32_t> currentBefore;
    };

    Pending pendingLocked() const;
    void takeWithoutToggle(const Due& now, std::vector<Frame>& frames) const;
    void takeAroundToggle(const Due& now, std::vector<Frame>& frames) const;
    Frame frame(Quantity quantity, std::int32_t raw, bool toggle) const { return {quantity, raw, toggle, modelCode_}; }
    // Given before any deferred toggle, so free to go.
    bool due(std::uint64_t at) const { return at != 0 && (deferredAt_ == 0 || at < deferredAt_); }
    Pending clearLocked();

    mutable std::mutex mutex_;
    RawSetpoint voltage_;
    RawSetpoint current_;
    // The order of the waiting commands; 0 when none waits of that kind.
    std::uint64_t given_ = 0;
    std::uint64_t voltageAt_ = 0;
    std::uint64_t currentAt_ = 0;
    std::uint64_t toggleAt_ = 0;
    std::uint64_t deferredAt_ = 0;
    // The voltage the toggle carries once a newer voltage was given after it.
    std::int32_t toggleVoltage_ = 0;
    // A current given before a waiting toggle, once a newer one was given after it.
    std::optional<std::int32_t> currentBefore_;
    int modelCode_ = -1;
};
