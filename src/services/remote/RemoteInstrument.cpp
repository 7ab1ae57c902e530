#include "remote/RemoteInstrument.h"

namespace {

std::optional<double> ProtectionLimits::*levelOf(RemoteInstrument::Guard guard)
{
    switch (guard) {
    case RemoteInstrument::Guard::Voltage:
        return &ProtectionLimits::volts;
    case RemoteInstrument::Guard::Current:
        return &ProtectionLimits::amperes;
    default:
        return &ProtectionLimits::watts;
    }
}

} // namespace

double RemoteInstrument::protectionLevel(Guard guard) const
{
    const auto level = levelOf(guard);
    return (protectionLimits().*level).value_or((remembered_.*level).value_or(protectionMaximum(guard)));
}

bool RemoteInstrument::protectionArmed(Guard guard) const
{
    return (protectionLimits().*levelOf(guard)).has_value();
}

void RemoteInstrument::setProtectionLevel(Guard guard, double level)
{
    remembered_.*levelOf(guard) = level;
    if (protectionArmed(guard)) {
        ProtectionLimits limits = protectionLimits();
        limits.*levelOf(guard) = level;
        setProtectionLimits(limits);
    }
}

void RemoteInstrument::armProtection(Guard guard, bool on)
{
    if (on == protectionArmed(guard)) {
        return;
    }
    const double level = protectionLevel(guard);
    remembered_.*levelOf(guard) = level;
    ProtectionLimits limits = protectionLimits();
    limits.*levelOf(guard) = on ? std::optional<double>(level) : std::nullopt;
    setProtectionLimits(limits);
}

double RemoteInstrument::protectionMinimum(Guard guard) const
{
    switch (guard) {
    case Guard::Voltage:
        return voltageMin();
    case Guard::Current:
        return currentMin();
    default:
        return voltageMin() * currentMin();
    }
}

double RemoteInstrument::protectionMaximum(Guard guard) const
{
    switch (guard) {
    case Guard::Voltage:
        return voltageMax();
    case Guard::Current:
        return currentMax();
    default:
        return voltageMax() * currentMax();
    }
}
