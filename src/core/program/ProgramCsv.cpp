#include "program/ProgramCsv.h"

#include "program/ProgramKeys.h"
#include "program/ProgramNumber.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>
#include <variant>

namespace {

using Millis = std::chrono::milliseconds;

constexpr std::string_view kCsvHeader = "dwell_s,voltage_V,current_A";

std::string_view trimmed(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool isHeader(std::string_view line)
{
    std::string lower;
    for (const char c : line) {
        if (c != ' ' && c != '\t') {
            lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return lower == "dwell_s,voltage_v,current_a";
}

std::optional<double> csvNumber(std::string_view field)
{
    double value = 0.0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.empty() || error != std::errc{} || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Why a step cannot be a row, or empty.
Phrase notARow(const ProgramStep& step)
{
    if (!step.ends.empty()) {
        return Phrase::translate("ProgramFile", "есть условия окончания, а в списке шаг длится своё время");
    }
    if (step.ramp) {
        return Phrase::translate("ProgramFile", "плавное изменение список не передаёт");
    }
    if (!step.volts || !step.amperes) {
        return step.volts
            ? Phrase::translate("ProgramFile", "ток остаётся прежним, а строка списка задаёт напряжение и ток")
            : Phrase::translate("ProgramFile", "напряжение остаётся прежним, а строка списка задаёт напряжение и ток");
    }
    if (step.output != true) {
        return step.output
            ? Phrase::translate("ProgramFile", "выход выключается, а в списке выход всегда включён")
            : Phrase::translate("ProgramFile", "выход остаётся прежним, а в списке выход всегда включён");
    }
    if (!step.duration) {
        return Phrase::translate("ProgramFile", "нет длительности");
    }
    return {};
}

// The first step or group the list cannot carry; `number` counts the steps.
Phrase notAList(const ProgramGroup& group, int& number)
{
    if (!group.count) {
        return Phrase::translate(
            "ProgramFile", "группа после шага %1 повторяется до остановки, а список повторять не умеет")
            .arg(number);
    }
    for (const ProgramNode& node : group.items) {
        if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
            ++number;
            if (const Phrase why = notARow(*step); !why.isEmpty()) {
                return Phrase::translate("ProgramFile", "шаг %1: %2").arg(number).arg(why);
            }
        } else if (Phrase why = notAList(std::get<ProgramGroup>(node.content), number); !why.isEmpty()) {
            return why;
        }
    }
    return {};
}

double rowsOf(const ProgramGroup& group)
{
    double rows = 0.0;
    for (const ProgramNode& node : group.items) {
        const auto* inner = std::get_if<ProgramGroup>(&node.content);
        rows += inner != nullptr ? rowsOf(*inner) : 1.0;
    }
    return rows * std::max(group.count.value_or(1), 0);
}

// Each group is written once and then repeated, so that empty groups repeated
// often cost nothing; the rows are counted and bounded before.
std::string rowsText(const ProgramGroup& group)
{
    std::string once;
    for (const ProgramNode& node : group.items) {
        if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
            const Millis dwell
                = step->maxDuration > Millis(0) ? std::min(*step->duration, step->maxDuration) : *step->duration;
            once += ProgramNumber::text(static_cast<double>(dwell.count()) / 1000.0) + ','
                + ProgramNumber::text(*step->volts) + ',' + ProgramNumber::text(*step->amperes) + '\n';
        } else {
            once += rowsText(std::get<ProgramGroup>(node.content));
        }
    }
    if (once.empty()) {
        return once;
    }
    std::string rows;
    for (int round = 0; round < group.count.value_or(1); ++round) {
        rows += once;
    }
    return rows;
}

} // namespace

namespace {

// The three numbers of a row, or why it has none such.
std::variant<std::array<double, 3>, Phrase> numbersOf(std::string_view row, int line)
{
    std::array<double, 3> values{};
    std::size_t field = 0;
    for (; field < values.size() && !row.empty(); ++field) {
        const std::size_t comma = std::min(row.find(','), row.size());
        const std::optional<double> value = csvNumber(trimmed(row.substr(0, comma)));
        if (!value) {
            constexpr std::array<std::string_view, 3> kColumns{"dwell_s", "voltage_V", "current_A"};
            constexpr std::size_t kShown = 20;
            return ProgramKeys::atLine(line,
                Phrase::translate("ProgramFile", "%1 должно быть числом, а не %2")
                    .arg(ProgramKeys::keyText(kColumns.at(field)))
                    .arg(ProgramKeys::keyText(trimmed(row.substr(0, std::min(comma, kShown))))));
        }
        values.at(field) = *value;
        row.remove_prefix(std::min(comma + 1, row.size()));
    }
    if (field != values.size() || !row.empty()) {
        return ProgramKeys::atLine(line,
            Phrase::translate("ProgramFile", "нужны три числа через запятую: %1")
                .arg(QLatin1String(kCsvHeader.data(), static_cast<qsizetype>(kCsvHeader.size()))));
    }
    return values;
}

// A row as the step it stands for: its setpoints with the output on, for its dwell.
std::variant<ProgramStep, Phrase> stepOfRow(std::string_view row, int line)
{
    auto numbers = numbersOf(row, line);
    if (auto* problem = std::get_if<Phrase>(&numbers)) {
        return std::move(*problem);
    }
    const auto& values = std::get<std::array<double, 3>>(numbers);
    const std::optional<Millis> dwell = ProgramKeys::toMillis(values[0]);
    if (!dwell) {
        return ProgramKeys::atLine(line,
            Phrase::translate("ProgramFile", "\"dwell_s\" должно быть от 0 до %1 с")
                .arg(QString::fromStdString(ProgramNumber::text(ProgramKeys::kMaxSeconds))));
    }
    ProgramStep step;
    step.volts = values[1];
    step.amperes = values[2];
    step.output = true;
    step.duration = dwell;
    step.maxDuration = *dwell;
    return step;
}

} // namespace

ProgramFile::Read ProgramCsv::read(std::string_view text)
{
    Program program;
    bool first = true;
    int steps = 0;
    for (int line = 1; !text.empty(); ++line) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view row = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (row.ends_with('\r')) {
            row.remove_suffix(1);
        }
        if (trimmed(row).empty() || (std::exchange(first, false) && isHeader(row))) {
            continue;
        }
        if (++steps > ProgramFile::kMaxSteps) {
            return ProgramKeys::atLine(
                line, Phrase::translate("ProgramFile", "шагов больше %1").arg(ProgramFile::kMaxSteps));
        }
        auto step = stepOfRow(row, line);
        if (auto* problem = std::get_if<Phrase>(&step)) {
            return *problem;
        }
        program.body.items.emplace_back().content = std::move(std::get<ProgramStep>(step));
    }
    return program;
}

std::optional<QByteArray> ProgramCsv::write(const Program& program, Phrase* problem)
{
    int number = 0;
    Phrase why = program.limits.any()
        ? Phrase::translate("ProgramFile", "у программы свои пределы защиты, а список их не передаёт")
        : notAList(program.body, number);
    if (why.isEmpty() && rowsOf(program.body) > ProgramFile::kMaxSteps) {
        why = Phrase::translate("ProgramFile", "в списке вышло бы больше %1 строк").arg(ProgramFile::kMaxSteps);
    }
    if (!why.isEmpty()) {
        if (problem != nullptr) {
            *problem = why;
        }
        return std::nullopt;
    }
    return QByteArray::fromStdString(std::string(kCsvHeader) + '\n' + rowsText(program.body));
}
