#include "remote/ScpiNumber.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <utility>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsUpper(std::string_view text, std::string_view wanted)
{
    if (text.size() != wanted.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upper(text[i]) != wanted[i]) {
            return false;
        }
    }
    return true;
}

void skipBlanks(std::string_view text, std::size_t& at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
}

// Appends the digits at `at` to `out`; returns how many there were.
std::size_t takeDigits(std::string_view text, std::size_t& at, std::string& out)
{
    const std::size_t start = at;
    while (at < text.size() && isDigit(text[at])) {
        out.push_back(text[at++]);
    }
    return at - start;
}

// Reads the decimal number at the front of `text` into `out` without blanks;
// returns where it ends, or 0 if there is none.
std::size_t readDecimal(std::string_view text, std::string& out)
{
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        if (text[at] == '-') {
            out.push_back('-');
        }
        ++at;
    }
    std::size_t digits = takeDigits(text, at, out);
    if (at < text.size() && text[at] == '.') {
        out.push_back(text[at++]);
        digits += takeDigits(text, at, out);
    }
    if (digits == 0) {
        return 0;
    }
    std::size_t end = at;
    skipBlanks(text, at);
    if (at < text.size() && upper(text[at]) == 'E') {
        std::string exponent = "e";
        ++at;
        skipBlanks(text, at);
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            exponent.push_back(text[at++]);
        }
        if (takeDigits(text, at, exponent) > 0) {
            out += exponent;
            end = at;
        }
    }
    return end;
}

// The unit a quantity is given in; a count has none.
std::string_view baseUnit(ScpiNumber::Unit quantity)
{
    switch (quantity) {
    case ScpiNumber::Unit::Voltage:
        return "V";
    case ScpiNumber::Unit::Current:
        return "A";
    case ScpiNumber::Unit::Power:
        return "W";
    case ScpiNumber::Unit::Time:
        return "S";
    case ScpiNumber::Unit::Count:
        break;
    }
    return {};
}

// The factor of a unit for the quantity: 1 without one, 0 if it does not belong.
double unitFactor(std::string_view unit, ScpiNumber::Unit quantity)
{
    const std::string_view base = baseUnit(quantity);
    if (unit.empty() || (!base.empty() && equalsUpper(unit, base))) {
        return 1.0;
    }
    if (!base.empty() && unit.size() == 2 && upper(unit.front()) == 'M' && equalsUpper(unit.substr(1), base)) {
        return 1e-3;
    }
    return 0.0;
}

// Slack for limits given as decimal text that doubles cannot hold exactly.
constexpr double kLimitSlack = 1e-9;

} // namespace

std::optional<ScpiNumber::Kind> ScpiNumber::bound(std::string_view text)
{
    if (equalsUpper(text, "MIN") || equalsUpper(text, "MINIMUM")) {
        return Kind::Minimum;
    }
    if (equalsUpper(text, "MAX") || equalsUpper(text, "MAXIMUM")) {
        return Kind::Maximum;
    }
    return std::nullopt;
}

std::variant<ScpiNumber, ScpiError> ScpiNumber::parse(std::string_view text, Unit quantity)
{
    if (const std::optional<Kind> limit = bound(text)) {
        return ScpiNumber(*limit, 0.0);
    }
    if (!text.empty() && isLetter(text.front())) {
        return ScpiError::illegalParameterValue();
    }
    std::string decimal;
    std::size_t end = readDecimal(text, decimal);
    const bool numberFound = end > 0;
    skipBlanks(text, end);
    const std::string_view unit = text.substr(end);
    if (!numberFound || !std::all_of(unit.begin(), unit.end(), isLetter)) {
        return ScpiError::commandError("malformed number");
    }
    const double factor = unitFactor(unit, quantity);
    if (factor == 0.0) {
        return ScpiError::invalidSuffix();
    }
    double value = 0.0;
    const auto [last, error] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
    if (error != std::errc() || last != decimal.data() + decimal.size() || !std::isfinite(value * factor)) {
        return ScpiError::dataOutOfRange();
    }
    return ScpiNumber(Kind::Value, value * factor);
}

std::variant<double, ScpiError> ScpiNumber::within(std::string_view text, Unit quantity, double min, double max)
{
    auto parsed = parse(text, quantity);
    if (auto* error = std::get_if<ScpiError>(&parsed)) {
        return std::move(*error);
    }
    const auto& number = std::get<ScpiNumber>(parsed);
    double value = number.value();
    if (number.kind() != Kind::Value) {
        value = number.kind() == Kind::Minimum ? min : max;
    }
    if (!(value >= min - kLimitSlack && value <= max + kLimitSlack)) {
        return ScpiError::dataOutOfRange();
    }
    return value;
}

std::optional<bool> ScpiNumber::boolean(std::string_view text)
{
    if (equalsUpper(text, "ON") || text == "1") {
        return true;
    }
    if (equalsUpper(text, "OFF") || text == "0") {
        return false;
    }
    return std::nullopt;
}

std::optional<std::string> ScpiNumber::fixed(double value)
{
    std::array<char, 32> text{};
    // Adding zero turns -0 into 0.
    const auto [end, error]
        = std::to_chars(text.data(), text.data() + text.size(), value + 0.0, std::chars_format::fixed, 3);
    if (!std::isfinite(value) || error != std::errc()) {
        return std::nullopt;
    }
    return std::string(text.data(), end);
}

std::variant<std::optional<ScpiNumber::Kind>, ScpiError> ScpiNumber::queryBound(
    const std::vector<std::string>& parameters)
{
    if (parameters.size() > 1) {
        return ScpiError::parameterNotAllowed();
    }
    if (parameters.empty()) {
        return std::optional<Kind>{};
    }
    if (const auto kind = bound(parameters.front())) {
        return std::optional<Kind>{kind};
    }
    return ScpiError::illegalParameterValue();
}
