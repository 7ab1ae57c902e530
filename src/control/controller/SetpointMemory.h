#pragma once

#include "supply/Quantity.h"

#include <cstdint>
#include <optional>

class SupplyLink;
struct ModelProfile;

// What the controller knows of the supply's setpoints. The link's slots hold
// them in raw units; each is known or not, for a supply found with its output
// on tells only the setpoint of the quantity it regulates.
class SetpointMemory {
public:
    SetpointMemory(SupplyLink& link, const ModelProfile& profile);

    // Known from now on, and on its way to the supply as the step at or below
    // the value, whoever asked for it; the value that step stands for.
    double send(Quantity quantity, double value);
    // The value of the step a setpoint would be sent as.
    double voltageStep(double volts) const;
    double currentStep(double amperes) const;
    // The first full status of a supply found: with the output off both words
    // are setpoints, with it on only the regulating quantity's.
    void adopt(bool outputOn, bool voltageRegulated);
    // With the output off a word is the setpoint: one not known is learned,
    // and its value returned. `settled`: every command has reached the
    // supply, so a word that differs from the one held, twice in a row so
    // that garbage on the line does not pass for it, is what it holds (a
    // frame it ignored or never read).
    std::optional<double> learnVoltage(std::int32_t raw, bool settled);
    std::optional<double> learnCurrent(std::int32_t raw, bool settled);
    // A command of that quantity may not have reached the supply.
    void forget(Quantity quantity) { (quantity == Quantity::Voltage ? voltageKnown_ : currentKnown_) = false; }
    // A voltage frame carries the slot as it stands: the value it sends when
    // the voltage was not known, which from now on it is.
    std::optional<double> takeUnknownVoltage();

    // At the supply's own resolution: the raw value held times full scale over 1000.
    std::optional<double> heldVoltage() const;
    std::optional<double> heldCurrent() const;

private:
    SupplyLink& link_;
    const ModelProfile& profile_;
    std::optional<double> learn(std::int32_t raw, bool settled, Quantity quantity);

    bool voltageKnown_ = false;
    bool currentKnown_ = false;
    // A word that differed from the setpoint held, waiting to be seen again.
    std::optional<std::int32_t> voltageSeen_;
    std::optional<std::int32_t> currentSeen_;
};
