#include "program/ProgramKeys.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

QString ProgramKeys::keyText(std::string_view key)
{
    return QLatin1Char('"') + QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())) + QLatin1Char('"');
}

Phrase ProgramKeys::atLine(int line, const Phrase& problem)
{
    return Phrase::translate("ProgramFile", "строка %1: %2").arg(line).arg(problem);
}

std::optional<std::chrono::milliseconds> ProgramKeys::toMillis(double seconds)
{
    if (!(seconds >= 0.0 && seconds <= kMaxSeconds)) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(std::llround(seconds * 1000.0));
}

std::optional<double> ProgramKeys::timeOfDay(std::string_view text)
{
    if (text.size() != 5 && text.size() != 8) {
        return std::nullopt;
    }
    int parts[3] = {0, 0, 0};
    constexpr int kLimits[3] = {24, 60, 60};
    for (std::size_t part = 0; part * 3 < text.size(); ++part) {
        const char* begin = text.data() + part * 3;
        const bool separated = part == 0 || text[part * 3 - 1] == ':';
        const auto [end, error] = std::from_chars(begin, begin + 2, parts[part]);
        if (!separated || error != std::errc{} || end != begin + 2 || begin[0] == '-' || begin[0] == '+'
            || parts[part] >= kLimits[part]) {
            return std::nullopt;
        }
    }
    return parts[0] * 3600.0 + parts[1] * 60.0 + parts[2];
}

std::string ProgramKeys::timeOfDayText(double value)
{
    const long seconds = std::isfinite(value) ? std::lround(std::clamp(value, -1.0, 86400.0)) : -1;
    char text[16];
    const int hours = static_cast<int>(seconds / 3600);
    const int minutes = static_cast<int>(seconds / 60 % 60);
    const int rest = static_cast<int>(seconds % 60);
    const int length = seconds % 60 == 0 ? std::snprintf(text, sizeof text, "%02d:%02d", hours, minutes)
                                         : std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, rest);
    return {text, static_cast<std::size_t>(std::max(length, 0))};
}
