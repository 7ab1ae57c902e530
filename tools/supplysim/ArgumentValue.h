#pragma once

#include <optional>
#include <string_view>

// Strict parsing of the numbers and switches typed on the command line or console:
// the whole text must be the value, and it must lie in range.
class ArgumentValue {
public:
    static std::optional<int> integer(std::string_view text, int lowest, int highest);
    static std::optional<double> finite(std::string_view text); // any finite number; the caller checks its range
    static std::optional<double> ohms(std::string_view text); // finite and above zero
    static std::optional<bool> onOff(std::string_view text);
};
