#include "remote/ScpiSession.h"

#include "remote/ScpiChannel.h"
#include "remote/ScpiCommandTable.h"
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

std::uint16_t operationOf(const RemoteInstrument& channel)
{
    const std::optional<Measurement> reading = channel.latest();
    std::uint16_t operation = 0;
    if (reading && reading->outputOn) {
        operation = reading->voltageRegulated ? ScpiStatus::kConstantVoltage : ScpiStatus::kConstantCurrent;
    }
    const bool running = channel.programStatus().state == RemoteInstrument::ProgramState::Running;
    operation |= running ? ScpiStatus::kProgramRunning : 0;
    return operation;
}

std::uint16_t questionableOf(const RemoteInstrument& channel)
{
    std::uint16_t questionable = 0;
    questionable |= channel.link() != RemoteInstrument::Link::Connected ? ScpiStatus::kLinkLost : 0;
    questionable |= channel.identified() && channel.measurementStale() ? ScpiStatus::kReadingStale : 0;
    questionable |= ScpiStatus::tripBitOf(channel.protectionTrip());
    return questionable;
}

} // namespace

ScpiSession::ScpiSession(RemoteChannels channels, std::string programVersion, std::uint64_t client)
    : channels_(std::move(channels))
    , programVersion_(std::move(programVersion))
    , client_(client)
    , status_(channels_.count())
    , tickets_(channels_.count())
    , lists_(channels_.count())
{
}

ScpiSession::Handler ScpiSession::find(
    const ScpiCommand& command, const std::vector<std::string>& header, ScpiChannel& channel)
{
    // A command after a semicolon is first read below the previous one's
    // path, whose suffix names its channel as well (SOUR2:VOLT 5;CURR 1).
    if (!command.common && !command.absolute && !path_.empty()) {
        std::vector<std::string> written = path_;
        written.insert(written.end(), command.mnemonics.begin(), command.mnemonics.end());
        std::vector<std::string> below = written;
        ScpiChannel inPath = channel;
        const Handler handler = inPath.takeHeader(below) ? nullptr : ScpiCommandTable::lookUp(below, command.query);
        if (handler != nullptr) {
            channel = inPath;
            keepPath(std::move(written));
            return handler;
        }
    }
    const Handler handler = ScpiCommandTable::lookUp(header, command.query);
    if (handler != nullptr && !command.common) {
        keepPath(command.mnemonics);
    }
    return handler;
}

void ScpiSession::keepPath(std::vector<std::string> written)
{
    written.pop_back();
    path_ = std::move(written);
}

ScpiSession::Answer ScpiSession::handleLine(std::string_view line)
{
    // A caller that did not wait gives up the waiting line's answers.
    finishWithoutWaiting();
    path_.clear();
    answers_.clear();
    sampleConditions();
    checkPendingOperation();
    for (const std::string_view text : ScpiParser::split(line)) {
        rest_.emplace_back(text);
    }
    return proceed();
}

ScpiSession::Answer ScpiSession::proceed()
{
    for (;;) {
        if (wait_ && !endWait()) {
            return {{}, true};
        }
        if (rest_.empty()) {
            return {joinedAnswers(), false};
        }
        const std::string text = std::move(rest_.front());
        rest_.pop_front();
        if (Outcome error = run(text)) {
            report(std::move(*error));
            rest_.clear();
        }
    }
}

ScpiSession::Answer ScpiSession::resume()
{
    checkPendingOperation();
    return wait_ ? proceed() : Answer{};
}

void ScpiSession::finishWithoutWaiting()
{
    while (wait_) {
        wait_.reset();
        proceed();
    }
}

bool ScpiSession::endWait()
{
    const ScpiCompletion::State state = wait_->completion.check(channels_);
    if (state == ScpiCompletion::State::Waiting) {
        return false;
    }
    if (state == ScpiCompletion::State::OutputDidNotFollow) {
        report(ScpiError::executionError("the output did not follow"));
    }
    if (wait_->answers) {
        answers_.emplace_back("1");
    }
    wait_.reset();
    return true;
}

void ScpiSession::checkPendingOperation()
{
    if (!pendingOperation_) {
        return;
    }
    const ScpiCompletion::State state = pendingOperation_->check(channels_);
    if (state == ScpiCompletion::State::Waiting) {
        return;
    }
    if (state == ScpiCompletion::State::OutputDidNotFollow) {
        report(ScpiError::executionError("the output did not follow"));
    }
    status_.noteOperationComplete();
    pendingOperation_.reset();
}

