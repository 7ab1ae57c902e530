#include "supply/HotValueTable.h"

#include "supply/Conversions.h"

#include <cmath>

void HotValueTable::clear()
{
    voltages_.clear();
    currents_.clear();
}

void HotValueTable::append(std::int32_t voltageTenths, std::int32_t currentTenths)
{
    voltages_.push_back(voltageTenths);
    currents_.push_back(currentTenths);
}

bool HotValueTable::contains(int row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < voltages_.size();
}

std::optional<std::pair<double, double>> HotValueTable::valueAt(int row) const
{
    if (!contains(row)) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(row);
    return std::pair{valueOf(voltages_[index]), valueOf(currents_[index])};
}

bool HotValueTable::holdsAt(int row, double volts, double amperes, const ModelProfile& profile) const
{
    const auto pair = valueAt(row);
    return pair
        && Conversions::valueToRaw(pair->first, profile.voltageMax)
        == Conversions::valueToRaw(volts, profile.voltageMax)
        && Conversions::valueToRaw(pair->second, profile.currentMax)
        == Conversions::valueToRaw(amperes, profile.currentMax);
}

std::optional<int> HotValueTable::addOrFind(double volts, double amperes)
{
    const std::int32_t voltage = tenthsOf(volts);
    const std::int32_t current = tenthsOf(amperes);
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

std::int32_t HotValueTable::tenthsOf(double value)
{
    return Conversions::truncateToInt32(std::round(value * 10));
}
