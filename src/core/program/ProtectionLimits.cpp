#include "program/ProtectionLimits.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr ProtectionLimits::Quantity kQuantities[] = {ProtectionLimits::Quantity::Voltage,
    ProtectionLimits::Quantity::Current, ProtectionLimits::Quantity::Power, ProtectionLimits::Quantity::Charge,
    ProtectionLimits::Quantity::Energy, ProtectionLimits::Quantity::Time};

} // namespace

std::optional<double> ProtectionLimits::of(Quantity quantity) const
{
    switch (quantity) {
    case Quantity::Voltage:
        return volts;
    case Quantity::Current:
        return amperes;
    case Quantity::Power:
        return watts;
    case Quantity::Charge:
        return ampereHours;
    case Quantity::Energy:
        return wattHours;
    case Quantity::Time:
        break;
    }
    return time ? std::optional(static_cast<double>(time->count())) : std::nullopt;
}

void ProtectionLimits::set(Quantity quantity, std::optional<double> value)
{
    switch (quantity) {
    case Quantity::Voltage:
        volts = value;
        return;
    case Quantity::Current:
        amperes = value;
        return;
    case Quantity::Power:
        watts = value;
        return;
    case Quantity::Charge:
        ampereHours = value;
        return;
    case Quantity::Energy:
        wattHours = value;
        return;
    case Quantity::Time:
        break;
    }
    time = value ? std::optional(std::chrono::seconds(std::llround(*value))) : std::nullopt;
}

bool ProtectionLimits::any() const
{
    return std::any_of(std::begin(kQuantities), std::end(kQuantities),
        [this](Quantity quantity) { return of(quantity).has_value(); });
}

ProtectionLimits ProtectionLimits::tighter(const ProtectionLimits& one, const ProtectionLimits& other)
{
    ProtectionLimits both;
    for (const Quantity quantity : kQuantities) {
        const auto a = one.of(quantity);
        const auto b = other.of(quantity);
        both.set(quantity, a && b ? std::min(*a, *b) : a ? a : b);
    }
    return both;
}
