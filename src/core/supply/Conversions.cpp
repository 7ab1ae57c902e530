#include "supply/Conversions.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

std::string withUnit(const QString& pattern, double value)
{
    return pattern.arg(QString::fromStdString(Conversions::oneDecimal(value))).toStdString();
}

} // namespace

double Conversions::readingToValue(std::int32_t raw, double fullScale)
{
    return std::floor(raw * fullScale * 0.01 + 0.5) * 0.1;
}

double Conversions::rawToValue(std::int32_t raw, double fullScale)
{
    // To a billionth, which drops the product's binary error and keeps every
    // decimal a full scale has.
    constexpr double kBillion = 1e9;
    return std::round(raw * fullScale * (kBillion / 1000)) / kBillion;
}

std::int32_t Conversions::valueToRaw(double value, double fullScale)
{
    // Far below any step a one-decimal value can fall short of, far above
    // the binary error of the quotient.
    constexpr double kSlack = 1e-9;
    return truncateToInt32(value * 1000 / fullScale + kSlack);
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

std::string Conversions::stepText(double value)
{
    if (!std::isfinite(value)) {
        return {};
    }
    char text[400];
    // Adding zero turns -0 into 0.
    const auto result = std::to_chars(std::begin(text), std::end(text), value + 0.0, std::chars_format::fixed, 4);
    std::string fixed(std::begin(text), result.ptr);
    if (fixed.back() == '0') {
        fixed.pop_back();
    }
    return fixed;
}

std::string Conversions::oneDecimal(double value)
{
    // Wide enough for any double in fixed notation; to_chars ignores the
    // user's locale, which Qt installs and which may use a decimal comma.
    char text[400];
    const auto result = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed, 1);
    return {std::begin(text), result.ptr};
}

std::string Conversions::voltageText(double volts)
{
    return withUnit(QCoreApplication::translate("Conversions", "%1 В"), volts);
}

std::string Conversions::currentText(double amperes)
{
    return withUnit(QCoreApplication::translate("Conversions", "%1 A"), amperes);
}

std::string Conversions::hotValueRow(double volts, double amperes)
{
    return voltageText(volts) + "  " + currentText(amperes);
}
