#include "remote/ScpiSupplyCommands.h"

#include "remote/ScpiParameterCount.h"
#include "supply/Conversions.h"

#include <string_view>
#include <utility>

namespace {

ScpiNumber::Unit unitOf(Quantity quantity)
{
    return quantity == Quantity::Voltage ? ScpiNumber::Unit::Voltage : ScpiNumber::Unit::Current;
}

struct Limits {
    double min;
    double max;
};

Limits limitsOf(const RemoteInstrument& instrument, Quantity quantity)
{
    if (quantity == Quantity::Voltage) {
        return {instrument.voltageMin(), instrument.voltageMax()};
    }
    return {instrument.currentMin(), instrument.currentMax()};
}

ScpiError noSupply()
{
    return ScpiError::executionError("no supply identified");
}

} // namespace

ScpiSupplyCommands::ScpiSupplyCommands(
    RemoteInstrument& instrument, std::vector<std::string>& answers, ScpiTickets& tickets)
    : instrument_(instrument)
    , answers_(answers)
    , tickets_(tickets)
{
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::setVoltage(const ScpiCommand& command)
{
    return setpoint(command, Quantity::Voltage);
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::setCurrent(const ScpiCommand& command)
{
    return setpoint(command, Quantity::Current);
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::voltageQuery(const ScpiCommand& command)
{
    return setpointQuery(command, Quantity::Voltage);
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::currentQuery(const ScpiCommand& command)
{
    return setpointQuery(command, Quantity::Current);
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::setpoint(const ScpiCommand& command, Quantity quantity)
{
    if (Outcome error = ScpiParameterCount::one(command)) {
        return error;
    }
    if (!instrument_.identified()) {
        return noSupply();
    }
    auto value = resolve(command.parameters.front(), quantity);
    if (auto* error = std::get_if<ScpiError>(&value)) {
        return std::move(*error);
    }
    return send(quantity, std::get<double>(value));
}

std::variant<double, ScpiError> ScpiSupplyCommands::resolve(std::string_view text, Quantity quantity) const
{
    const Limits limits = limitsOf(instrument_, quantity);
    return ScpiNumber::within(text, unitOf(quantity), limits.min, limits.max);
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::send(Quantity quantity, double value)
{
    const bool voltage = quantity == Quantity::Voltage;
    const RemoteInstrument::SetResult result = voltage ? instrument_.setVoltage(value) : instrument_.setCurrent(value);
    switch (result) {
    case RemoteInstrument::SetResult::Done:
        tickets_.record(instrument_, quantity);
        return std::nullopt;
    case RemoteInstrument::SetResult::OutOfRange:
        return ScpiError::dataOutOfRange();
    case RemoteInstrument::SetResult::NotConnected:
    case RemoteInstrument::SetResult::TripLatched:
    case RemoteInstrument::SetResult::PanelSwitch:
        break;
    }
    return refusal(result);
}

ScpiError ScpiSupplyCommands::refusal(RemoteInstrument::SetResult result)
{
    switch (result) {
    case RemoteInstrument::SetResult::TripLatched:
        return ScpiError::tripLatched();
    case RemoteInstrument::SetResult::PanelSwitch:
        return ScpiError::panelSwitch();
    case RemoteInstrument::SetResult::Done:
    case RemoteInstrument::SetResult::OutOfRange:
    case RemoteInstrument::SetResult::NotConnected:
        break;
    }
    return noSupply();
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::apply(const ScpiCommand& command)
{
    if (command.parameters.empty()) {
        return ScpiError::missingParameter();
    }
    if (command.parameters.size() > 2) {
        return ScpiError::parameterNotAllowed();
    }
    if (!instrument_.identified()) {
        return noSupply();
    }
    // Both values are checked before either is sent.
    auto volts = resolve(command.parameters.front(), Quantity::Voltage);
    if (auto* error = std::get_if<ScpiError>(&volts)) {
        return std::move(*error);
    }
    std::optional<double> amperes;
    if (command.parameters.size() == 2) {
        auto value = resolve(command.parameters.back(), Quantity::Current);
        if (auto* error = std::get_if<ScpiError>(&value)) {
            return std::move(*error);
        }
        amperes = std::get<double>(value);
    }
    if (Outcome error = send(Quantity::Voltage, std::get<double>(volts))) {
        return error;
    }
    return amperes ? send(Quantity::Current, *amperes) : std::nullopt;
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::applyQuery(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    if (!instrument_.identified()) {
        return noSupply();
    }
    const std::optional<double> volts = instrument_.voltageSetpoint();
    const std::optional<double> amperes = instrument_.currentSetpoint();
    if (!volts || !amperes) {
        return ScpiError::executionError("setpoint not known");
    }
    answers_.push_back(Conversions::stepText(*volts) + "," + Conversions::stepText(*amperes));
    return std::nullopt;
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::setpointQuery(const ScpiCommand& command, Quantity quantity)
{
    const auto asked = ScpiNumber::queryBound(command.parameters);
    if (const auto* error = std::get_if<ScpiError>(&asked)) {
        return *error;
    }
    const std::optional<ScpiNumber::Kind> bound = std::get<std::optional<ScpiNumber::Kind>>(asked);
    if (!instrument_.identified()) {
        return noSupply();
    }
    if (bound) {
        const Limits limits = limitsOf(instrument_, quantity);
        const double limit = *bound == ScpiNumber::Kind::Minimum ? limits.min : limits.max;
        return answerSetpoint(
            quantity == Quantity::Voltage ? instrument_.voltageStep(limit) : instrument_.currentStep(limit));
    }
    const std::optional<double> setpoint
        = quantity == Quantity::Voltage ? instrument_.voltageSetpoint() : instrument_.currentSetpoint();
    if (!setpoint) {
        return ScpiError::executionError("setpoint not known");
    }
    return answerSetpoint(*setpoint);
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::setOutput(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::one(command)) {
        return error;
    }
    const std::optional<bool> on = ScpiNumber::boolean(command.parameters.front());
    if (!on) {
        return ScpiError::illegalParameterValue();
    }
    if (!instrument_.identified()) {
        return noSupply();
    }
    const RemoteInstrument::SetResult result = instrument_.requestOutput(*on);
    if (result != RemoteInstrument::SetResult::Done) {
        return refusal(result);
    }
    tickets_.record(instrument_, Quantity::Voltage);
    return std::nullopt;
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::outputQuery(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    if (!instrument_.identified()) {
        return noSupply();
    }
    answers_.emplace_back(instrument_.outputOn() ? "1" : "0");
    return std::nullopt;
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::outputMode(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    auto reading = newestReading();
    if (auto* error = std::get_if<ScpiError>(&reading)) {
        return std::move(*error);
    }
    const auto& measurement = std::get<Measurement>(reading);
    if (!measurement.outputOn) {
        answers_.emplace_back("OFF");
    } else {
        answers_.emplace_back(measurement.voltageRegulated ? "CV" : "CC");
    }
    return std::nullopt;
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::measureVoltage(const ScpiCommand& command)
{
    return measure(command, [](const Measurement& m) { return m.volts; });
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::measureCurrent(const ScpiCommand& command)
{
    return measure(command, [](const Measurement& m) { return m.amperes; });
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::measurePower(const ScpiCommand& command)
{
    return measure(command, [](const Measurement& m) { return m.volts * m.amperes; });
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::measure(const ScpiCommand& command, double (*pick)(const Measurement&))
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    auto reading = newestReading();
    if (auto* error = std::get_if<ScpiError>(&reading)) {
        return std::move(*error);
    }
    return answerNumber(pick(std::get<Measurement>(reading)));
}

std::variant<Measurement, ScpiError> ScpiSupplyCommands::newestReading() const
{
    if (!instrument_.identified()) {
        return noSupply();
    }
    // An old reading may no longer be what the supply does.
    if (instrument_.measurementStale()) {
        return ScpiError::dataStale();
    }
    const std::optional<Measurement> reading = instrument_.latest();
    if (!reading) {
        return noSupply();
    }
    return *reading;
}

// As the supply holds it, to the last decimal of its step.
ScpiSupplyCommands::Outcome ScpiSupplyCommands::answerSetpoint(double value)
{
    std::string text = Conversions::stepText(value);
    if (text.empty()) {
        return ScpiError::executionError("no valid setpoint");
    }
    answers_.push_back(std::move(text));
    return std::nullopt;
}

ScpiSupplyCommands::Outcome ScpiSupplyCommands::answerNumber(double value)
{
    std::optional<std::string> text = ScpiNumber::fixed(value);
    if (!text) {
        return ScpiError::executionError("no valid reading");
    }
    answers_.push_back(std::move(*text));
    return std::nullopt;
}
