#include "program/ProgramJsonReader.h"

#include "program/ProgramFile.h"
#include "program/ProgramKeys.h"
#include "program/ProgramNumber.h"

#include <algorithm>
#include <climits>

namespace {

using Millis = std::chrono::milliseconds;

constexpr std::string_view kFormat = "tendrel-program";
constexpr int kMaxCells = 1000;

} // namespace

std::optional<Program> ProgramJsonReader::read(const JsonValue& root)
{
    Program program;
    if (readDocument(root, program)) {
        return program;
    }
    return std::nullopt;
}

bool ProgramJsonReader::fail(int line, const Phrase& problem)
{
    problem_ = ProgramKeys::atLine(line, problem);
    return false;
}

bool ProgramJsonReader::wrongKind(const JsonValue& value, const Phrase& kind)
{
    return fail(value.line, kind.arg(ProgramKeys::keyText(value.key)));
}

// Every member known and none twice.
bool ProgramJsonReader::knownKeys(const JsonValue& object, std::initializer_list<std::string_view> keys)
{
    for (auto member = object.items.begin(); member != object.items.end(); ++member) {
        if (std::find(keys.begin(), keys.end(), member->key) == keys.end()) {
            return fail(member->keyLine,
                Phrase::translate("ProgramFile", "неизвестный ключ %1").arg(ProgramKeys::keyText(member->key)));
        }
        if (std::any_of(
                object.items.begin(), member, [&](const JsonValue& before) { return before.key == member->key; })) {
            return fail(member->keyLine,
                Phrase::translate("ProgramFile", "ключ %1 повторён").arg(ProgramKeys::keyText(member->key)));
        }
    }
    return true;
}

const JsonValue* ProgramJsonReader::required(const JsonValue& object, std::string_view key)
{
    const JsonValue* found = object.member(key);
    if (found == nullptr) {
        fail(object.line, Phrase::translate("ProgramFile", "нет ключа %1").arg(ProgramKeys::keyText(key)));
    }
    return found;
}

bool ProgramJsonReader::number(const JsonValue& value, double& out)
{
    if (value.kind != JsonValue::Kind::Number) {
        return wrongKind(value, Phrase::translate("ProgramFile", "%1 должно быть числом"));
    }
    out = value.number;
    return true;
}

bool ProgramJsonReader::seconds(const JsonValue& value, std::optional<Millis>& out)
{
    double given = 0.0;
    if (!number(value, given)) {
        return false;
    }
    out = ProgramKeys::toMillis(given);
    return out ? true
               : fail(value.line,
                   Phrase::translate("ProgramFile", "%1 должно быть от 0 до %2 с")
                       .arg(ProgramKeys::keyText(value.key))
                       .arg(QString::fromStdString(ProgramNumber::text(ProgramKeys::kMaxSeconds))));
}

bool ProgramJsonReader::text(const JsonValue& value, std::initializer_list<std::string_view> allowed)
{
    if (value.kind == JsonValue::Kind::String
        && std::find(allowed.begin(), allowed.end(), value.text) != allowed.end()) {
        return true;
    }
    // Each further choice joins the list before it.
    Phrase choices;
    for (const std::string_view one : allowed) {
        const QString key = ProgramKeys::keyText(one);
        choices = choices.isEmpty() ? Phrase::verbatim(key)
                                    : Phrase::translate("ProgramFile", "%1 или %2").arg(choices).arg(key);
    }
    return fail(value.line,
        Phrase::translate("ProgramFile", "%1 должно быть %2").arg(ProgramKeys::keyText(value.key)).arg(choices));
}

