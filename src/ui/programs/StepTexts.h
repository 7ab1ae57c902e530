#pragma once

#include "program/EndCondition.h"
#include "program/ProgramBattery.h"
#include "program/ProgramStep.h"
#include "program/ProtectionLimits.h"

#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <optional>
#include <vector>

// How the programs window writes and reads a step's values: a decimal point,
// units after the number, "—" for a value the step keeps, and durations as
// seconds or h:mm:ss.
class StepTexts {
    Q_DECLARE_TR_FUNCTIONS(StepTexts)

public:
    static QString number(double value);
    static QString volts(std::optional<double> volts);
    static QString amperes(std::optional<double> amperes);
    static QString output(std::optional<bool> on);
    // Under a minute in seconds, else as h:mm:ss, which parseSeconds() reads back.
    static QString seconds(double seconds);
    static QString duration(std::optional<std::chrono::milliseconds> duration);
    // hh:mm:ss, for the times of a run.
    static QString clock(double seconds);
    // From and to, with the unit that names the quantity.
    static QString ramp(const ProgramStep::Ramp& ramp);
    // "1 раз", "3 раза", "5 раз".
    static QString times(int count);

    static QString kindName(EndCondition::Kind kind);
    // Empty for the regulation modes, which have no value.
    static QString unit(EndCondition::Kind kind);
    static bool hasValue(EndCondition::Kind kind) { return !unit(kind).isEmpty(); }
    static QString value(EndCondition::Kind kind, double value);
    static QString condition(const EndCondition& condition);
    // Joined with "или": the first to hold ends the step.
    static QString conditions(const std::vector<EndCondition>& conditions);

    // "напряжение ≤ 4.242 В, время ≤ 3:30:00": the limits that are set; empty when none.
    static QString limits(const ProtectionLimits& limits);
    // "Li-ion / LiPo, 1 эл., 2.0 А·ч".
    static QString battery(const ProgramBattery& battery);

    // A comma is read as the decimal point; none when empty or not a number.
    static std::optional<double> parseNumber(const QString& text);
    // Seconds, m:ss or h:mm:ss.
    static std::optional<double> parseSeconds(const QString& text);
    // hh:mm or hh:mm:ss after midnight.
    static std::optional<double> parseTimeOfDay(const QString& text);
};
