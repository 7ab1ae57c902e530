#include "remote/ScpiSystemCommands.h"

#include "remote/ScpiChannel.h"
#include "remote/ScpiParameterCount.h"

#include <string_view>

namespace {

std::string_view linkWord(RemoteInstrument::Link link)
{
    switch (link) {
    case RemoteInstrument::Link::Connected:
        return "CONNECTED";
    case RemoteInstrument::Link::Searching:
        return "SEARCHING";
    case RemoteInstrument::Link::NoPort:
        return "NOPORT";
    }
    return "UNKNOWN";
}

} // namespace

ScpiSystemCommands::ScpiSystemCommands(const Context& context)
    : context_(context)
{
}

ScpiSystemCommands::Outcome ScpiSystemCommands::answer(std::string text)
{
    context_.answers.push_back(std::move(text));
    return std::nullopt;
}

ScpiSystemCommands::Outcome ScpiSystemCommands::nextError(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(context_.errors.next());
}

ScpiSystemCommands::Outcome ScpiSystemCommands::errorCount(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(std::to_string(context_.errors.size()));
}

ScpiSystemCommands::Outcome ScpiSystemCommands::allErrors(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    std::string all = context_.errors.next();
    while (!context_.errors.empty()) {
        all.append(",").append(context_.errors.next());
    }
    return answer(std::move(all));
}

ScpiSystemCommands::Outcome ScpiSystemCommands::version(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer("1999.0");
}

ScpiSystemCommands::Outcome ScpiSystemCommands::link(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(std::string(linkWord(context_.instrument.link())));
}

ScpiSystemCommands::Outcome ScpiSystemCommands::accessMode(const ScpiCommand& command)
{
    return ScpiParameterCount::none(command);
}

ScpiSystemCommands::Outcome ScpiSystemCommands::accessState(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::one(command)) {
        return error;
    }
    std::string word;
    for (const char c : command.parameters.front()) {
        word.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    for (const std::string_view state : {"LOC", "LOCAL", "REM", "REMOTE", "RWL", "RWLOCK"}) {
        if (word == state) {
            return std::nullopt;
        }
    }
    return ScpiError::illegalParameterValue();
}

ScpiSystemCommands::Outcome ScpiSystemCommands::selectByName(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::one(command)) {
        return error;
    }
    return select(ScpiChannel::ofName(command.parameters.front(), context_.channels));
}

ScpiSystemCommands::Outcome ScpiSystemCommands::selectedName(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer("OUT" + std::to_string(context_.selected));
}

ScpiSystemCommands::Outcome ScpiSystemCommands::selectByNumber(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::one(command)) {
        return error;
    }
    std::string_view number = command.parameters.front();
    if (number.starts_with('+')) {
        number.remove_prefix(1);
    }
    return select(ScpiChannel::ofNumber(number, context_.channels));
}

ScpiSystemCommands::Outcome ScpiSystemCommands::selectedNumber(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    return answer(std::to_string(context_.selected));
}

ScpiSystemCommands::Outcome ScpiSystemCommands::select(std::optional<std::size_t> channel)
{
    if (!channel) {
        return ScpiError::illegalParameterValue();
    }
    context_.selected = *channel;
    return std::nullopt;
}
