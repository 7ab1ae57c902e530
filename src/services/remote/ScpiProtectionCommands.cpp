#include "remote/ScpiProtectionCommands.h"

#include "remote/ScpiNumber.h"
#include "remote/ScpiParameterCount.h"

#include <utility>

namespace {

ScpiNumber::Unit quantityOf(RemoteInstrument::Guard guard)
{
    switch (guard) {
    case RemoteInstrument::Guard::Voltage:
        return ScpiNumber::Unit::Voltage;
    case RemoteInstrument::Guard::Current:
        return ScpiNumber::Unit::Current;
    default:
        return ScpiNumber::Unit::Power;
    }
}

// The model's limits give the levels' range.
std::optional<ScpiError> needSupply(const RemoteInstrument& instrument)
{
    if (instrument.identified()) {
        return std::nullopt;
    }
    return ScpiError::executionError("no supply identified");
}

} // namespace

ScpiProtectionCommands::ScpiProtectionCommands(RemoteInstrument& instrument, std::vector<std::string>& answers)
    : instrument_(instrument)
    , answers_(answers)
{
}

ScpiProtectionCommands::Outcome ScpiProtectionCommands::setLevelOf(const ScpiCommand& command, Guard guard)
{
    if (Outcome error = ScpiParameterCount::one(command)) {
        return error;
    }
    if (Outcome error = needSupply(instrument_)) {
        return error;
    }
    auto level = ScpiNumber::within(command.parameters.front(), quantityOf(guard), instrument_.protectionMinimum(guard),
        instrument_.protectionMaximum(guard));
    if (auto* error = std::get_if<ScpiError>(&level)) {
        return std::move(*error);
    }
    instrument_.setProtectionLevel(guard, std::get<double>(level));
    return std::nullopt;
}

ScpiProtectionCommands::Outcome ScpiProtectionCommands::levelOf(const ScpiCommand& command, Guard guard)
{
    const auto asked = ScpiNumber::queryBound(command.parameters);
    if (const auto* error = std::get_if<ScpiError>(&asked)) {
        return *error;
    }
    const std::optional<ScpiNumber::Kind> bound = std::get<std::optional<ScpiNumber::Kind>>(asked);
    if (Outcome error = needSupply(instrument_)) {
        return error;
    }
    double level = instrument_.protectionLevel(guard);
    if (bound) {
        level = *bound == ScpiNumber::Kind::Minimum ? instrument_.protectionMinimum(guard)
                                                    : instrument_.protectionMaximum(guard);
    }
    answers_.push_back(ScpiNumber::fixed(level).value_or(""));
    return std::nullopt;
}

ScpiProtectionCommands::Outcome ScpiProtectionCommands::setStateOf(const ScpiCommand& command, Guard guard)
{
    if (Outcome error = ScpiParameterCount::one(command)) {
        return error;
    }
    const std::optional<bool> on = ScpiNumber::boolean(command.parameters.front());
    if (!on) {
        return ScpiError::illegalParameterValue();
    }
    if (Outcome error = needSupply(instrument_)) {
        return error;
    }
    instrument_.armProtection(guard, *on);
    return std::nullopt;
}

ScpiProtectionCommands::Outcome ScpiProtectionCommands::stateOf(const ScpiCommand& command, Guard guard)
{
    return answerFlag(command, instrument_.protectionArmed(guard));
}

ScpiProtectionCommands::Outcome ScpiProtectionCommands::trippedOn(const ScpiCommand& command, Guard guard)
{
    return answerFlag(command, instrument_.protectionTrip() == guard);
}

ScpiProtectionCommands::Outcome ScpiProtectionCommands::answerFlag(const ScpiCommand& command, bool flag)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    answers_.emplace_back(flag ? "1" : "0");
    return std::nullopt;
}

ScpiProtectionCommands::Outcome ScpiProtectionCommands::clear(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    instrument_.clearProtectionTrip();
    return std::nullopt;
}
