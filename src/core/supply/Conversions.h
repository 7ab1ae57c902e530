#pragma once

#include <cstdint>
#include <string>

// Conversions between the supply's raw units (raw 1000 = full scale) and the
// values shown to the user.
class Conversions {
public:
    // A reading in volts or amperes, rounded to a tenth: floor(raw*max*0.01+0.5)*0.1.
    static double readingToValue(std::int32_t raw, double fullScale);
    // A raw value at the supply's own resolution, raw*max/1000: the double
    // nearest that decimal, without the binary error of the product.
    static double rawToValue(std::int32_t raw, double fullScale);
    // A setpoint in raw units, from whatever origin: the step at or below the
    // value, truncated toward zero. A decimal on a step (1.0 A of 63 A is not,
    // 47.2 V of 47.2 V is) is that step, never the one below it.
    static std::int32_t valueToRaw(double value, double fullScale);
    // Truncation toward zero that stays defined for any double: clamps to the
    // 32-bit range, NaN gives 0.
    static std::int32_t truncateToInt32(double value);

    // A value at the supply's resolution, such as a setpoint held: three
    // decimals, four where its step needs them ("2.961", "1.9939"); empty
    // when not finite.
    static std::string stepText(double value);
    // "%.1f" in the C locale.
    static std::string oneDecimal(double value);
    static std::string voltageText(double volts); // "12.0 В"
    static std::string currentText(double amperes); // "12.6 A"
    static std::string hotValueRow(double volts, double amperes); // "13.8 В  10.0 A"
};