bool ProgramJsonReader::readDocument(const JsonValue& root, Program& program)
{
    if (root.kind != JsonValue::Kind::Object) {
        return fail(root.line, Phrase::translate("ProgramFile", "документ должен быть объектом JSON"));
    }
    const JsonValue* format = required(root, "format");
    if (format == nullptr || !text(*format, {kFormat})) {
        return false;
    }
    // Before the keys: a newer version may have keys this one does not know.
    const JsonValue* version = required(root, "version");
    if (version == nullptr || !readVersion(*version)) {
        return false;
    }
    if (!knownKeys(root, {"format", "version", "on_link_return", "limits", "battery", "steps"})) {
        return false;
    }
    const JsonValue* limits = root.member("limits");
    const JsonValue* battery = root.member("battery");
    if ((limits != nullptr && !readLimits(*limits, program.limits))
        || (battery != nullptr && !readBattery(*battery, program.battery.emplace()))) {
        return false;
    }
    if (const JsonValue* linkReturn = root.member("on_link_return")) {
        if (!text(*linkReturn, {"stop", "resume"})) {
            return false;
        }
        program.onLinkReturn = linkReturn->text == "resume" ? Program::LinkReturn::Resume : Program::LinkReturn::Stop;
    }
    const JsonValue* steps = required(root, "steps");
    return steps != nullptr && readItems(*steps, 0, program.body.items);
}

bool ProgramJsonReader::readVersion(const JsonValue& version)
{
    if (version.kind != JsonValue::Kind::Number || !version.integral) {
        return wrongKind(version, Phrase::translate("ProgramFile", "%1 должно быть целым числом"));
    }
    const QString given = QString::fromStdString(ProgramNumber::text(version.number));
    if (version.number > ProgramFile::kVersion) {
        return fail(version.line,
            Phrase::translate("ProgramFile", "версия %1 новее, чем эта программа умеет читать (%2)")
                .arg(given)
                .arg(ProgramFile::kVersion));
    }
    if (version.number < 1) {
        return fail(version.line, Phrase::translate("ProgramFile", "версии %1 не бывает, первая — 1").arg(given));
    }
    return true;
}

bool ProgramJsonReader::readItems(const JsonValue& list, int depth, std::vector<ProgramNode>& items)
{
    if (list.kind != JsonValue::Kind::Array) {
        return wrongKind(list, Phrase::translate("ProgramFile", "%1 должно быть списком [ ]"));
    }
    for (const JsonValue& item : list.items) {
        if (item.kind != JsonValue::Kind::Object) {
            return fail(item.line, Phrase::translate("ProgramFile", "элемент \"steps\" должен быть объектом { }"));
        }
        ProgramNode node;
        if (item.member("repeat") != nullptr || item.member("steps") != nullptr) {
            if (!readGroup(item, depth + 1, node.content.emplace<ProgramGroup>())) {
                return false;
            }
        } else if (!readStep(item, node.content.emplace<ProgramStep>())) {
            return false;
        }
        items.push_back(std::move(node));
    }
    return true;
}

bool ProgramJsonReader::readGroup(const JsonValue& item, int depth, ProgramGroup& group)
{
    if (depth > ProgramFile::kMaxGroupDepth) {
        return fail(
            item.line, Phrase::translate("ProgramFile", "групп вложено больше %1").arg(ProgramFile::kMaxGroupDepth));
    }
    if (!knownKeys(item, {"repeat", "steps"})) {
        return false;
    }
    const JsonValue* repeat = required(item, "repeat");
    const JsonValue* steps = required(item, "steps");
    if (repeat == nullptr || steps == nullptr) {
        return false;
    }
    if (repeat->kind == JsonValue::Kind::String && repeat->text == "until_stopped") {
        group.count.reset();
    } else if (repeat->kind == JsonValue::Kind::Number && repeat->integral && repeat->number >= 1
        && repeat->number <= INT_MAX) {
        group.count = static_cast<int>(repeat->number);
    } else {
        return fail(repeat->line,
            Phrase::translate("ProgramFile", "\"repeat\" должно быть целым числом от 1 до %1 или \"until_stopped\"")
                .arg(INT_MAX));
    }
    return readItems(*steps, depth, group.items);
}

bool ProgramJsonReader::readStep(const JsonValue& item, ProgramStep& step)
{
    if (++steps_ > ProgramFile::kMaxSteps) {
        return fail(item.line, Phrase::translate("ProgramFile", "шагов больше %1").arg(ProgramFile::kMaxSteps));
    }
    if (!knownKeys(
            item, {"name", "voltage_V", "current_A", "output", "ramp", "duration_s", "until", "max_duration_s"})) {
        return false;
    }
    std::optional<Millis> maxDuration;
    for (const JsonValue& member : item.items) {
        if (!readStepMember(member, step, maxDuration)) {
            return false;
        }
    }
    return completeStep(item, step, maxDuration);
}

