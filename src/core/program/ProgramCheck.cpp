#include "program/ProgramCheck.h"

#include "program/ProgramNumber.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using Millis = std::chrono::milliseconds;

QString number(double value)
{
    return QString::fromStdString(ProgramNumber::text(value));
}

Phrase millis(Millis duration)
{
    return Phrase::translate("ProgramCheck", "%1 мс").arg(duration.count());
}

ProgramRefusal refusal(int step, const Phrase& reason)
{
    return {step, Phrase::translate("ProgramCheck", "шаг %1: %2").arg(step).arg(reason)};
}

bool holdsSteps(const ProgramGroup& group)
{
    return std::any_of(group.items.begin(), group.items.end(), [](const ProgramNode& node) {
        const auto* inner = std::get_if<ProgramGroup>(&node.content);
        return inner == nullptr || holdsSteps(*inner);
    });
}

// A group's place for a refusal: its first step, or the step before it
// when it holds none.
ProgramRefusal groupRefusal(const ProgramGroup& group, int before, const Phrase& reason)
{
    if (holdsSteps(group)) {
        return refusal(before + 1, Phrase::translate("ProgramCheck", "его группа %1").arg(reason));
    }
    return {0,
        before == 0 ? Phrase::translate("ProgramCheck", "пустая группа в начале программы %1").arg(reason)
                    : Phrase::translate("ProgramCheck", "пустая группа после шага %1 %2").arg(before).arg(reason)};
}

using StepCheck = std::function<std::optional<ProgramRefusal>(const ProgramStep& step, int number)>;
using GroupCheck = std::function<std::optional<ProgramRefusal>(const ProgramGroup& group, int before)>;

// Visits the steps in file order with their numbers, each group before its
// steps, and stops at the first refusal.
std::optional<ProgramRefusal> walk(
    const ProgramGroup& group, int& number, const StepCheck& checkStep, const GroupCheck& checkGroup)
{
    for (const ProgramNode& node : group.items) {
        std::optional<ProgramRefusal> refused;
        if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
            refused = checkStep(*step, ++number);
        } else {
            const auto& inner = std::get<ProgramGroup>(node.content);
            refused = checkGroup(inner, number);
            if (!refused) {
                refused = walk(inner, number, checkStep, checkGroup);
            }
        }
        if (refused) {
            return refused;
        }
    }
    return std::nullopt;
}

// A value of a step with its name and unit, for the messages.
struct NamedValue {
    Phrase what;
    Phrase unit;
    double value = 0.0;
    bool voltage = false;
};

Phrase volts()
{
    return Phrase::translate("ProgramCheck", "В");
}

Phrase amperes()
{
    return Phrase::translate("ProgramCheck", "A");
}

std::vector<NamedValue> setpoints(const ProgramStep& step)
{
    std::vector<NamedValue> found;
    if (step.volts) {
        found.push_back({Phrase::translate("ProgramCheck", "напряжение"), volts(), *step.volts, true});
    }
    if (step.amperes) {
        found.push_back({Phrase::translate("ProgramCheck", "ток"), amperes(), *step.amperes});
    }
    if (step.ramp) {
        const bool voltage = step.ramp->quantity == Quantity::Voltage;
        const Phrase unit = voltage ? volts() : amperes();
        found.push_back({voltage ? Phrase::translate("ProgramCheck", "напряжение в начале плавного изменения")
                                 : Phrase::translate("ProgramCheck", "ток в начале плавного изменения"),
            unit, step.ramp->from, voltage});
        found.push_back({voltage ? Phrase::translate("ProgramCheck", "напряжение в конце плавного изменения")
                                 : Phrase::translate("ProgramCheck", "ток в конце плавного изменения"),
            unit, step.ramp->to, voltage});
    }
    return found;
}

