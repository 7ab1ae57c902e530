#pragma once

#include "controller/Measurement.h"
#include "engine/ProgramEngine.h"
#include "program/ProtectionLimits.h"

#include <cmath>
#include <optional>
#include <string>

// One supply's outward state at one moment, as every report of it tells it.
// What is not known now is empty, never an old or rounded value.
struct OutwardState {
    // Its model is known; setpoints and the model are told only then.
    bool identified = false;
    // Identified, and its controls follow its full statuses since the link came up.
    bool linkUp = false;
    // Identified, but no full status for SupplyController::kStaleAfter, or none yet.
    bool stale = false;
    std::string model; // empty until identified
    // The newest full status while it is the present one: none while stale,
    // with the link down or before the first. Nothing is delivered while the
    // output is off, so it reads 0 V and 0 A then.
    std::optional<Measurement> reading;
    // As the supply reports it; none while the link is down.
    std::optional<bool> outputOn;
    // The setpoints the supply holds: the raw value last sent (or taken up)
    // times full scale over 1000. None while not known, as for a supply found
    // with its output on, which tells only the regulating quantity's.
    std::optional<double> voltageSetpoint;
    std::optional<double> currentSetpoint;
    std::optional<ProtectionLimits::Limit> trip; // latched until cleared
    ProgramEngine::State program = ProgramEngine::State::Idle;
    int programStep = 0; // the running or paused step; 0 while idle

    std::optional<double> volts() const { return reading ? std::optional(reading->volts) : std::nullopt; }
    std::optional<double> amperes() const { return reading ? std::optional(reading->amperes) : std::nullopt; }
    // Readings have at most four decimals, so their product has eight: to
    // those, it is exact and written in its shortest form.
    std::optional<double> watts() const
    {
        constexpr double kEightDecimals = 1e8;
        return reading ? std::optional(std::round(reading->volts * reading->amperes * kEightDecimals) / kEightDecimals)
                       : std::nullopt;
    }
    // CV or CC: only while a present reading has the output on.
    std::optional<bool> voltageRegulated() const
    {
        return reading && reading->outputOn ? std::optional(reading->voltageRegulated) : std::nullopt;
    }
};