bool ProgramJsonReader::readStepMember(
    const JsonValue& member, ProgramStep& step, std::optional<std::chrono::milliseconds>& maxDuration)
{
    double value = 0.0;
    const std::string& key = member.key;
    if (key == "name") {
        return member.kind == JsonValue::Kind::String
            ? (step.name = member.text, true)
            : wrongKind(member, Phrase::translate("ProgramFile", "%1 должно быть строкой"));
    }
    if (key == "voltage_V" || key == "current_A") {
        const bool read = number(member, value);
        (key == "voltage_V" ? step.volts : step.amperes) = value;
        return read;
    }
    if (key == "output") {
        return member.kind == JsonValue::Kind::Bool
            ? (step.output = member.boolean, true)
            : wrongKind(member, Phrase::translate("ProgramFile", "%1 должно быть true или false"));
    }
    if (key == "ramp") {
        ProgramStep::Ramp ramp;
        const bool read = readRamp(member, ramp);
        step.ramp = ramp;
        return read;
    }
    if (key == "duration_s") {
        return seconds(member, step.duration);
    }
    if (key == "until") {
        return readConditions(member, step.ends);
    }
    return seconds(member, maxDuration);
}

// What a step's keys must say together: a ramp needs a duration and sets its
// quantity alone; conditions need a maximum duration.
bool ProgramJsonReader::completeStep(
    const JsonValue& item, ProgramStep& step, const std::optional<std::chrono::milliseconds>& maxDuration)
{
    if (const JsonValue* ramp = item.member("ramp")) {
        if (!step.duration) {
            return fail(ramp->keyLine,
                Phrase::translate(
                    "ProgramFile", "у \"ramp\" нет \"duration_s\": плавному изменению нужна длительность"));
        }
        const bool voltage = step.ramp->quantity == Quantity::Voltage;
        if (voltage ? step.volts.has_value() : step.amperes.has_value()) {
            return fail(ramp->keyLine,
                Phrase::translate("ProgramFile", "\"ramp\" и %1 задают одно и то же")
                    .arg(ProgramKeys::keyText(voltage ? "voltage_V" : "current_A")));
        }
    }
    if (!step.ends.empty() && !maxDuration) {
        return fail(item.member("until")->keyLine,
            Phrase::translate("ProgramFile", "у \"until\" нет \"max_duration_s\": условие может не наступить"));
    }
    step.maxDuration = maxDuration ? *maxDuration : step.duration.value_or(Millis(0));
    return true;
}

bool ProgramJsonReader::readRamp(const JsonValue& ramp, ProgramStep::Ramp& out)
{
    if (ramp.kind != JsonValue::Kind::Object) {
        return wrongKind(ramp, Phrase::translate("ProgramFile", "%1 должно быть объектом { }"));
    }
    if (!knownKeys(ramp, {"quantity", "from", "to"})) {
        return false;
    }
    const JsonValue* quantity = required(ramp, "quantity");
    const JsonValue* from = required(ramp, "from");
    const JsonValue* to = required(ramp, "to");
    if (quantity == nullptr || from == nullptr || to == nullptr || !text(*quantity, {"voltage", "current"})) {
        return false;
    }
    out.quantity = quantity->text == "voltage" ? Quantity::Voltage : Quantity::Current;
    return number(*from, out.from) && number(*to, out.to);
}

bool ProgramJsonReader::readLimits(const JsonValue& object, ProtectionLimits& limits)
{
    if (object.kind != JsonValue::Kind::Object) {
        return wrongKind(object, Phrase::translate("ProgramFile", "%1 должно быть объектом { }"));
    }
    for (const JsonValue& member : object.items) {
        const auto known = std::find_if(ProgramKeys::kLimits.begin(), ProgramKeys::kLimits.end(),
            [&](const ProgramKeys::LimitKey& limit) { return limit.key == member.key; });
        if (known == ProgramKeys::kLimits.end()) {
            return fail(member.keyLine,
                Phrase::translate("ProgramFile", "неизвестный ключ %1").arg(ProgramKeys::keyText(member.key)));
        }
        double value = 0.0;
        if (!number(member, value)) {
            return false;
        }
        if (!(value > 0.0 && value <= ProgramKeys::kMaxSeconds)) {
            return fail(member.line,
                Phrase::translate("ProgramFile", "%1 должно быть больше нуля").arg(ProgramKeys::keyText(member.key)));
        }
        limits.set(known->quantity, value);
    }
    return true;
}

