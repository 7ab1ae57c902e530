#include "supply/Conversions.h"

#include <cmath>
#include <cstdio>
#include <limits>

double Conversions::readingToValue(std::int32_t raw, double fullScale)
{
    return std::floor(raw * fullScale * 0.01 + 0.5) * 0.1;
}

std::int32_t Conversions::valueToRaw(double value, double fullScale)
{
    return truncateToInt32(value * 1000 / fullScale);
}

std::int32_t Conversions::truncateToInt32(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (value <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

std::string Conversions::oneDecimal(double value)
{
    // Wide enough for any double in fixed notation.
    char text[400];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Conversions::voltageText(double volts)
{
    return oneDecimal(volts) + " В";
}

std::string Conversions::currentText(double amperes)
{
    return oneDecimal(amperes) + " A";
}
