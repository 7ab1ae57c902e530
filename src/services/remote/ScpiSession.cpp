#include "remote/ScpiSession.h"

#include "remote/ScpiChannel.h"
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

template <ScpiSession::SupplyHandler handler> ScpiSession::Outcome ScpiSession::supply(const ScpiCommand& command)
{
    ScpiSupplyCommands commands(instrument(), answers_, tickets_.at(addressed_ - 1));
    return (commands.*handler)(command);
}

template <ScpiSession::StatusHandler handler> ScpiSession::Outcome ScpiSession::status(const ScpiCommand& command)
{
    ScpiStatusCommands commands({channels_, addressed_, status_, !errors_.empty(), answers_});
    return (commands.*handler)(command);
}

template <ScpiSession::SystemHandler handler> ScpiSession::Outcome ScpiSession::system(const ScpiCommand& command)
{
    ScpiSystemCommands commands({instrument(), channels_.count(), selected_, errors_, answers_});
    return (commands.*handler)(command);
}

template <ScpiSession::ProgramHandler handler> ScpiSession::Outcome ScpiSession::program(const ScpiCommand& command)
{
    ScpiProgramCommands commands({instrument(), lists_.at(addressed_ - 1), answers_, programsFolder_});
    return (commands.*handler)(command);
}

template <ScpiSession::ProtectionHandler handler>
ScpiSession::Outcome ScpiSession::protection(const ScpiCommand& command)
{
    ScpiProtectionCommands commands(instrument(), answers_);
    return (commands.*handler)(command);
}

std::vector<ScpiSession::Entry> ScpiSession::programEntries()
{
    using Commands = ScpiProgramCommands;
    return {
        {ScpiPattern("[SOURce:]LIST:VOLTage"), &ScpiSession::program<&Commands::setVoltages>},
        {ScpiPattern("[SOURce:]LIST:VOLTage?"), &ScpiSession::program<&Commands::voltages>},
        {ScpiPattern("[SOURce:]LIST:CURRent"), &ScpiSession::program<&Commands::setCurrents>},
        {ScpiPattern("[SOURce:]LIST:CURRent?"), &ScpiSession::program<&Commands::currents>},
        {ScpiPattern("[SOURce:]LIST:DWELl"), &ScpiSession::program<&Commands::setDwells>},
        {ScpiPattern("[SOURce:]LIST:DWELl?"), &ScpiSession::program<&Commands::dwells>},
        {ScpiPattern("[SOURce:]LIST:COUNt"), &ScpiSession::program<&Commands::setCount>},
        {ScpiPattern("[SOURce:]LIST:COUNt?"), &ScpiSession::program<&Commands::count>},
        {ScpiPattern("[SOURce:]LIST:POINts?"), &ScpiSession::program<&Commands::points>},
        {ScpiPattern("INITiate[:IMMediate]"), &ScpiSession::program<&Commands::initiate>},
        {ScpiPattern("ABORt"), &ScpiSession::program<&Commands::abort>},
        {ScpiPattern("PROGram:LOAD"), &ScpiSession::program<&Commands::loadProgram>},
        {ScpiPattern("PROGram:STARt"), &ScpiSession::program<&Commands::startProgram>},
        {ScpiPattern("PROGram:PAUSe"), &ScpiSession::program<&Commands::pauseProgram>},
        {ScpiPattern("PROGram:STOP"), &ScpiSession::program<&Commands::abort>},
        {ScpiPattern("PROGram:STATe?"), &ScpiSession::program<&Commands::programState>},
        {ScpiPattern("PROGram:STEP?"), &ScpiSession::program<&Commands::programStep>},
        {ScpiPattern("PROGram:REASon?"), &ScpiSession::program<&Commands::programReason>},
        {ScpiPattern("OUTPut:PROTection:CLEar"), &ScpiSession::protection<&ScpiProtectionCommands::clear>},
    };
}