bool ProgramJsonReader::readBattery(const JsonValue& object, ProgramBattery& battery)
{
    if (object.kind != JsonValue::Kind::Object) {
        return wrongKind(object, Phrase::translate("ProgramFile", "%1 должно быть объектом { }"));
    }
    if (!knownKeys(object, {"chemistry", "cells", "capacity_Ah"})) {
        return false;
    }
    const JsonValue* chemistry = required(object, "chemistry");
    const JsonValue* cells = required(object, "cells");
    const JsonValue* capacity = required(object, "capacity_Ah");
    if (chemistry == nullptr || cells == nullptr || capacity == nullptr) {
        return false;
    }
    if (chemistry->kind != JsonValue::Kind::String) {
        return wrongKind(*chemistry, Phrase::translate("ProgramFile", "%1 должно быть строкой"));
    }
    if (cells->kind != JsonValue::Kind::Number || !cells->integral || cells->number < 1 || cells->number > kMaxCells) {
        return fail(cells->line,
            Phrase::translate("ProgramFile", "\"cells\" должно быть целым числом от 1 до %1").arg(kMaxCells));
    }
    battery.chemistry = chemistry->text;
    battery.cells = static_cast<int>(cells->number);
    return number(*capacity, battery.capacityAh);
}

// A condition is an object of one key, and "then" when it stops the program.
bool ProgramJsonReader::readConditions(const JsonValue& list, std::vector<EndCondition>& ends)
{
    if (list.kind != JsonValue::Kind::Array) {
        return wrongKind(list, Phrase::translate("ProgramFile", "%1 должно быть списком [ ]"));
    }
    for (const JsonValue& item : list.items) {
        const JsonValue* then = item.kind == JsonValue::Kind::Object ? item.member("then") : nullptr;
        if (item.kind != JsonValue::Kind::Object || item.items.size() != (then != nullptr ? 2U : 1U)) {
            return fail(item.line,
                Phrase::translate(
                    "ProgramFile", "условие в \"until\" должно быть объектом с одним ключом и, может быть, \"then\""));
        }
        if (then != nullptr && !text(*then, {"next", "stop"})) {
            return false;
        }
        const JsonValue& condition = &item.items.front() == then ? item.items.back() : item.items.front();
        EndCondition& end = ends.emplace_back();
        end.stops = then != nullptr && then->text == "stop";
        const auto numbered = std::find_if(ProgramKeys::kNumberConditions.begin(), ProgramKeys::kNumberConditions.end(),
            [&](const ProgramKeys::ConditionKey& known) { return known.key == condition.key; });
        if (numbered != ProgramKeys::kNumberConditions.end()) {
            end.kind = numbered->kind;
            if (!number(condition, end.value)) {
                return false;
            }
        } else if (condition.key == "regulation") {
            if (!text(condition, {"CV", "CC"})) {
                return false;
            }
            end.kind = condition.text == "CV" ? EndCondition::Kind::BecomesCv : EndCondition::Kind::BecomesCc;
        } else if (condition.key == "time_of_day") {
            const std::optional<double> seconds
                = condition.kind == JsonValue::Kind::String ? ProgramKeys::timeOfDay(condition.text) : std::nullopt;
            if (!seconds) {
                return fail(condition.line,
                    Phrase::translate(
                        "ProgramFile", "\"time_of_day\" должно быть временем \"ЧЧ:ММ\" или \"ЧЧ:ММ:СС\""));
            }
            end.kind = EndCondition::Kind::TimeOfDay;
            end.value = *seconds;
        } else {
            return fail(condition.keyLine,
                Phrase::translate("ProgramFile", "неизвестный ключ %1").arg(ProgramKeys::keyText(condition.key)));
        }
    }
    return true;
}
