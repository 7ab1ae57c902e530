#include "controller/SetpointMemory.h"

#include "link/SupplyLink.h"
#include "supply/Conversions.h"
#include "supply/ModelProfile.h"

#include <utility>

SetpointMemory::SetpointMemory(SupplyLink& link, const ModelProfile& profile)
    : link_(link)
    , profile_(profile)
{
}

double SetpointMemory::send(Quantity quantity, double value)
{
    if (quantity == Quantity::Voltage) {
        voltageKnown_ = true;
        link_.sendVoltage(Conversions::valueToRaw(value, profile_.voltageMax));
        return Conversions::rawToValue(link_.voltageRaw(), profile_.voltageMax);
    }
    currentKnown_ = true;
    link_.sendCurrent(Conversions::valueToRaw(value, profile_.currentMax));
    return Conversions::rawToValue(link_.currentRaw(), profile_.currentMax);
}

double SetpointMemory::voltageStep(double volts) const
{
    return Conversions::rawToValue(Conversions::valueToRaw(volts, profile_.voltageMax), profile_.voltageMax);
}

double SetpointMemory::currentStep(double amperes) const
{
    return Conversions::rawToValue(Conversions::valueToRaw(amperes, profile_.currentMax), profile_.currentMax);
}

void SetpointMemory::adopt(bool outputOn, bool voltageRegulated)
{
    voltageKnown_ = !outputOn || voltageRegulated;
    currentKnown_ = !outputOn || !voltageRegulated;
}

std::optional<double> SetpointMemory::learnVoltage(std::int32_t raw, bool settled)
{
    return learn(raw, settled, Quantity::Voltage);
}

std::optional<double> SetpointMemory::learnCurrent(std::int32_t raw, bool settled)
{
    return learn(raw, settled, Quantity::Current);
}

std::optional<double> SetpointMemory::learn(std::int32_t raw, bool settled, Quantity quantity)
{
    const bool voltage = quantity == Quantity::Voltage;
    bool& known = voltage ? voltageKnown_ : currentKnown_;
    std::optional<std::int32_t>& seen = voltage ? voltageSeen_ : currentSeen_;
    const std::int32_t held = voltage ? link_.voltageRaw() : link_.currentRaw();
    if (known && (!settled || raw == held)) {
        seen.reset();
        return std::nullopt;
    }
    if (known && std::exchange(seen, raw) != raw) {
        return std::nullopt;
    }
    known = true;
    seen.reset();
    if (voltage) {
        link_.holdVoltage(raw);
    } else {
        link_.holdCurrent(raw);
    }
    return Conversions::readingToValue(raw, voltage ? profile_.voltageMax : profile_.currentMax);
}

std::optional<double> SetpointMemory::takeUnknownVoltage()
{
    if (voltageKnown_) {
        return std::nullopt;
    }
    voltageKnown_ = true;
    return Conversions::rawToValue(link_.voltageRaw(), profile_.voltageMax);
}

std::optional<double> SetpointMemory::heldVoltage() const
{
    if (!voltageKnown_) {
        return std::nullopt;
    }
    return Conversions::rawToValue(link_.voltageRaw(), profile_.voltageMax);
}

std::optional<double> SetpointMemory::heldCurrent() const
{
    if (!currentKnown_) {
        return std::nullopt;
    }
    return Conversions::rawToValue(link_.currentRaw(), profile_.currentMax);
}
