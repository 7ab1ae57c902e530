#include "supply/HotValueTable.h"

#include "supply/Conversions.h"

#include <cmath>

void HotValueTable::clear()
{
    voltages_.clear();
    currents_.clear();
}

void HotValueTable::append(std::int32_t voltage, std::int32_t current)
{
    voltages_.push_back(voltage);
    currents_.push_back(current);
}

void HotValueTable::rescaleTo(const ModelProfile& profile)
{
    for (std::size_t i = 0; i < voltages_.size(); ++i) {
        voltages_[i] = Conversions::truncateToInt32(voltages_[i] / profile.voltageMax);
        currents_[i] = Conversions::truncateToInt32(currents_[i] / profile.currentMax);
    }
}

bool HotValueTable::contains(int row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < voltages_.size();
}

std::optional<std::pair<double, double>> HotValueTable::valueAt(int row, const ModelProfile& profile) const
{
    if (!contains(row)) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(row);
    return std::pair{
        storedToValue(voltages_[index], profile.voltageMax), storedToValue(currents_[index], profile.currentMax)};
}

bool HotValueTable::holdsAt(int row, double volts, double amperes, const ModelProfile& profile) const
{
    const auto index = static_cast<std::size_t>(row);
    return contains(row) && voltages_[index] == Conversions::valueToRaw(volts, profile.voltageMax)
        && currents_[index] == Conversions::valueToRaw(amperes, profile.currentMax);
}

std::optional<int> HotValueTable::addOrFind(double volts, double amperes, const ModelProfile& profile)
{
    const std::int32_t voltage = Conversions::valueToRaw(volts, profile.voltageMax);
    const std::int32_t current = Conversions::valueToRaw(amperes, profile.currentMax);
    std::optional<int> found;
    for (std::size_t i = 0; i < voltages_.size(); ++i) {
        if (voltages_[i] == voltage && currents_[i] == current) {
            found = static_cast<int>(i);
        }
    }
    if (!found) {
        append(voltage, current);
    }
    return found;
}

bool HotValueTable::remove(int row)
{
    if (!contains(row)) {
        return false;
    }
    voltages_.erase(voltages_.begin() + row);
    currents_.erase(currents_.begin() + row);
    return true;
}

double HotValueTable::storedToValue(std::int32_t raw, double fullScale)
{
    return std::floor(raw * fullScale * 0.001 * 10 + 0.5) * 0.1;
}
