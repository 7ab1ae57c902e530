#include "SimulatedBattery.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSecondsPerHour = 3600.0;

// std::clamp would pass NaN through.
double within(double value, double lowest, double highest, double otherwise)
{
    return std::isnan(value) ? otherwise : std::clamp(value, lowest, highest);
}

} // namespace

SimulatedBattery::SimulatedBattery(const BatteryPack& pack)
    : curve_(&CellCurve::of(pack.chemistry))
    , cells_(std::clamp(pack.cells, 1, BatteryPack::kMaxCells))
    , capacityAh_(within(pack.capacityAh, BatteryPack::kMinCapacityAh, BatteryPack::kMaxCapacityAh, 1.0))
    , stateOfCharge_(within(pack.stateOfCharge, 0.0, 1.0, BatteryPack::kDefaultStateOfCharge))
{
}

SimulatedBattery::Terminal SimulatedBattery::meet(double voltageSet, double currentLimit) const
{
    const double open = openCircuitVolts();
    const double resistance = ohms();
    const double limitedVolts = open + (currentLimit - leak_) * resistance;
    if (limitedVolts <= voltageSet) {
        return {limitedVolts, currentLimit, false};
    }
    const double regulatedAmperes = (voltageSet - open) / resistance + leak_;
    if (regulatedAmperes > 0.0) {
        return {voltageSet, regulatedAmperes, true};
    }
    // Above the setpoint: the supply cannot sink, so it only watches the cells.
    return {open - leak_ * resistance, 0.0, true};
}

void SimulatedBattery::advance(double seconds, double supplyAmperes)
{
    if (!(seconds > 0.0) || !std::isfinite(seconds) || !std::isfinite(supplyAmperes)) {
        return;
    }
    const double hours = seconds / kSecondsPerHour;
    ampereHours_ += supplyAmperes * hours;
    const double charged = stateOfCharge_ + (supplyAmperes - leak_) * hours / capacityAh_;
    stateOfCharge_ = std::clamp(charged, 0.0, CellCurve::kMaxStateOfCharge);
    seconds_ += seconds;
}

void SimulatedBattery::setLeak(double amperes)
{
    leak_ = amperes > 0.0 ? std::min(amperes, kMaxLeakAmperes) : 0.0;
}

double SimulatedBattery::openCircuitVolts() const
{
    return cells_ * curve_->volts(stateOfCharge_);
}

double SimulatedBattery::ohms() const
{
    return cells_ * curve_->ohmAmpereHours(stateOfCharge_) / capacityAh_;
}
