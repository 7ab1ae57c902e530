#include "program/ProtectionLimits.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr ProtectionLimits::Limit kQuantities[]
    = {ProtectionLimits::Limit::Voltage, ProtectionLimits::Limit::Current, ProtectionLimits::Limit::Power,
        ProtectionLimits::Limit::Charge, ProtectionLimits::Limit::Energy, ProtectionLimits::Limit::Time};

} // namespace

std::optional<double> ProtectionLimits::of(Limit quantity) const
{
    switch (quantity) {
    case Limit::Voltage:
        return volts;
    case Limit::Current:
        return amperes;
    case Limit::Power:
        return watts;
    case Limit::Charge:
        return ampereHours;
    case Limit::Energy:
        return wattHours;
    case Limit::Time:
        break;
    }
    return time ? std::optional(static_cast<double>(time->count())) : std::nullopt;
}

void ProtectionLimits::set(Limit quantity, std::optional<double> value)
{
    switch (quantity) {
    case Limit::Voltage:
        volts = value;
        return;
    case Limit::Current:
        amperes = value;
        return;
    case Limit::Power:
        watts = value;
        return;
    case Limit::Charge:
        ampereHours = value;
        return;
    case Limit::Energy:
        wattHours = value;
        return;
    case Limit::Time:
        break;
    }
    time = value ? std::optional(std::chrono::seconds(std::llround(*value))) : std::nullopt;
}

bool ProtectionLimits::any() const
{
    return std::any_of(
        std::begin(kQuantities), std::end(kQuantities), [this](Limit quantity) { return of(quantity).has_value(); });
}

ProtectionLimits ProtectionLimits::tighter(const ProtectionLimits& one, const ProtectionLimits& other)
{
    ProtectionLimits both;
    for (const Limit quantity : kQuantities) {
        const auto a = one.of(quantity);
        const auto b = other.of(quantity);
        both.set(quantity, a && b ? std::min(*a, *b) : a ? a : b);
    }
    return both;
}
