#include "supply/HotValueMath.h"

#include <cmath>

double HotValueMath::storedToValue(std::int32_t raw, double fullScale)
{
    return std::floor(raw * fullScale * 0.001 * 10 + 0.5) * 0.1;
}

std::optional<std::size_t> HotValueMath::lastRowWith(const std::vector<std::int32_t>& voltages,
    const std::vector<std::int32_t>& currents, std::int32_t voltage, std::int32_t current)
{
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < voltages.size() && i < currents.size(); ++i) {
        if (voltages[i] == voltage && currents[i] == current) {
            found = i;
        }
    }
    return found;
}