template <RemoteInstrument::Guard guard>
void ScpiSession::addProtection(std::vector<Entry>& entries, const std::string& quantity)
{
    using Commands = ScpiProtectionCommands;
    const std::string header = "[SOURce:]" + quantity + ":PROTection";
    entries.push_back({ScpiPattern(header + "[:LEVel]"), &ScpiSession::protection<&Commands::setLevel<guard>>});
    entries.push_back({ScpiPattern(header + "[:LEVel]?"), &ScpiSession::protection<&Commands::level<guard>>});
    entries.push_back({ScpiPattern(header + ":STATe"), &ScpiSession::protection<&Commands::setState<guard>>});
    entries.push_back({ScpiPattern(header + ":STATe?"), &ScpiSession::protection<&Commands::state<guard>>});
    entries.push_back({ScpiPattern(header + ":TRIPped?"), &ScpiSession::protection<&Commands::tripped<guard>>});
}

std::vector<ScpiSession::Entry> ScpiSession::joined(std::vector<Entry> entries)
{
    std::vector<Entry> program = programEntries();
    entries.insert(entries.end(), program.begin(), program.end());
    addProtection<RemoteInstrument::Guard::Voltage>(entries, "VOLTage");
    addProtection<RemoteInstrument::Guard::Current>(entries, "CURRent");
    addProtection<RemoteInstrument::Guard::Power>(entries, "POWer");
    return entries;
}

