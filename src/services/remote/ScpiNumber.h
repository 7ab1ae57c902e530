#pragma once

#include "remote/ScpiError.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A numeric parameter: a decimal number with an optional exponent and unit
// (12.5, 12.5V, 500mA, 1.2E1, 250ms), or MINimum or MAXimum.
class ScpiNumber {
public:
    enum class Kind { Value, Minimum, Maximum };
    enum class Unit { Voltage, Current, Power, Time, Count };

    // The number in volts, amperes, watts or seconds; another unit is refused,
    // and a count takes none.
    static std::variant<ScpiNumber, ScpiError> parse(std::string_view text, Unit quantity);
    // The value the text asks for between min and max, MINimum and MAXimum
    // being those; -222 outside them, with slack for decimal limits.
    static std::variant<double, ScpiError> within(std::string_view text, Unit quantity, double min, double max);
    // MIN or MAX alone, as a query's parameter.
    static std::optional<Kind> bound(std::string_view text);
    // A query's one optional parameter, MINimum or MAXimum: none when absent.
    static std::variant<std::optional<Kind>, ScpiError> queryBound(const std::vector<std::string>& parameters);

    // ON, OFF, 1 or 0.
    static std::optional<bool> boolean(std::string_view text);
    // A number as every answer gives it: fixed, three decimals; none if not finite.
    static std::optional<std::string> fixed(double value);

    Kind kind() const { return kind_; }
    double value() const { return value_; }

private:
    ScpiNumber(Kind kind, double value)
        : kind_(kind)
        , value_(value)
    {
    }

    Kind kind_;
    double value_;
};