std::string ScpiSession::joinedAnswers() const
{
    std::string joined;
    for (const std::string& answer : answers_) {
        joined.append(joined.empty() ? "" : ";").append(answer);
    }
    return joined;
}

void ScpiSession::lineTooLong()
{
    report(ScpiError::commandError("line too long"));
}

void ScpiSession::commandsDropped(
    Quantity frame, std::uint64_t first, std::uint64_t last, std::size_t channel, RemoteInstrument::SetResult why)
{
    const bool known = channel >= 1 && channel <= tickets_.size();
    if (known && tickets_[channel - 1].among(frame, first, last)) {
        report(ScpiError::executionError(
            (why == RemoteInstrument::SetResult::PanelSwitch ? "the supply's On/Off switch is on - command not taken"
                                                             : "link lost, command not sent")
            + onChannel(channel)));
    }
}

void ScpiSession::unknownSetpointSent(double volts, std::size_t channel)
{
    ScpiError event = ScpiError::unknownSetpointSent(volts);
    event.text += onChannel(channel);
    report(std::move(event));
}

void ScpiSession::switchRefused(std::uint64_t client, RemoteInstrument::SetResult why, std::size_t channel)
{
    if (client == client_) {
        ScpiError error = ScpiSupplyCommands::refusal(why);
        error.text += onChannel(channel);
        report(std::move(error));
    }
}

std::string ScpiSession::onChannel(std::size_t channel) const
{
    return channels_.count() > 1 ? " on channel " + std::to_string(channel) : std::string();
}

void ScpiSession::sampleConditions()
{
    std::uint16_t operation = 0;
    std::vector<std::uint16_t> questionable;
    for (const RemoteInstrument* channel : channels_) {
        operation |= operationOf(*channel);
        questionable.push_back(questionableOf(*channel));
    }
    status_.operation().sample(operation);
    status_.sampleQuestionable(questionable);
}

void ScpiSession::report(ScpiError error)
{
    status_.noteError(error.code);
    errors_.push(std::move(error));
}

ScpiSession::Outcome ScpiSession::run(std::string_view text)
{
    auto parsed = ScpiParser::parse(text);
    if (auto* error = std::get_if<ScpiError>(&parsed)) {
        return std::move(*error);
    }
    auto& command = std::get<ScpiCommand>(parsed);
    ScpiChannel channel(channels_.count());
    std::vector<std::string> header = command.mnemonics;
    if (Outcome error = command.common ? std::nullopt : channel.takeHeader(header)) {
        return error;
    }
    if (Outcome error = channel.takeParameters(command)) {
        return error;
    }
    const Handler handler = find(command, header, channel);
    if (handler == nullptr) {
        return ScpiError::undefinedHeader();
    }
    addressed_ = channel.named().value_or(selected_);
    // *RST reaches every channel.
    for (RemoteInstrument* each : channels_) {
        each->actFor(client_);
    }
    return (this->*handler)(command);
}

ScpiSession::Outcome ScpiSession::identify(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    const std::string model = instrument().identified() ? field(instrument().modelName()) : "NONE";
    answers_.push_back(std::string(kMaker) + "," + model + ",0," + field(programVersion_));
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::reset(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    for (std::size_t channel = 1; channel <= channels_.count(); ++channel) {
        RemoteInstrument& each = channels_.at(channel);
        each.stopProgram();
        if (each.identified() && each.requestOutput(false) == RemoteInstrument::SetResult::Done) {
            tickets_[channel - 1].record(each, Quantity::Voltage);
        }
    }
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::clearStatus(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    errors_.clear();
    status_.clear();
    pendingOperation_.reset();
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::operationComplete(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    wait_ = Wait{ScpiCompletion(tickets_), true};
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::setOperationComplete(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    pendingOperation_ = ScpiCompletion(tickets_);
    checkPendingOperation();
    return std::nullopt;
}

ScpiSession::Outcome ScpiSession::wait(const ScpiCommand& command)
{
    if (Outcome error = ScpiParameterCount::none(command)) {
        return error;
    }
    wait_ = Wait{ScpiCompletion(tickets_), false};
    return std::nullopt;
}
