#include "FrameLogFormatter.h"

#include <cstdio>
#include <ctime>

std::string FrameLogFormatter::timestamp(std::chrono::system_clock::time_point at)
{
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(at);
    const long long millis = duration_cast<milliseconds>(at.time_since_epoch()).count() % 1000;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[16];
    (void)std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03lld", local.tm_hour, local.tm_min, local.tm_sec,
        millis < 0 ? millis + 1000 : millis);
    return text;
}

std::string FrameLogFormatter::describe(
    const SupplyFrameParser::Frame& frame, std::optional<SupplyState::Outcome> outcome, bool outputOn)
{
    if (frame.kind == SupplyFrameParser::Kind::Poll) {
        return "poll";
    }
    if (frame.kind == SupplyFrameParser::Kind::Garbage) {
        char text[16];
        (void)std::snprintf(text, sizeof text, "garbage 0x%02X", static_cast<unsigned>(frame.raw & 0xFF));
        return text;
    }
    const std::string name = commandName(frame.kind);
    const std::string fields = "code=" + std::to_string(frame.code);
    const std::string raw = " raw=" + std::to_string(frame.raw);
    const SupplyState::Outcome result = outcome.value_or(SupplyState::Outcome::Applied);
    if (result == SupplyState::Outcome::OtherModel) {
        return "ignored " + fields + " " + name + raw + " (another model)";
    }
    return name + " " + fields + raw + outcomeNote(frame.kind, result, outputOn);
}

std::string FrameLogFormatter::commandName(SupplyFrameParser::Kind kind)
{
    switch (kind) {
    case SupplyFrameParser::Kind::SetCurrent:
        return "set-current";
    case SupplyFrameParser::Kind::SetVoltage:
        return "set-voltage";
    case SupplyFrameParser::Kind::SetVoltageToggle:
        return "set-voltage+toggle";
    case SupplyFrameParser::Kind::Poll:
    case SupplyFrameParser::Kind::Garbage:
        break;
    }
    return "frame";
}

std::string FrameLogFormatter::outcomeNote(SupplyFrameParser::Kind kind, SupplyState::Outcome outcome, bool outputOn)
{
    switch (outcome) {
    case SupplyState::Outcome::PanelSwitch:
        return " (ignored: panel switch)";
    case SupplyState::Outcome::Unpowered:
        return " (ignored: silent)";
    case SupplyState::Outcome::Applied:
    case SupplyState::Outcome::OtherModel:
        break;
    }
    if (kind == SupplyFrameParser::Kind::SetVoltageToggle) {
        return outputOn ? " (output on)" : " (output off)";
    }
    return "";
}
