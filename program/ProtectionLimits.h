#pragma once

#include <chrono>
#include <optional>

// The software limits that switch the output off, each armed while set.
// Measured values; charge, energy and time count from when they were armed.
struct ProtectionLimits {
    enum class Quantity { Voltage, Current, Power, Charge, Energy, Time };

    std::optional<double> volts;
    std::optional<double> amperes;
    std::optional<double> watts;
    std::optional<double> ampereHours;
    std::optional<double> wattHours;
    std::optional<std::chrono::seconds> time;

    bool operator==(const ProtectionLimits&) const = default;
};
