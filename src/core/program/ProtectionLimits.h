#pragma once

#include <chrono>
#include <optional>

// The software limits that switch the output off, each armed while set.
// Measured values; charge, energy and time count from when they were armed.
struct ProtectionLimits {
    enum class Limit { Voltage, Current, Power, Charge, Energy, Time };

    std::optional<double> volts;
    std::optional<double> amperes;
    std::optional<double> watts;
    std::optional<double> ampereHours;
    std::optional<double> wattHours;
    std::optional<std::chrono::seconds> time;

    // In the quantity's unit, seconds for the time.
    std::optional<double> of(Limit quantity) const;
    void set(Limit quantity, std::optional<double> value);
    bool any() const;
    // Each quantity at the lower of the two limits that are set.
    static ProtectionLimits tighter(const ProtectionLimits& one, const ProtectionLimits& other);

    bool operator==(const ProtectionLimits&) const = default;
};
