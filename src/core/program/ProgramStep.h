#pragma once

#include "program/EndCondition.h"
#include "supply/Quantity.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// One step: the setpoints and output it asks for (none keeps what the supply
// has), and what ends it: its duration, the first end condition that holds,
// or its maximum duration, whichever comes first.
struct ProgramStep {
    // Moves one quantity from one value to the other over the step's duration.
    struct Ramp {
        Quantity quantity = Quantity::Voltage;
        double from = 0.0;
        double to = 0.0;
        bool operator==(const Ramp&) const = default;
    };

    std::string name;
    std::optional<double> volts;
    std::optional<double> amperes;
    std::optional<bool> output;
    // A ramp's quantity is not also set by volts or amperes; it needs a duration.
    std::optional<Ramp> ramp;
    std::optional<std::chrono::milliseconds> duration;
    std::vector<EndCondition> ends;
    // Always set once read: the duration where the file gives no other.
    std::chrono::milliseconds maxDuration{0};

    bool endsOnMeasurement() const { return !ends.empty(); }
    bool operator==(const ProgramStep&) const = default;
};
