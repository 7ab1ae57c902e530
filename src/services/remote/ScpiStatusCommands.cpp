#include "remote/ScpiStatusCommands.h"

#include "remote/ScpiParameterCount.h"

#include <algorithm>
#include <charconv>
#include <cmath>

ScpiStatusCommands::ScpiStatusCommands(const Context& context)
    : context_(context)
{
}

std::optional<unsigned> ScpiStatusCommands::wholeNumber(const ScpiCommand& command, unsigned max, ScpiError& error)
{
    if (auto count = ScpiParameterCount::one(command)) {
        error = std::move(*count);
        return std::nullopt;
    }
    const std::string& text = command.parameters.front();
    const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
    double value = 0;
    const auto [end, problem] = std::from_chars(begin, text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size()) {
        error = ScpiError::dataTypeError();
        return std::nullopt;
    }
    value = std::round(value);
    if (!(value >= 0 && value <= max)) {
        error = ScpiError::dataOutOfRange();
        return std::nullopt;
    }
    return static_cast<unsigned>(value);
}

ScpiStatusCommands::Outcome ScpiStatusCommands::answer(unsigned value)
{
    context_.answers.push_back(std::to_string(value));
    return std::nullopt;
}

ScpiStatusCommands::Outcome ScpiStatusCommands::setEventEnable(const ScpiCommand& command)
{
    ScpiError error;
    const auto value = wholeNumber(command, 255, error);
    if (!value) {
        return error;
    }
    context_.status.setEventEnable(static_cast<std::uint8_t>(*value));
    return std::nullopt;
}

ScpiStatusCommands::Outcome ScpiStatusCommands::eventEnable(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(context_.status.eventEnable());
}

ScpiStatusCommands::Outcome ScpiStatusCommands::takeEvents(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(context_.status.takeEvents());
}

ScpiStatusCommands::Outcome ScpiStatusCommands::setServiceEnable(const ScpiCommand& command)
{
    ScpiError error;
    const auto value = wholeNumber(command, 255, error);
    if (!value) {
        return error;
    }
    context_.status.setServiceEnable(static_cast<std::uint8_t>(*value));
    return std::nullopt;
}

ScpiStatusCommands::Outcome ScpiStatusCommands::serviceEnable(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(context_.status.serviceEnable());
}

ScpiStatusCommands::Outcome ScpiStatusCommands::statusByte(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(context_.status.statusByte(context_.errorQueued, !context_.answers.empty()));
}

ScpiStatusCommands::Outcome ScpiStatusCommands::selfTest(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    // Nothing to test but whether every supply answers.
    const auto identified = [](const RemoteInstrument* channel) { return channel->identified(); };
    return answer(std::all_of(context_.channels.begin(), context_.channels.end(), identified) ? 0 : 1);
}

ScpiStatusCommands::Outcome ScpiStatusCommands::options(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(0);
}

ScpiStatusCommands::Outcome ScpiStatusCommands::preset(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    context_.status.preset();
    return std::nullopt;
}

ScpiStatusCommands::Outcome ScpiStatusCommands::takeEvent(const ScpiCommand& command, ScpiStatusRegister& which)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(which.takeEvent());
}

ScpiStatusCommands::Outcome ScpiStatusCommands::setMask(
    const ScpiCommand& command, ScpiStatusRegister& which, Setter set)
{
    ScpiError error;
    const auto value = wholeNumber(command, 65535, error);
    if (!value) {
        return error;
    }
    (which.*set)(static_cast<std::uint16_t>(*value));
    return std::nullopt;
}

ScpiStatusCommands::Outcome ScpiStatusCommands::readMask(
    const ScpiCommand& command, const ScpiStatusRegister& which, Getter get)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer((which.*get)());
}
