#include "remote/ScpiSession.h"

#include "remote/ScpiParameterCount.h"
#include "remote/ScpiParser.h"

#include <utility>

namespace {

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

template <ScpiSession::SupplyHandler handler> ScpiSession::Outcome ScpiSession::supply(const ScpiCommand& command)
{
    ScpiSupplyCommands commands(instrument_, answers_, tickets_);
    return (commands.*handler)(command);
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
        {ScpiPattern("[SOURce:]VOLTage[:LEVel][:IMMediate][:AMPLitude]"),
            &ScpiSession::supply<&ScpiSupplyCommands::setVoltage>},
        {ScpiPattern("[SOURce:]VOLTage[:LEVel][:IMMediate][:AMPLitude]?"),
            &ScpiSession::supply<&ScpiSupplyCommands::voltageQuery>},
        {ScpiPattern("[SOURce:]CURRent[:LEVel][:IMMediate][:AMPLitude]"),
            &ScpiSession::supply<&ScpiSupplyCommands::setCurrent>},
        {ScpiPattern("[SOURce:]CURRent[:LEVel][:IMMediate][:AMPLitude]?"),
            &ScpiSession::supply<&ScpiSupplyCommands::currentQuery>},
        {ScpiPattern("OUTPut[:STATe]"), &ScpiSession::supply<&ScpiSupplyCommands::setOutput>},
        {ScpiPattern("OUTPut[:STATe]?"), &ScpiSession::supply<&ScpiSupplyCommands::outputQuery>},
        {ScpiPattern("OUTPut:MODE?"), &ScpiSession::supply<&ScpiSupplyCommands::outputMode>},
        {ScpiPattern("MEASure[:SCALar]:VOLTage[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureVoltage>},
        {ScpiPattern("MEASure[:SCALar]:CURRent[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureCurrent>},
        {ScpiPattern("MEASure[:SCALar]:POWer[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
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

void ScpiSession::commandsDropped(RemoteInstrument::Frame frame, std::uint64_t first, std::uint64_t last)
{
    if (tickets_.among(frame, first, last)) {
        errors_.push(ScpiError::executionError("link lost, command not sent"));
    }
}

void ScpiSession::unknownSetpointSent(double volts)
{
    errors_.push(ScpiError::unknownSetpointSent(volts));
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
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    const std::string model = instrument_.identified() ? field(instrument_.modelName()) : "NONE";
    answers_.push_back(std::string(kMaker) + "," + model + ",0," + field(programVersion_));
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::reset(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    if (instrument_.identified() && instrument_.requestOutput(false)) {
        tickets_.record(instrument_, RemoteInstrument::Frame::Voltage);
    }
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::clearStatus(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    errors_.clear();
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::operationComplete(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    answers_.emplace_back("1");
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::nextError(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    answers_.push_back(errors_.next());
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::scpiVersion(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    answers_.emplace_back("1999.0");
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::linkQuery(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    answers_.emplace_back(linkWord(instrument_.link()));
    return std::nullopt;
}
