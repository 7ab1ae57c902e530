#include "program/ProgramJsonWriter.h"

#include "program/ProgramFile.h"
#include "program/ProgramIndex.h"
#include "program/ProgramKeys.h"
#include "program/ProgramNumber.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

namespace {

using Millis = std::chrono::milliseconds;

void appendString(std::string& out, std::string_view text)
{
    constexpr std::string_view kHex = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

// A measured quantity: with a point even when whole, as 5.0.
void appendValue(std::string& out, double value)
{
    if (!std::isfinite(value)) {
        out += "null"; // what JSON cannot hold is refused when read back
        return;
    }
    const std::string text = ProgramNumber::text(value);
    out += text;
    if (text.find_first_of(".e") == std::string::npos) {
        out += ".0";
    }
}

void appendSeconds(std::string& out, Millis duration)
{
    out += ProgramNumber::text(static_cast<double>(duration.count()) / 1000.0);
}

void appendKey(std::string& out, std::string_view key, bool& first)
{
    out += first ? "" : ", ";
    first = false;
    appendString(out, key);
    out += ": ";
}

void appendCondition(std::string& out, const EndCondition& end)
{
    out += '{';
    bool first = true;
    const auto numbered = std::find_if(ProgramKeys::kNumberConditions.begin(), ProgramKeys::kNumberConditions.end(),
        [&](const ProgramKeys::ConditionKey& known) { return known.kind == end.kind; });
    if (numbered != ProgramKeys::kNumberConditions.end()) {
        appendKey(out, numbered->key, first);
        appendValue(out, end.value);
    } else if (end.kind == EndCondition::Kind::TimeOfDay) {
        appendKey(out, "time_of_day", first);
        appendString(out, ProgramKeys::timeOfDayText(end.value));
    } else {
        appendKey(out, "regulation", first);
        appendString(out, end.kind == EndCondition::Kind::BecomesCv ? "CV" : "CC");
    }
    if (end.stops) {
        out += R"(, "then": "stop")";
    }
    out += '}';
}

void appendRamp(std::string& out, const ProgramStep::Ramp& ramp)
{
    out += ramp.quantity == Quantity::Voltage ? R"({"quantity": "voltage", "from": )"
                                              : R"({"quantity": "current", "from": )";
    appendValue(out, ramp.from);
    out += R"(, "to": )";
    appendValue(out, ramp.to);
    out += '}';
}

void appendConditions(std::string& out, const std::vector<EndCondition>& ends)
{
    out += '[';
    for (const EndCondition& end : ends) {
        out += &end == &ends.front() ? "" : ", ";
        appendCondition(out, end);
    }
    out += ']';
}

// The setpoints and the output, in the order the format lists them.
void appendSettings(std::string& out, const ProgramStep& step, bool& first)
{
    if (!step.name.empty()) {
        appendKey(out, "name", first);
        appendString(out, step.name);
    }
    if (step.volts) {
        appendKey(out, "voltage_V", first);
        appendValue(out, *step.volts);
    }
    if (step.amperes) {
        appendKey(out, "current_A", first);
        appendValue(out, *step.amperes);
    }
    if (step.output) {
        appendKey(out, "output", first);
        out += *step.output ? "true" : "false";
    }
}

void appendStep(std::string& out, const ProgramStep& step)
{
    out += '{';
    bool first = true;
    appendSettings(out, step, first);
    if (step.ramp) {
        appendKey(out, "ramp", first);
        appendRamp(out, *step.ramp);
    }
    if (step.duration) {
        appendKey(out, "duration_s", first);
        appendSeconds(out, *step.duration);
    }
    if (!step.ends.empty()) {
        appendKey(out, "until", first);
        appendConditions(out, step.ends);
    }
    if (!step.ends.empty() || step.maxDuration != step.duration.value_or(Millis(0))) {
        appendKey(out, "max_duration_s", first);
        appendSeconds(out, step.maxDuration);
    }
    out += '}';
}

void appendItems(std::string& out, const std::vector<ProgramNode>& items, std::size_t level)
{
    if (items.empty()) {
        out += "[]";
        return;
    }
    out += "[\n";
    for (const ProgramNode& node : items) {
        out.append(2 * (level + 1), ' ');
        if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
            appendStep(out, *step);
        } else {
            const auto& group = std::get<ProgramGroup>(node.content);
            out += R"({"repeat": )";
            out += group.count ? std::to_string(*group.count) : R"("until_stopped")";
            out += R"(, "steps": )";
            appendItems(out, group.items, level + 1);
            out += '}';
        }
        out += &node == &items.back() ? "\n" : ",\n";
    }
    out.append(2 * level, ' ');
    out += ']';
}

void appendLimits(std::string& out, const ProtectionLimits& limits)
{
    out += "  \"limits\": {";
    bool first = true;
    for (const auto& [key, quantity] : ProgramKeys::kLimits) {
        if (const auto limit = limits.of(quantity)) {
            appendKey(out, key, first);
            appendValue(out, *limit);
        }
    }
    out += "},\n";
}

void appendBattery(std::string& out, const ProgramBattery& battery)
{
    out += R"(  "battery": {"chemistry": )";
    appendString(out, battery.chemistry);
    out += R"(, "cells": )" + std::to_string(battery.cells) + R"(, "capacity_Ah": )";
    appendValue(out, battery.capacityAh);
    out += "},\n";
}

// The first version that holds everything the program uses, so that files
// without the newer keys stay readable by older builds.
int versionFor(const Program& program)
{
    const ProgramIndex index(program);
    for (int number = 1; number <= index.size(); ++number) {
        const auto& ends = index.step(number).ends;
        if (std::any_of(ends.begin(), ends.end(),
                [](const EndCondition& end) { return end.stops || end.kind == EndCondition::Kind::VoltageFlat; })) {
            return ProgramFile::kVersion;
        }
    }
    return program.limits.any() || program.battery ? ProgramFile::kVersion : 1;
}

} // namespace

QByteArray ProgramJsonWriter::write(const Program& program)
{
    std::string out
        = "{\n  \"format\": \"tendrel-program\",\n  \"version\": " + std::to_string(versionFor(program)) + ",\n";
    out += program.onLinkReturn == Program::LinkReturn::Resume ? "  \"on_link_return\": \"resume\",\n"
                                                               : "  \"on_link_return\": \"stop\",\n";
    if (program.limits.any()) {
        appendLimits(out, program.limits);
    }
    if (program.battery) {
        appendBattery(out, *program.battery);
    }
    out += "  \"steps\": ";
    appendItems(out, program.body.items, 1);
    out += "\n}\n";
    return QByteArray::fromStdString(out);
}
