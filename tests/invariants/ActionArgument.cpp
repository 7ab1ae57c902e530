#include "ActionArgument.h"

#include <chrono>
#include <optional>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

std::optional<double> number(const std::string& text)
{
    if (text.empty() || text == "-") {
        return std::nullopt;
    }
    return std::stod(text);
}

} // namespace

ProgramStep ActionArgument::step(const std::string& text)
{
    const std::vector<std::string> fields = split(text, '/');
    ProgramStep step;
    if (fields.size() != 4) {
        return step;
    }
    step.volts = number(fields[0]);
    step.amperes = number(fields[1]);
    if (fields[2] != "-") {
        step.output = fields[2] == "on";
    }
    step.duration = std::chrono::milliseconds(std::stoi(fields[3]));
    step.maxDuration = *step.duration;
    return step;
}

Program ActionArgument::program(const std::string& text)
{
    const std::vector<std::string> parts = split(text, ';');
    Program program;
    program.onLinkReturn
        = !parts.empty() && parts.front() == "resume" ? Program::LinkReturn::Resume : Program::LinkReturn::Stop;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        program.body.items.push_back({step(parts[i])});
    }
    return program;
}

ProtectionLimits ActionArgument::limits(const std::string& text)
{
    ProtectionLimits limits;
    for (const std::string& item : split(text, ' ')) {
        if (item.size() < 3 || item[1] != '=') {
            continue;
        }
        const std::optional<double> value = number(item.substr(2));
        if (item[0] == 'V') {
            limits.volts = value;
        } else if (item[0] == 'A') {
            limits.amperes = value;
        } else if (item[0] == 'W') {
            limits.watts = value;
        }
    }
    return limits;
}