std::optional<NamedValue> conditionValue(const EndCondition& end)
{
    switch (end.kind) {
    case EndCondition::Kind::CurrentAtMost:
        return NamedValue{Phrase::translate("ProgramCheck", "ток в условии «не больше»"), amperes(), end.value};
    case EndCondition::Kind::CurrentAtLeast:
        return NamedValue{Phrase::translate("ProgramCheck", "ток в условии «не меньше»"), amperes(), end.value};
    case EndCondition::Kind::VoltageAtMost:
        return NamedValue{Phrase::translate("ProgramCheck", "напряжение в условии «не больше»"), volts(), end.value};
    case EndCondition::Kind::VoltageAtLeast:
        return NamedValue{Phrase::translate("ProgramCheck", "напряжение в условии «не меньше»"), volts(), end.value};
    case EndCondition::Kind::Charge:
        return NamedValue{
            Phrase::translate("ProgramCheck", "заряд в условии"), Phrase::translate("ProgramCheck", "А·ч"), end.value};
    case EndCondition::Kind::Energy:
        return NamedValue{Phrase::translate("ProgramCheck", "энергия в условии"),
            Phrase::translate("ProgramCheck", "Вт·ч"), end.value};
    case EndCondition::Kind::VoltageDrop:
        return NamedValue{Phrase::translate("ProgramCheck", "спад напряжения в условии"), volts(), end.value};
    case EndCondition::Kind::VoltageFlat:
        return NamedValue{Phrase::translate("ProgramCheck", "время без роста напряжения в условии"),
            Phrase::translate("ProgramCheck", "с"), end.value};
    case EndCondition::Kind::TimeOfDay:
        return NamedValue{Phrase::translate("ProgramCheck", "время суток в условии"),
            Phrase::translate("ProgramCheck", "с"), end.value};
    case EndCondition::Kind::BecomesCv:
    case EndCondition::Kind::BecomesCc:
        break;
    }
    return std::nullopt;
}

std::optional<Phrase> badValue(const NamedValue& quantity)
{
    if (!std::isfinite(quantity.value)) {
        return Phrase::translate("ProgramCheck", "%1 не число").arg(quantity.what);
    }
    if (quantity.value < 0.0) {
        return Phrase::translate("ProgramCheck", "%1 %2 %3 меньше нуля")
            .arg(quantity.what)
            .arg(number(quantity.value))
            .arg(quantity.unit);
    }
    return std::nullopt;
}

// Each value finite and not negative, a time of day within the day.
std::optional<Phrase> badValues(const ProgramStep& step)
{
    std::vector<NamedValue> values = setpoints(step);
    for (const EndCondition& end : step.ends) {
        if (std::optional<NamedValue> value = conditionValue(end)) {
            values.push_back(*value);
        }
    }
    for (const NamedValue& value : values) {
        if (std::optional<Phrase> why = badValue(value)) {
            return why;
        }
    }
    constexpr double kDay = 24 * 3600;
    for (const EndCondition& end : step.ends) {
        if (end.kind == EndCondition::Kind::TimeOfDay && end.value >= kDay) {
            return Phrase::translate("ProgramCheck", "время суток в условии %1 с не меньше суток (%2 с)")
                .arg(number(end.value))
                .arg(number(kDay));
        }
    }
    return std::nullopt;
}

// The durations not negative, a ramp with a duration and alone on its
// quantity, and a way for the step to end.
std::optional<Phrase> badDurations(const ProgramStep& step)
{
    if (step.duration && *step.duration < Millis(0)) {
        return Phrase::translate("ProgramCheck", "длительность %1 меньше нуля").arg(millis(*step.duration));
    }
    if (step.maxDuration < Millis(0)) {
        return Phrase::translate("ProgramCheck", "наибольшая длительность %1 меньше нуля")
            .arg(millis(step.maxDuration));
    }
    if (step.ramp) {
        const bool voltage = step.ramp->quantity == Quantity::Voltage;
        if (voltage ? step.volts.has_value() : step.amperes.has_value()) {
            return voltage ? Phrase::translate("ProgramCheck", "напряжение задано и уставкой, и плавным изменением")
                           : Phrase::translate("ProgramCheck", "ток задан и уставкой, и плавным изменением");
        }
        if (!step.duration) {
            return Phrase::translate("ProgramCheck", "у плавного изменения нет длительности");
        }
    }
    if (!step.duration && step.maxDuration == Millis(0)) {
        return step.ends.empty()
            ? Phrase::translate(
                "ProgramCheck", "ему нечем закончиться: нет ни длительности, ни наибольшей длительности")
            : Phrase::translate("ProgramCheck", "условие окончания может не наступить, а наибольшей длительности нет");
    }
    return std::nullopt;
}

// No dwell, ramp or bound is shorter than the poll cycle that would see it end.
std::optional<Phrase> shorterThanPoll(const ProgramStep& step, Millis pollCycle)
{
    if (step.duration && *step.duration < pollCycle) {
        return Phrase::translate("ProgramCheck", "%1 %2 короче цикла опроса %3")
            .arg(step.ramp ? Phrase::translate("ProgramCheck", "плавное изменение за")
                           : Phrase::translate("ProgramCheck", "длительность"))
            .arg(millis(*step.duration))
            .arg(millis(pollCycle));
    }
    if (step.maxDuration > Millis(0) && step.maxDuration < pollCycle) {
        return Phrase::translate("ProgramCheck", "наибольшая длительность %1 короче цикла опроса %2")
            .arg(millis(step.maxDuration))
            .arg(millis(pollCycle));
    }
    return std::nullopt;
}

