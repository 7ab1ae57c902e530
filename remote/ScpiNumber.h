#pragma once

#include "remote/ScpiError.h"

#include <optional>
#include <string_view>
#include <variant>

// A numeric parameter: a decimal number with an optional exponent and unit
// (12.5, 12.5V, 500mA, 1.2E1), or MINimum or MAXimum.
class ScpiNumber {
public:
    enum class Kind { Value, Minimum, Maximum };
    enum class Quantity { Voltage, Current };

    // The number in volts or amperes; a unit of the other quantity is refused.
    static std::variant<ScpiNumber, ScpiError> parse(std::string_view text, Quantity quantity);
    // MIN or MAX alone, as a query's parameter.
    static std::optional<Kind> bound(std::string_view text);

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
