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
    return raw * fullScale / 1000;
}

std::int32_t Conversions::valueToRaw(double value, double fullScale)
{
    return truncateToInt32(value * 1000 / fullScale);
}

std::int32_t Conversions::nearestRaw(double value, double min, double max, double fullScale)
{
    // Limits given as decimal text may sit a rounding error off their step.
    constexpr double kSlack = 1e-9;
    const double low = std::ceil(min * 1000 / fullScale - kSlack);
    const double high = std::max(low, std::floor(max * 1000 / fullScale + kSlack));
    const double nearest = std::isnan(value) ? low : std::round(value * 1000 / fullScale);
    return truncateToInt32(std::clamp(nearest, low, high));
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