std::optional<Phrase> badTiming(const ProgramStep& step, Millis pollCycle)
{
    if (std::optional<Phrase> why = badValues(step)) {
        return why;
    }
    if (std::optional<Phrase> why = badDurations(step)) {
        return why;
    }
    return shorterThanPoll(step, pollCycle);
}

// Each message has the setpoint, its value, its unit and the bound it crosses.
std::optional<Phrase> outOfRange(
    const NamedValue& setpoint, const ModelProfile& profile, const ProtectionLimits& limits)
{
    const bool voltage = setpoint.voltage;
    const double highest = voltage ? profile.voltageMax : profile.currentMax;
    const double lowest = voltage ? profile.voltageMin : profile.currentMin;
    const std::optional<double> armed = voltage ? limits.volts : limits.amperes;
    const auto crossing = [&](const Phrase& message, double bound) {
        return message.arg(setpoint.what).arg(number(setpoint.value)).arg(setpoint.unit).arg(number(bound));
    };
    if (setpoint.value > highest) {
        return crossing(Phrase::translate("ProgramCheck", "%1 %2 %3 выше предела модели %4 %3"), highest);
    }
    if (setpoint.value < lowest) {
        return crossing(Phrase::translate("ProgramCheck", "%1 %2 %3 ниже наименьшего для модели %4 %3"), lowest);
    }
    if (armed && setpoint.value > *armed) {
        return crossing(Phrase::translate("ProgramCheck", "%1 %2 %3 выше защитного предела %4 %3"), *armed);
    }
    return std::nullopt;
}

// Milliseconds; none when a step ends on a measurement or a group repeats
// until stopped. A step with both ends at the sooner.
std::optional<double> knownLength(const ProgramGroup& group)
{
    if (!group.count) {
        return std::nullopt;
    }
    double total = 0.0;
    for (const ProgramNode& node : group.items) {
        if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
            if (step->endsOnMeasurement()) {
                return std::nullopt;
            }
            const Millis length = step->duration && step->maxDuration > Millis(0)
                ? std::min(*step->duration, step->maxDuration)
                : step->duration.value_or(step->maxDuration);
            total += static_cast<double>(length.count());
        } else {
            const std::optional<double> inner = knownLength(std::get<ProgramGroup>(node.content));
            if (!inner) {
                return std::nullopt;
            }
            total += *inner;
        }
    }
    return total * *group.count;
}

} // namespace

std::optional<ProgramRefusal> ProgramCheck::timing(const Program& program, std::chrono::milliseconds pollCycle)
{
    int counted = 0;
    return walk(
        program.body, counted,
        [&](const ProgramStep& step, int at) -> std::optional<ProgramRefusal> {
            if (std::optional<Phrase> why = badTiming(step, pollCycle)) {
                return refusal(at, *why);
            }
            return std::nullopt;
        },
        [](const ProgramGroup& group, int before) -> std::optional<ProgramRefusal> {
            if (group.count && *group.count < 1) {
                return groupRefusal(group, before,
                    Phrase::translate("ProgramCheck", "повторяется %1 раз, а нужно хотя бы раз").arg(*group.count));
            }
            if (!group.count && !holdsSteps(group)) {
                return groupRefusal(group, before, Phrase::translate("ProgramCheck", "повторяется до остановки"));
            }
            return std::nullopt;
        });
}

std::optional<ProgramRefusal> ProgramCheck::range(
    const Program& program, const ModelProfile& profile, const ProtectionLimits& limits)
{
    int counted = 0;
    std::optional<ProgramRefusal> refused = walk(
        program.body, counted,
        [&](const ProgramStep& step, int at) -> std::optional<ProgramRefusal> {
            for (const NamedValue& setpoint : setpoints(step)) {
                if (std::optional<Phrase> why = outOfRange(setpoint, profile, limits)) {
                    return refusal(at, *why);
                }
            }
            return std::nullopt;
        },
        [](const ProgramGroup& /*group*/, int /*before*/) { return std::optional<ProgramRefusal>(); });
    if (refused || !limits.time) {
        return refused;
    }
    const std::optional<double> length = knownLength(program.body);
    const double limit = std::chrono::duration<double, std::milli>(*limits.time).count();
    if (length && *length > limit) {
        return ProgramRefusal{0,
            Phrase::translate("ProgramCheck", "программа длится %1 с, дольше предела времени %2 с")
                .arg(number(*length / 1000.0))
                .arg(number(limit / 1000.0))};
    }
    return std::nullopt;
}
