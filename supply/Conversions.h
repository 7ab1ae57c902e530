#pragma once

#include <cstdint>
#include <string>

// Conversions between the supply's raw units (raw 1000 = full scale) and the
// values shown to the user.
class Conversions {
public:
    // A reading in volts or amperes, rounded to a tenth: floor(raw*max*0.01+0.5)*0.1.
    static double readingToValue(std::int32_t raw, double fullScale);
    // A raw value at the supply's own resolution: raw*max/1000.
    static double rawToValue(std::int32_t raw, double fullScale);
    // A setpoint in raw units, truncated toward zero.
    static std::int32_t valueToRaw(double value, double fullScale);
    // The raw step nearest value among those from min to max; NaN gives min's.
    static std::int32_t nearestRaw(double value, double min, double max, double fullScale);
    // Truncation toward zero that stays defined for any double: clamps to the
    // 32-bit range, NaN gives 0.
    static std::int32_t truncateToInt32(double value);

    // "%.1f" in the C locale.
    static std::string oneDecimal(double value);
    static std::string voltageText(double volts); // "12.0 В"
    static std::string currentText(double amperes); // "12.6 A"
    static std::string hotValueRow(double volts, double amperes); // "13.8 В  10.0 A"
};
