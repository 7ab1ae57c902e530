#include "remote/ScpiSession.h"

#include "remote/ScpiParser.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace {

using Quantity = ScpiNumber::Quantity;

// Slack for limits given as decimal text that doubles cannot hold exactly.
constexpr double kLimitSlack = 1e-9;

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

std::optional<ScpiError> noParameters(const ScpiCommand& command)
{
    if (!command.parameters.empty()) {
        return ScpiError::parameterNotAllowed();
    }
    return std::nullopt;
}

std::optional<ScpiError> oneParameter(const ScpiCommand& command)
{
    if (command.parameters.empty()) {
        return ScpiError::missingParameter();
    }
    if (command.parameters.size() > 1) {
        return ScpiError::parameterNotAllowed();
    }
    return std::nullopt;
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::optional<bool> onOff(std::string_view text)
{
    std::string word;
    for (const char c : text) {
        word.push_back(upper(c));
    }
    if (word == "ON" || word == "1") {
        return true;
    }
    if (word == "OFF" || word == "0") {
        return false;
    }
    return std::nullopt;
}

// Text from elsewhere made safe inside one field of an answer.
std::string field(std::string_view text)
{
    std::string safe;
    for (const char c : text) {
        const bool printable = c >= ' ' && c <= '~' && c != ',' && c != ';' && c != '"';
        safe.push_back(printable ? c : ' ');
    }
    return safe.empty() ? std::string("-") : safe;
}

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

ScpiSession::ScpiSession(RemoteInstrument& instrument, std::string programVersion)
    : instrument_(instrument)
    , programVersion_(std::move(programVersion))
{
}

const std::vector<ScpiSession::Entry>& ScpiSession::table()
{
    static const std::vector<Entry> entries{
        {ScpiPattern("*IDN?"), &ScpiSession::identify},
        {ScpiPattern("*RST"), &ScpiSession::reset},
        {ScpiPattern("*CLS"), &ScpiSession::clearStatus},
        {ScpiPattern("*OPC?"), &ScpiSession::operationComplete},
        {ScpiPattern("SYSTem:ERRor[:NEXT]?"), &ScpiSession::nextError},
        {ScpiPattern("SYSTem:VERSion?"), &ScpiSession::scpiVersion},
        {ScpiPattern("SYSTem:LINK?"), &ScpiSession::linkQuery},
        {ScpiPattern("[SOURce:]VOLTage[:LEVel][:IMMediate][:AMPLitude]"), &ScpiSession::setVoltage},
        {ScpiPattern("[SOURce:]VOLTage[:LEVel][:IMMediate][:AMPLitude]?"), &ScpiSession::voltageQuery},
        {ScpiPattern("[SOURce:]CURRent[:LEVel][:IMMediate][:AMPLitude]"), &ScpiSession::setCurrent},
        {ScpiPattern("[SOURce:]CURRent[:LEVel][:IMMediate][:AMPLitude]?"), &ScpiSession::currentQuery},
        {ScpiPattern("OUTPut[:STATe]"), &ScpiSession::setOutput},
        {ScpiPattern("OUTPut[:STATe]?"), &ScpiSession::outputQuery},
        {ScpiPattern("OUTPut:MODE?"), &ScpiSession::outputMode},
        {ScpiPattern("MEASure[:SCALar]:VOLTage[:DC]?"), &ScpiSession::measureVoltage},
        {ScpiPattern("MEASure[:SCALar]:CURRent[:DC]?"), &ScpiSession::measureCurrent},
        {ScpiPattern("MEASure[:SCALar]:POWer[:DC]?"), &ScpiSession::measurePower},
    };
    return entries;
}

const ScpiSession::Entry* ScpiSession::find(const ScpiCommand& command)
{
    const auto lookUp = [&command](const std::vector<std::string>& mnemonics) -> const Entry* {
        for (const Entry& entry : table()) {
            if (entry.pattern.matches(mnemonics, command.query)) {
                return &entry;
            }
        }
        return nullptr;
    };
    // A command after a semicolon is first read below the previous one's path.
    std::vector<std::string> full = path_;
    full.insert(full.end(), command.mnemonics.begin(), command.mnemonics.end());
    const bool relative = !command.common && !command.absolute && !path_.empty();
    const Entry* entry = relative ? lookUp(full) : nullptr;
    if (entry == nullptr) {
        full = command.mnemonics;
        entry = lookUp(full);
    }
    if (entry != nullptr && !command.common) {
        full.pop_back();
        path_ = std::move(full);
    }
    return entry;
}

std::string ScpiSession::handleLine(std::string_view line)
{
    path_.clear();
    answers_.clear();
    for (const std::string_view text : ScpiParser::split(line)) {
        if (Outcome error = run(text)) {
            errors_.push(std::move(*error));
            break;
        }
    }
    std::string joined;
    for (const std::string& answer : answers_) {
        joined.append(joined.empty() ? "" : ";").append(answer);
    }
    return joined;
}

void ScpiSession::lineTooLong()
{
    errors_.push(ScpiError::commandError("line too long"));
}

ScpiSession::Outcome ScpiSession::run(std::string_view text)
{
    auto parsed = ScpiParser::parse(text);
    if (auto* error = std::get_if<ScpiError>(&parsed)) {
        return std::move(*error);
    }
    const auto& command = std::get<ScpiCommand>(parsed);
    const Entry* entry = find(command);
    if (entry == nullptr) {
        return ScpiError::undefinedHeader();
    }
    return (this->*entry->handler)(command);
}

ScpiSession::Outcome ScpiSession::identify(const ScpiCommand& command)
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    const std::string model = instrument_.identified() ? field(instrument_.modelName()) : "NONE";
    answers_.push_back(std::string(kMaker) + "," + model + ",0," + field(programVersion_));
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::reset(const ScpiCommand& command)
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    if (instrument_.identified()) {
        instrument_.requestOutput(false);
    }
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::clearStatus(const ScpiCommand& command)
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    errors_.clear();
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::operationComplete(const ScpiCommand& command)
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    answers_.emplace_back("1");
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::nextError(const ScpiCommand& command)
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    answers_.push_back(errors_.next());
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::scpiVersion(const ScpiCommand& command)
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    answers_.emplace_back("1999.0");
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::linkQuery(const ScpiCommand& command)
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    answers_.emplace_back(linkWord(instrument_.link()));
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::setVoltage(const ScpiCommand& command)
{
    return setpoint(command, Quantity::Voltage);
}

ScpiSession::Outcome ScpiSession::setCurrent(const ScpiCommand& command)
{
    return setpoint(command, Quantity::Current);
}

ScpiSession::Outcome ScpiSession::voltageQuery(const ScpiCommand& command)
{
    return setpointQuery(command, Quantity::Voltage);
}

ScpiSession::Outcome ScpiSession::currentQuery(const ScpiCommand& command)
{
    return setpointQuery(command, Quantity::Current);
}

ScpiSession::Outcome ScpiSession::setpoint(const ScpiCommand& command, Quantity quantity)
{
    if (Outcome error = oneParameter(command)) {
        return error;
    }
    if (!instrument_.identified()) {
        return noSupply();
    }
    auto parsed = ScpiNumber::parse(command.parameters.front(), quantity);
    if (auto* error = std::get_if<ScpiError>(&parsed)) {
        return std::move(*error);
    }
    const auto& number = std::get<ScpiNumber>(parsed);
    const Limits limits = limitsOf(instrument_, quantity);
    double value = number.value();
    if (number.kind() != ScpiNumber::Kind::Value) {
        value = number.kind() == ScpiNumber::Kind::Minimum ? limits.min : limits.max;
    }
    if (value < limits.min - kLimitSlack || value > limits.max + kLimitSlack) {
        return ScpiError::dataOutOfRange();
    }
    const auto result = quantity == Quantity::Voltage ? instrument_.setVoltage(value) : instrument_.setCurrent(value);
    switch (result) {
    case RemoteInstrument::SetResult::Done:
        return std::nullopt;
    case RemoteInstrument::SetResult::OutOfRange:
        return ScpiError::dataOutOfRange();
    case RemoteInstrument::SetResult::NotConnected:
        break;
    }
    return noSupply();
}

ScpiSession::Outcome ScpiSession::setpointQuery(const ScpiCommand& command, Quantity quantity)
{
    if (command.parameters.size() > 1) {
        return ScpiError::parameterNotAllowed();
    }
    std::optional<ScpiNumber::Kind> bound;
    if (!command.parameters.empty()) {
        bound = ScpiNumber::bound(command.parameters.front());
        if (!bound) {
            return ScpiError::illegalParameterValue();
        }
    }
    if (!instrument_.identified()) {
        return noSupply();
    }
    if (bound) {
        const Limits limits = limitsOf(instrument_, quantity);
        return answerNumber(*bound == ScpiNumber::Kind::Minimum ? limits.min : limits.max);
    }
    return answerNumber(quantity == Quantity::Voltage ? instrument_.voltageSetpoint() : instrument_.currentSetpoint());
}

ScpiSession::Outcome ScpiSession::setOutput(const ScpiCommand& command)
{
    if (Outcome error = oneParameter(command)) {
        return error;
    }
    const std::optional<bool> on = onOff(command.parameters.front());
    if (!on) {
        return ScpiError::illegalParameterValue();
    }
    if (!instrument_.identified() || !instrument_.requestOutput(*on)) {
        return noSupply();
    }
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::outputQuery(const ScpiCommand& command)
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    if (!instrument_.identified()) {
        return noSupply();
    }
    answers_.emplace_back(instrument_.outputOn() ? "1" : "0");
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::outputMode(const ScpiCommand& command)
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    const std::optional<RemoteInstrument::Measurement> reading
        = instrument_.identified() ? instrument_.latest() : std::nullopt;
    if (!reading) {
        return noSupply();
    }
    if (!reading->outputOn) {
        answers_.emplace_back("OFF");
    } else {
        answers_.emplace_back(reading->voltageRegulated ? "CV" : "CC");
    }
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::measureVoltage(const ScpiCommand& command)
{
    return measure(command, [](const RemoteInstrument::Measurement& m) { return m.voltage; });
}

ScpiSession::Outcome ScpiSession::measureCurrent(const ScpiCommand& command)
{
    return measure(command, [](const RemoteInstrument::Measurement& m) { return m.current; });
}

ScpiSession::Outcome ScpiSession::measurePower(const ScpiCommand& command)
{
    return measure(command, [](const RemoteInstrument::Measurement& m) { return m.voltage * m.current; });
}

ScpiSession::Outcome ScpiSession::measure(
    const ScpiCommand& command, double (*pick)(const RemoteInstrument::Measurement&))
{
    if (Outcome error = noParameters(command)) {
        return error;
    }
    const std::optional<RemoteInstrument::Measurement> reading
        = instrument_.identified() ? instrument_.latest() : std::nullopt;
    if (!reading) {
        return noSupply();
    }
    return answerNumber(pick(*reading));
}

ScpiSession::Outcome ScpiSession::answerNumber(double value)
{
    std::array<char, 32> text{};
    // Adding zero turns -0 into 0.
    const auto [end, error]
        = std::to_chars(text.data(), text.data() + text.size(), value + 0.0, std::chars_format::fixed, 3);
    if (!std::isfinite(value) || error != std::errc()) {
        return ScpiError::executionError("no valid reading");
    }
    answers_.emplace_back(text.data(), end);
    return std::nullopt;
}
