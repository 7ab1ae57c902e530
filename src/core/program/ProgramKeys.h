#pragma once

#include "program/EndCondition.h"
#include "program/ProtectionLimits.h"
#include "text/Phrase.h"

#include <QString>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// What the JSON reader, the JSON writer and the CSV list share: the keys of
// the numbered conditions, the time of day as text both ways, the bound on
// durations, and how a message names a key and a line.
class ProgramKeys {
public:
    struct ConditionKey {
        std::string_view key;
        EndCondition::Kind kind;
    };

    static constexpr std::array<ConditionKey, 8> kNumberConditions{{
        {"current_at_most_A", EndCondition::Kind::CurrentAtMost},
        {"current_at_least_A", EndCondition::Kind::CurrentAtLeast},
        {"voltage_at_most_V", EndCondition::Kind::VoltageAtMost},
        {"voltage_at_least_V", EndCondition::Kind::VoltageAtLeast},
        {"charge_Ah", EndCondition::Kind::Charge},
        {"energy_Wh", EndCondition::Kind::Energy},
        {"voltage_drop_V", EndCondition::Kind::VoltageDrop},
        {"voltage_flat_s", EndCondition::Kind::VoltageFlat},
    }};

    struct LimitKey {
        std::string_view key;
        ProtectionLimits::Limit quantity;
    };

    static constexpr std::array<LimitKey, 6> kLimits{{
        {"voltage_V", ProtectionLimits::Limit::Voltage},
        {"current_A", ProtectionLimits::Limit::Current},
        {"power_W", ProtectionLimits::Limit::Power},
        {"charge_Ah", ProtectionLimits::Limit::Charge},
        {"energy_Wh", ProtectionLimits::Limit::Energy},
        {"time_s", ProtectionLimits::Limit::Time},
    }};

    // The longest duration a file may give, about 31 years: in milliseconds it
    // stays exact in a double.
    static constexpr double kMaxSeconds = 1e9;

    static QString keyText(std::string_view key);
    static Phrase atLine(int line, const Phrase& problem);
    static std::optional<std::chrono::milliseconds> toMillis(double seconds);
    // "HH:MM" or "HH:MM:SS" as seconds after midnight.
    static std::optional<double> timeOfDay(std::string_view text);
    // Seconds after midnight as "HH:MM", or "HH:MM:SS" when not whole minutes.
    static std::string timeOfDayText(double seconds);
};
