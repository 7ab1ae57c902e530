#include "Action.h"

#include <array>
#include <sstream>
#include <utility>

namespace {

constexpr std::array<std::pair<Action::Kind, const char*>, 17> kNames{{
    {Action::Kind::TypeVoltage, "type-voltage"},
    {Action::Kind::TypeCurrent, "type-current"},
    {Action::Kind::PressOn, "press-on"},
    {Action::Kind::PressOff, "press-off"},
    {Action::Kind::TimerStart, "timer-start"},
    {Action::Kind::TimerStop, "timer-stop"},
    {Action::Kind::TimerContinue, "timer-continue"},
    {Action::Kind::HotApply, "hot-apply"},
    {Action::Kind::Scpi, "scpi"},
    {Action::Kind::Mqtt, "mqtt"},
    {Action::Kind::ProgramStart, "program-start"},
    {Action::Kind::ProgramPause, "program-pause"},
    {Action::Kind::ProgramResume, "program-resume"},
    {Action::Kind::ProgramStop, "program-stop"},
    {Action::Kind::Protect, "protect"},
    {Action::Kind::ProtectClear, "protect-clear"},
    {Action::Kind::Sim, "sim"},
}};

} // namespace

const char* Action::name(Kind kind)
{
    for (const auto& [each, text] : kNames) {
        if (each == kind) {
            return text;
        }
    }
    return "?";
}

std::string Action::text() const
{
    std::string line = "+" + std::to_string(gapMs) + (atReply ? " @ " : " ") + name(kind);
    if (!argument.empty()) {
        line += " " + argument;
    }
    return line;
}

std::optional<Action> Action::parse(const std::string& line)
{
    std::istringstream words(line);
    std::string gap;
    std::string word;
    if (!(words >> gap >> word) || gap.size() < 2 || gap.front() != '+') {
        return std::nullopt;
    }
    Action action;
    action.gapMs = std::stoi(gap.substr(1));
    if (word == "@") {
        action.atReply = true;
        if (!(words >> word)) {
            return std::nullopt;
        }
    }
    bool known = false;
    for (const auto& [kind, text] : kNames) {
        if (word == text) {
            action.kind = kind;
            known = true;
        }
    }
    std::getline(words >> std::ws, action.argument);
    return known ? std::optional(action) : std::nullopt;
}
