#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// The moments of a history worth a mark: the output switched, a setpoint
// changed, the link was lost, a program's step began, a limit tripped. Each sample is compared with the last linked
// one; times are milliseconds since the history's origin.
class HistoryEvents {
public:
    enum class Kind : std::uint8_t { SetpointChange, OutputOn, OutputOff, LinkLost, ProgramStep, Trip };

    struct Event {
        double seconds; // since the history's origin
        Kind kind;
    };

    // What of a sample the comparison needs; NaN stands for an unknown setpoint.
    struct State {
        bool linked;
        bool outputOn;
        float setVoltage;
        float setCurrent;
    };

    void note(std::uint32_t ms, const State& state);
    // An event the samples do not show, at the newest sample.
    void mark(std::uint32_t ms, Kind kind) { events_.push_back({ms, kind}); }
    void clear();
    // Forgets the events older than the oldest sample kept.
    void dropBefore(std::uint32_t ms);
    // The origin moved on by shift; no event is older than it.
    void rebase(std::uint32_t shift);
    std::vector<Event> between(std::uint32_t low, std::uint32_t high) const;

private:
    struct Stored {
        std::uint32_t ms;
        Kind kind;
    };

    std::deque<Stored> events_;
    std::optional<State> lastLinked_;
};
