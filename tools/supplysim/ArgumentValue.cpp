#include "ArgumentValue.h"

#include <charconv>
#include <cmath>

std::optional<int> ArgumentValue::integer(std::string_view text, int lowest, int highest)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ArgumentValue::finite(std::string_view text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ArgumentValue::ohms(std::string_view text)
{
    const std::optional<double> value = finite(text);
    if (!value || *value <= 0.0) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> ArgumentValue::onOff(std::string_view text)
{
    if (text == "on") {
        return true;
    }
    if (text == "off") {
        return false;
    }
    return std::nullopt;
}