const std::vector<ScpiSession::Entry>& ScpiSession::table()
{
    static const std::vector<Entry> entries = joined({
        {ScpiPattern("*IDN?"), &ScpiSession::identify},
        {ScpiPattern("*RST"), &ScpiSession::reset},
        {ScpiPattern("*CLS"), &ScpiSession::clearStatus},
        {ScpiPattern("*OPC?"), &ScpiSession::operationComplete},
        {ScpiPattern("*OPC"), &ScpiSession::setOperationComplete},
        {ScpiPattern("*WAI"), &ScpiSession::wait},
        {ScpiPattern("*ESE"), &ScpiSession::status<&ScpiStatusCommands::setEventEnable>},
        {ScpiPattern("*ESE?"), &ScpiSession::status<&ScpiStatusCommands::eventEnable>},
        {ScpiPattern("*ESR?"), &ScpiSession::status<&ScpiStatusCommands::takeEvents>},
        {ScpiPattern("*SRE"), &ScpiSession::status<&ScpiStatusCommands::setServiceEnable>},
        {ScpiPattern("*SRE?"), &ScpiSession::status<&ScpiStatusCommands::serviceEnable>},
        {ScpiPattern("*STB?"), &ScpiSession::status<&ScpiStatusCommands::statusByte>},
        {ScpiPattern("*TST?"), &ScpiSession::status<&ScpiStatusCommands::selfTest>},
        {ScpiPattern("*OPT?"), &ScpiSession::status<&ScpiStatusCommands::options>},
        {ScpiPattern("STATus:OPERation[:EVENt]?"), &ScpiSession::status<&ScpiStatusCommands::operationEvent>},
        {ScpiPattern("STATus:OPERation:CONDition?"),
            &ScpiSession::status<&ScpiStatusCommands::operationMask<&ScpiStatusRegister::condition>>},
        {ScpiPattern("STATus:OPERation:ENABle"),
            &ScpiSession::status<&ScpiStatusCommands::setOperationMask<&ScpiStatusRegister::setEnable>>},
        {ScpiPattern("STATus:OPERation:ENABle?"),
            &ScpiSession::status<&ScpiStatusCommands::operationMask<&ScpiStatusRegister::enable>>},
        {ScpiPattern("STATus:QUEStionable[:EVENt]?"), &ScpiSession::status<&ScpiStatusCommands::questionableEvent>},
        {ScpiPattern("STATus:QUEStionable:CONDition?"),
            &ScpiSession::status<&ScpiStatusCommands::questionableMask<&ScpiStatusRegister::condition>>},
        {ScpiPattern("STATus:QUEStionable:ENABle"),
            &ScpiSession::status<&ScpiStatusCommands::setQuestionableMask<&ScpiStatusRegister::setEnable>>},
        {ScpiPattern("STATus:QUEStionable:ENABle?"),
            &ScpiSession::status<&ScpiStatusCommands::questionableMask<&ScpiStatusRegister::enable>>},
        {ScpiPattern("STATus:PRESet"), &ScpiSession::status<&ScpiStatusCommands::preset>},
        {ScpiPattern("STATus:OPERation:PTRansition"),
            &ScpiSession::status<&ScpiStatusCommands::setOperationMask<&ScpiStatusRegister::setRising>>},
        {ScpiPattern("STATus:OPERation:PTRansition?"),
            &ScpiSession::status<&ScpiStatusCommands::operationMask<&ScpiStatusRegister::rising>>},
        {ScpiPattern("STATus:OPERation:NTRansition"),
            &ScpiSession::status<&ScpiStatusCommands::setOperationMask<&ScpiStatusRegister::setFalling>>},
        {ScpiPattern("STATus:OPERation:NTRansition?"),
            &ScpiSession::status<&ScpiStatusCommands::operationMask<&ScpiStatusRegister::falling>>},
        {ScpiPattern("STATus:QUEStionable:PTRansition"),
            &ScpiSession::status<&ScpiStatusCommands::setQuestionableMask<&ScpiStatusRegister::setRising>>},
        {ScpiPattern("STATus:QUEStionable:PTRansition?"),
            &ScpiSession::status<&ScpiStatusCommands::questionableMask<&ScpiStatusRegister::rising>>},
        {ScpiPattern("STATus:QUEStionable:NTRansition"),
            &ScpiSession::status<&ScpiStatusCommands::setQuestionableMask<&ScpiStatusRegister::setFalling>>},
        {ScpiPattern("STATus:QUEStionable:NTRansition?"),
            &ScpiSession::status<&ScpiStatusCommands::questionableMask<&ScpiStatusRegister::falling>>},
        {ScpiPattern("STATus:QUEStionable:INSTrument:ISUMmary[:EVENt]?"),
            &ScpiSession::status<&ScpiStatusCommands::instrumentEvent>},
        {ScpiPattern("STATus:QUEStionable:INSTrument:ISUMmary:CONDition?"),
            &ScpiSession::status<&ScpiStatusCommands::instrumentMask<&ScpiStatusRegister::condition>>},
        {ScpiPattern("STATus:QUEStionable:INSTrument:ISUMmary:ENABle"),
            &ScpiSession::status<&ScpiStatusCommands::setInstrumentMask<&ScpiStatusRegister::setEnable>>},
        {ScpiPattern("STATus:QUEStionable:INSTrument:ISUMmary:ENABle?"),
            &ScpiSession::status<&ScpiStatusCommands::instrumentMask<&ScpiStatusRegister::enable>>},
        {ScpiPattern("SYSTem:COMMunicate:RLSTate"), &ScpiSession::system<&ScpiSystemCommands::accessState>},
        {ScpiPattern("OUTPut:GENeral"), &ScpiSession::supply<&ScpiSupplyCommands::setOutput>},
        {ScpiPattern("OUTPut:GENeral?"), &ScpiSession::supply<&ScpiSupplyCommands::outputQuery>},
        {ScpiPattern("MEASure[:SCALar]:POWEr[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("FETCh[:SCALar]:POWEr[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("READ[:SCALar]:POWEr[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("SYSTem:ERRor[:NEXT]?"), &ScpiSession::system<&ScpiSystemCommands::nextError>},
        {ScpiPattern("SYSTem:ERRor:COUNt?"), &ScpiSession::system<&ScpiSystemCommands::errorCount>},
        {ScpiPattern("SYSTem:ERRor:ALL?"), &ScpiSession::system<&ScpiSystemCommands::allErrors>},
        {ScpiPattern("SYSTem:VERSion?"), &ScpiSession::system<&ScpiSystemCommands::version>},
        {ScpiPattern("SYSTem:LINK?"), &ScpiSession::system<&ScpiSystemCommands::link>},
        {ScpiPattern("SYSTem:REMote"), &ScpiSession::system<&ScpiSystemCommands::accessMode>},
        {ScpiPattern("SYSTem:LOCal"), &ScpiSession::system<&ScpiSystemCommands::accessMode>},
        {ScpiPattern("SYSTem:RWLock"), &ScpiSession::system<&ScpiSystemCommands::accessMode>},
        {ScpiPattern("INSTrument[:SELect]"), &ScpiSession::system<&ScpiSystemCommands::selectByName>},
        {ScpiPattern("INSTrument[:SELect]?"), &ScpiSession::system<&ScpiSystemCommands::selectedName>},
        {ScpiPattern("INSTrument:NSELect"), &ScpiSession::system<&ScpiSystemCommands::selectByNumber>},
        {ScpiPattern("INSTrument:NSELect?"), &ScpiSession::system<&ScpiSystemCommands::selectedNumber>},
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
        {ScpiPattern("FETCh[:SCALar]:VOLTage[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureVoltage>},
        {ScpiPattern("FETCh[:SCALar]:CURRent[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureCurrent>},
        {ScpiPattern("FETCh[:SCALar]:POWer[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("READ[:SCALar]:VOLTage[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureVoltage>},
        {ScpiPattern("READ[:SCALar]:CURRent[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureCurrent>},
        {ScpiPattern("READ[:SCALar]:POWer[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("[SOURce:]APPLy"), &ScpiSession::supply<&ScpiSupplyCommands::apply>},
        {ScpiPattern("[SOURce:]APPLy?"), &ScpiSession::supply<&ScpiSupplyCommands::applyQuery>},
    });
    return entries;
}

const ScpiSession::Entry* ScpiSession::lookUp(const std::vector<std::string>& mnemonics, bool query)
{
    for (const Entry& entry : table()) {
        if (entry.pattern.matches(mnemonics, query)) {
            return &entry;
        }
    }
    return nullptr;
}

const ScpiSession::Entry* ScpiSession::find(
    const ScpiCommand& command, const std::vector<std::string>& header, ScpiChannel& channel)
{
    // A command after a semicolon is first read below the previous one's
    // path, whose suffix names its channel as well (SOUR2:VOLT 5;CURR 1).
    if (!command.common && !command.absolute && !path_.empty()) {
        std::vector<std::string> written = path_;
        written.insert(written.end(), command.mnemonics.begin(), command.mnemonics.end());
        std::vector<std::string> below = written;
        ScpiChannel inPath = channel;
        const Entry* entry = inPath.takeHeader(below) ? nullptr : lookUp(below, command.query);
        if (entry != nullptr) {
            channel = inPath;
            keepPath(std::move(written));
            return entry;
        }
    }
    const Entry* entry = lookUp(header, command.query);
    if (entry != nullptr && !command.common) {
        keepPath(command.mnemonics);
    }
    return entry;
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

void ScpiSession::commandsDropped(RemoteInstrument::Frame frame, std::uint64_t first, std::uint64_t last,
    std::size_t channel, RemoteInstrument::SetResult why)
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
    const Entry* entry = find(command, header, channel);
    if (entry == nullptr) {
        return ScpiError::undefinedHeader();
    }
    addressed_ = channel.named().value_or(selected_);
    // *RST reaches every channel.
    for (RemoteInstrument* each : channels_) {
        each->actFor(client_);
    }
    return (this->*entry->handler)(command);
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
            tickets_[channel - 1].record(each, RemoteInstrument::Frame::Voltage);
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
