#include "program/ProgramJsonReader.h"

#include "program/EndConditionReader.h"
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

bool ProgramJsonReader::readDocument(const JsonValue& root, Program& program)
{
    if (root.kind != JsonValue::Kind::Object) {
        return fields_.fail(root.line, Phrase::translate("ProgramFile", "документ должен быть объектом JSON"));
    }
    const JsonValue* format = fields_.required(root, "format");
    if (format == nullptr || !fields_.text(*format, {kFormat})) {
        return false;
    }
    // Before the keys: a newer version may have keys this one does not know.
    const JsonValue* version = fields_.required(root, "version");
    if (version == nullptr || !readVersion(*version)) {
        return false;
    }
    if (!fields_.knownKeys(root, {"format", "version", "on_link_return", "limits", "battery", "steps"})) {
        return false;
    }
    const JsonValue* limits = root.member("limits");
    const JsonValue* battery = root.member("battery");
    if ((limits != nullptr && !readLimits(*limits, program.limits))
        || (battery != nullptr && !readBattery(*battery, program.battery.emplace()))) {
        return false;
    }
    if (const JsonValue* linkReturn = root.member("on_link_return")) {
        if (!fields_.text(*linkReturn, {"stop", "resume"})) {
            return false;
        }
        program.onLinkReturn = linkReturn->text == "resume" ? Program::LinkReturn::Resume : Program::LinkReturn::Stop;
    }
    const JsonValue* steps = fields_.required(root, "steps");
    return steps != nullptr && readItems(*steps, 0, program.body.items);
}

bool ProgramJsonReader::readVersion(const JsonValue& version)
{
    if (version.kind != JsonValue::Kind::Number || !version.integral) {
        return fields_.wrongKind(version, Phrase::translate("ProgramFile", "%1 должно быть целым числом"));
    }
    const QString given = QString::fromStdString(ProgramNumber::text(version.number));
    if (version.number > ProgramFile::kVersion) {
        return fields_.fail(version.line,
            Phrase::translate("ProgramFile", "версия %1 новее, чем эта программа умеет читать (%2)")
                .arg(given)
                .arg(ProgramFile::kVersion));
    }
    if (version.number < 1) {
        return fields_.fail(
            version.line, Phrase::translate("ProgramFile", "версии %1 не бывает, первая — 1").arg(given));
    }
    return true;
}

