#include "controller/SetpointMemory.h"

#include "link/SupplyLink.h"
#include "supply/Conversions.h"
#include "supply/ModelProfile.h"

SetpointMemory::SetpointMemory(SupplyLink& link, const ModelProfile& profile)
    : link_(link)
    , profile_(profile)
{
}

double SetpointMemory::sendVoltage(double volts)
{
    voltageKnown_ = true;
    link_.sendVoltage(Conversions::valueToRaw(volts, profile_.voltageMax));
    return Conversions::rawToValue(link_.voltageRaw(), profile_.voltageMax);
}

double SetpointMemory::sendCurrent(double amperes)
{
    currentKnown_ = true;
    link_.sendCurrent(Conversions::valueToRaw(amperes, profile_.currentMax));
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
    if (voltageKnown_ && (!settled || raw == link_.voltageRaw())) {
        return std::nullopt;
    }
    voltageKnown_ = true;
    link_.holdVoltage(raw);
    return Conversions::readingToValue(raw, profile_.voltageMax);
}

std::optional<double> SetpointMemory::learnCurrent(std::int32_t raw, bool settled)
{
    if (currentKnown_ && (!settled || raw == link_.currentRaw())) {
        return std::nullopt;
    }
    currentKnown_ = true;
    link_.holdCurrent(raw);
    return Conversions::readingToValue(raw, profile_.currentMax);
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
