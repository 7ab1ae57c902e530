#include "remote/ScpiProgramCommands.h"

#include "remote/ScpiParameterCount.h"
#include "remote/ScpiProgramSource.h"
#include "remote/ScpiText.h"

#include <cmath>
#include <utility>

namespace {

bool isInfinity(const std::string& text)
{
    std::string word;
    for (const char c : text) {
        word.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    return word == "INF" || word == "INFINITY";
}

} // namespace

ScpiProgramCommands::ScpiProgramCommands(const Context& context)
    : context_(context)
{
}

ScpiProgramCommands::Outcome ScpiProgramCommands::setVoltages(const ScpiCommand& command)
{
    const RemoteInstrument& instrument = context_.instrument;
    return setList(
        command, ScpiNumber::Unit::Voltage, instrument.voltageMin(), instrument.voltageMax(), context_.lists.volts);
}

ScpiProgramCommands::Outcome ScpiProgramCommands::setCurrents(const ScpiCommand& command)
{
    const RemoteInstrument& instrument = context_.instrument;
    return setList(
        command, ScpiNumber::Unit::Current, instrument.currentMin(), instrument.currentMax(), context_.lists.amperes);
}

ScpiProgramCommands::Outcome ScpiProgramCommands::setDwells(const ScpiCommand& command)
{
    return setList(command, ScpiNumber::Unit::Time, 0.0, kMaxDwellSeconds, context_.lists.dwellSeconds);
}

ScpiProgramCommands::Outcome ScpiProgramCommands::setList(
    const ScpiCommand& command, ScpiNumber::Unit quantity, double min, double max, std::vector<double>& list) const
{
    if (command.parameters.empty()) {
        return ScpiError::missingParameter();
    }
    if (command.parameters.size() > ScpiLists::kMaxPoints) {
        return ScpiError::tooMuchData();
    }
    if (quantity != ScpiNumber::Unit::Time && !context_.instrument.identified()) {
        return ScpiError::executionError("no supply identified");
    }
    std::vector<double> values;
    for (const std::string& text : command.parameters) {
        auto value = ScpiNumber::within(text, quantity, min, max);
        if (auto* error = std::get_if<ScpiError>(&value)) {
            return std::move(*error);
        }
        values.push_back(std::get<double>(value));
    }
    list = std::move(values);
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::answerList(
    const ScpiCommand& command, const std::vector<double>& list)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    if (list.empty()) {
        return ScpiError::executionError("the list is empty");
    }
    std::string answer;
    for (const double value : list) {
        answer.append(answer.empty() ? "" : ",").append(ScpiNumber::fixed(value).value_or(""));
    }
    context_.answers.push_back(std::move(answer));
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::setCount(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::one(command)) {
        return error;
    }
    if (isInfinity(command.parameters.front())) {
        context_.lists.count.reset();
        return std::nullopt;
    }
    auto value = ScpiNumber::within(command.parameters.front(), ScpiNumber::Unit::Count, 1.0, ScpiLists::kMaxCount);
    if (auto* error = std::get_if<ScpiError>(&value)) {
        return std::move(*error);
    }
    context_.lists.count = static_cast<int>(std::lround(std::get<double>(value)));
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::count(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    const std::optional<int>& count = context_.lists.count;
    // 9.9E37 is the standard's infinity.
    context_.answers.push_back(count ? std::to_string(*count) : "9.9E37");
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::points(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    context_.answers.push_back(std::to_string(context_.lists.points()));
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::initiate(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    auto program = context_.lists.program();
    if (auto* error = std::get_if<ScpiError>(&program)) {
        return std::move(*error);
    }
    if (auto refusal = context_.instrument.startProgram(std::move(std::get<Program>(program)))) {
        return ScpiError::executionError(ScpiText::ascii(refusal->reason));
    }
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::loadProgram(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::one(command)) {
        return error;
    }
    auto program = ScpiProgramSource::read(command.parameters.front(), context_.programsFolder);
    if (auto* error = std::get_if<ScpiError>(&program)) {
        return std::move(*error);
    }
    // Checked against the supply when it starts, as the window's program is.
    context_.lists.loaded = std::move(std::get<Program>(program));
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::startProgram(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    RemoteInstrument& instrument = context_.instrument;
    if (instrument.programStatus().state == RemoteInstrument::ProgramState::Paused) {
        if (!instrument.resumeProgram()) {
            return ScpiError::executionError("the program cannot go on while the link is down or a trip is latched");
        }
        return std::nullopt;
    }
    if (!context_.lists.loaded) {
        return ScpiError::settingsConflict("no program loaded - PROG:LOAD one first");
    }
    if (auto refusal = instrument.startProgram(*context_.lists.loaded)) {
        return ScpiError::executionError(ScpiText::ascii(refusal->reason));
    }
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::pauseProgram(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    if (!context_.instrument.pauseProgram()) {
        return ScpiError::settingsConflict("no program running");
    }
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::abort(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    context_.instrument.stopProgram();
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::programState(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    switch (context_.instrument.programStatus().state) {
    case RemoteInstrument::ProgramState::Idle:
        context_.answers.emplace_back("IDLE");
        break;
    case RemoteInstrument::ProgramState::Running:
        context_.answers.emplace_back("RUNNING");
        break;
    case RemoteInstrument::ProgramState::Paused:
        context_.answers.emplace_back("PAUSED");
        break;
    }
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::programStep(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    context_.answers.push_back(std::to_string(context_.instrument.programStatus().step));
    return std::nullopt;
}

ScpiProgramCommands::Outcome ScpiProgramCommands::programReason(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    // How the last run ended is a code scripts can compare; a pause is told in words.
    const RemoteInstrument::ProgramStatus status = context_.instrument.programStatus();
    std::string reason;
    if (status.state == RemoteInstrument::ProgramState::Paused) {
        reason = ScpiText::ascii(status.why);
    } else if (status.state == RemoteInstrument::ProgramState::Idle) {
        reason = status.end;
    }
    context_.answers.push_back("\"" + reason + "\"");
    return std::nullopt;
}