bool ProgramJsonReader::readItems(const JsonValue& list, int depth, std::vector<ProgramNode>& items)
{
    if (list.kind != JsonValue::Kind::Array) {
        return fields_.wrongKind(list, Phrase::translate("ProgramFile", "%1 должно быть списком [ ]"));
    }
    for (const JsonValue& item : list.items) {
        if (item.kind != JsonValue::Kind::Object) {
            return fields_.fail(
                item.line, Phrase::translate("ProgramFile", "элемент \"steps\" должен быть объектом { }"));
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
        return fields_.fail(
            item.line, Phrase::translate("ProgramFile", "групп вложено больше %1").arg(ProgramFile::kMaxGroupDepth));
    }
    if (!fields_.knownKeys(item, {"repeat", "steps"})) {
        return false;
    }
    const JsonValue* repeat = fields_.required(item, "repeat");
    const JsonValue* steps = fields_.required(item, "steps");
    if (repeat == nullptr || steps == nullptr) {
        return false;
    }
    if (repeat->kind == JsonValue::Kind::String && repeat->text == "until_stopped") {
        group.count.reset();
    } else if (repeat->kind == JsonValue::Kind::Number && repeat->integral && repeat->number >= 1
        && repeat->number <= INT_MAX) {
        group.count = static_cast<int>(repeat->number);
    } else {
        return fields_.fail(repeat->line,
            Phrase::translate("ProgramFile", "\"repeat\" должно быть целым числом от 1 до %1 или \"until_stopped\"")
                .arg(INT_MAX));
    }
    return readItems(*steps, depth, group.items);
}

bool ProgramJsonReader::readStep(const JsonValue& item, ProgramStep& step)
{
    if (++steps_ > ProgramFile::kMaxSteps) {
        return fields_.fail(item.line, Phrase::translate("ProgramFile", "шагов больше %1").arg(ProgramFile::kMaxSteps));
    }
    if (!fields_.knownKeys(
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
            : fields_.wrongKind(member, Phrase::translate("ProgramFile", "%1 должно быть строкой"));
    }
    if (key == "voltage_V" || key == "current_A") {
        const bool read = fields_.number(member, value);
        (key == "voltage_V" ? step.volts : step.amperes) = value;
        return read;
    }
    if (key == "output") {
        return member.kind == JsonValue::Kind::Bool
            ? (step.output = member.boolean, true)
            : fields_.wrongKind(member, Phrase::translate("ProgramFile", "%1 должно быть true или false"));
    }
    if (key == "ramp") {
        ProgramStep::Ramp ramp;
        const bool read = readRamp(member, ramp);
        step.ramp = ramp;
        return read;
    }
    if (key == "duration_s") {
        return fields_.seconds(member, step.duration);
    }
    if (key == "until") {
        return EndConditionReader(fields_).read(member, step.ends);
    }
    return fields_.seconds(member, maxDuration);
}

// What a step's keys must say together: a ramp needs a duration and sets its
// quantity alone; conditions need a maximum duration.
bool ProgramJsonReader::completeStep(
    const JsonValue& item, ProgramStep& step, const std::optional<std::chrono::milliseconds>& maxDuration)
{
    if (const JsonValue* ramp = item.member("ramp")) {
        if (!step.duration) {
            return fields_.fail(ramp->keyLine,
                Phrase::translate(
                    "ProgramFile", "у \"ramp\" нет \"duration_s\": плавному изменению нужна длительность"));
        }
        const bool voltage = step.ramp->quantity == Quantity::Voltage;
        if (voltage ? step.volts.has_value() : step.amperes.has_value()) {
            return fields_.fail(ramp->keyLine,
                Phrase::translate("ProgramFile", "\"ramp\" и %1 задают одно и то же")
                    .arg(ProgramKeys::keyText(voltage ? "voltage_V" : "current_A")));
        }
    }
    if (!step.ends.empty() && !maxDuration) {
        return fields_.fail(item.member("until")->keyLine,
            Phrase::translate("ProgramFile", "у \"until\" нет \"max_duration_s\": условие может не наступить"));
    }
    step.maxDuration = maxDuration ? *maxDuration : step.duration.value_or(Millis(0));
    return true;
}

bool ProgramJsonReader::readRamp(const JsonValue& ramp, ProgramStep::Ramp& out)
{
    if (ramp.kind != JsonValue::Kind::Object) {
        return fields_.wrongKind(ramp, Phrase::translate("ProgramFile", "%1 должно быть объектом { }"));
    }
    if (!fields_.knownKeys(ramp, {"quantity", "from", "to"})) {
        return false;
    }
    const JsonValue* quantity = fields_.required(ramp, "quantity");
    const JsonValue* from = fields_.required(ramp, "from");
    const JsonValue* to = fields_.required(ramp, "to");
    if (quantity == nullptr || from == nullptr || to == nullptr || !fields_.text(*quantity, {"voltage", "current"})) {
        return false;
    }
    out.quantity = quantity->text == "voltage" ? Quantity::Voltage : Quantity::Current;
    return fields_.number(*from, out.from) && fields_.number(*to, out.to);
}

bool ProgramJsonReader::readLimits(const JsonValue& object, ProtectionLimits& limits)
{
    if (object.kind != JsonValue::Kind::Object) {
        return fields_.wrongKind(object, Phrase::translate("ProgramFile", "%1 должно быть объектом { }"));
    }
    for (const JsonValue& member : object.items) {
        const auto known = std::find_if(ProgramKeys::kLimits.begin(), ProgramKeys::kLimits.end(),
            [&](const ProgramKeys::LimitKey& limit) { return limit.key == member.key; });
        if (known == ProgramKeys::kLimits.end()) {
            return fields_.fail(member.keyLine,
                Phrase::translate("ProgramFile", "неизвестный ключ %1").arg(ProgramKeys::keyText(member.key)));
        }
        double value = 0.0;
        if (!fields_.number(member, value)) {
            return false;
        }
        if (!(value > 0.0 && value <= ProgramKeys::kMaxSeconds)) {
            return fields_.fail(member.line,
                Phrase::translate("ProgramFile", "%1 должно быть больше нуля").arg(ProgramKeys::keyText(member.key)));
        }
        limits.set(known->quantity, value);
    }
    return true;
}

bool ProgramJsonReader::readBattery(const JsonValue& object, ProgramBattery& battery)
{
    if (object.kind != JsonValue::Kind::Object) {
        return fields_.wrongKind(object, Phrase::translate("ProgramFile", "%1 должно быть объектом { }"));
    }
    if (!fields_.knownKeys(object, {"chemistry", "cells", "capacity_Ah"})) {
        return false;
    }
    const JsonValue* chemistry = fields_.required(object, "chemistry");
    const JsonValue* cells = fields_.required(object, "cells");
    const JsonValue* capacity = fields_.required(object, "capacity_Ah");
    if (chemistry == nullptr || cells == nullptr || capacity == nullptr) {
        return false;
    }
    if (chemistry->kind != JsonValue::Kind::String) {
        return fields_.wrongKind(*chemistry, Phrase::translate("ProgramFile", "%1 должно быть строкой"));
    }
    if (cells->kind != JsonValue::Kind::Number || !cells->integral || cells->number < 1 || cells->number > kMaxCells) {
        return fields_.fail(cells->line,
            Phrase::translate("ProgramFile", "\"cells\" должно быть целым числом от 1 до %1").arg(kMaxCells));
    }
    battery.chemistry = chemistry->text;
    battery.cells = static_cast<int>(cells->number);
    return fields_.number(*capacity, battery.capacityAh);
}
