#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The stored pairs of the hot-values list, in thousandths of full scale.
class HotValueMath {
public:
    // A stored value in volts or amperes, brought to one decimal.
    static double storedToValue(std::int32_t raw, double fullScale);
    // The last row that holds exactly this pair.
    static std::optional<std::size_t> lastRowWith(const std::vector<std::int32_t>& voltages,
        const std::vector<std::int32_t>& currents, std::int32_t voltage, std::int32_t current);
};
