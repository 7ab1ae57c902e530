#include "controller/SupplyController.h"

#include "controller/DiagnosticLine.h"
#include "controller/LinkReplyEvent.h"
#include "controller/SupplyPrompts.h"
#include "link/EventRegistry.h"
#include "link/PortChooser.h"
#include "link/PortList.h"
#include "link/QtSerialPort.h"
#include "link/WireProtocol.h"
#include "settings/SettingsAdvice.h"
#include "settings/StaleTemporaries.h"
#include "supply/Conversions.h"
#include "supply/ModelTable.h"
#include "supply/ReplyKind.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString hotValueRow(double volts, double amperes)
{
    return fromUtf8(Conversions::hotValueRow(volts, amperes));
}

} // namespace

SupplyController::SupplyController(
    LinkState& state, SupplyPrompts& prompts, SerialPortFactory portFactory, LinkTiming timing)
    : state_(state)
    , prompts_(prompts)
    , settings_(SettingsFile(SettingsFile::defaultPath()))
    , link_(
          state, portFactory ? std::move(portFactory) : QtSerialPort::factory(),
          [this] { QCoreApplication::postEvent(this, new LinkReplyEvent); }, timing)
    , startEvent_(EventRegistry::obtain(LinkEvents::kStart, true))
    , transmitEvent_(EventRegistry::obtain(LinkEvents::kTransmit, false))
    , output_(state, transmitEvent_)
    , timer_([this](bool on) { requestOutput(on); })
{
    staleTimer_.setSingleShot(true);
    staleTimer_.setTimerType(Qt::PreciseTimer);
    staleTimer_.setInterval(kStaleAfter);
    connect(&staleTimer_, &QTimer::timeout, this, &SupplyController::measurementsStale);
}

SupplyController::~SupplyController() = default;

bool SupplyController::listPorts()
{
    state_.portNames = portForThisRun_.empty() ? PortList::build() : std::vector{portForThisRun_};
    return state_.portCount() >= 1;
}

void SupplyController::start()
{
    if (!settings_.hasPortSetting()) {
        tellSettingsProblem(settings_.writeDefaults());
    }
    loadSettings(true);
    state_.setVoltageRaw.store(0);
    state_.setCurrentRaw.store(0);
    state_.voltagePending.store(0);
    state_.currentPending.store(0);
    link_.start();
    profile_.voltageMax = profile_.currentMax = profile_.voltageMin = profile_.currentMin = 0.0;
}

void SupplyController::shutDown()
{
    if (stopped_) {
        return;
    }
    stopped_ = true;
    if (identified()) {
        saveSettings();
    }
    state_.dropPort.store(1);
    state_.stopLink.store(1);
    transmitEvent_->set();
    // Waiting for the worker guarantees that it has closed the port and no
    // longer posts to this object.
    link_.finish(LinkThread::kFinishTimeout);
}

void SupplyController::loadSettings(bool startup)
{
    hotValues_.clear();
    const ControllerSettings::Loaded loaded = settings_.load();
    diagnosticsOn_ = loaded.diagnosticsOn;
    if (startup) {
        StaleTemporaries::remove(settings_.file().path());
        remoteKeys_ = {loaded.remoteEnabled, loaded.remoteListen};
        choosePort(loaded);
    }
    QStringList rows;
    for (const ControllerSettings::HotPair& pair : loaded.hotValues) {
        hotValues_.append(pair.voltage.thousandths, pair.current.thousandths);
        rows.push_back(hotValueRow(pair.voltage.value, pair.current.value));
    }
    emit hotValuesReplaced(rows);
    tellSettingsProblem(loaded.problem);
}

void SupplyController::choosePort(const ControllerSettings::Loaded& loaded)
{
    filePorts_ = {loaded.usePort, loaded.lastPort};
    const std::string& wanted = portForThisRun_.empty() ? loaded.usePort : portForThisRun_;
    const PortChooser::Choice choice = PortChooser::choose(state_.portNames, wanted, loaded.lastPort);
    usePort_ = choice.usePort;
    lastPort_ = choice.lastPort;
    if (diagnosticsOn_) {
        emit logLine(fromUtf8(PortChooser::summary(choice)));
    }
}

// Saving hands the pairs over to the file: the lists are reloaded from it at
// the next identification. A save that failed keeps them.
void SupplyController::saveSettings()
{
    const bool ownPorts = portForThisRun_.empty();
    const SettingsFile::Problem problem
        = settings_.save({ownPorts ? usePort_ : filePorts_.first, ownPorts ? lastPort_ : filePorts_.second,
            hotValues_.voltages(), hotValues_.currents(), profile_.voltageMax, profile_.currentMax});
    if (problem == SettingsFile::Problem::None) {
        hotValues_.clear();
    }
    tellSettingsProblem(problem);
}

// Once a run for each kind of problem: a save is tried at every loss of the link.
void SupplyController::tellSettingsProblem(SettingsFile::Problem problem)
{
    if (problem == SettingsFile::Problem::None || !settingsProblemsTold_.insert(problem).second) {
        return;
    }
    prompts_.settingsProblem(fromUtf8(SettingsAdvice::text(problem, settings_.file().path())));
}

bool SupplyController::event(QEvent* event)
{
    if (event->type() == LinkReplyEvent::kType) {
        onLinkReply();
        return true;
    }
    return QObject::event(event);
}

void SupplyController::onLinkReply()
{
    if (stopped_) {
        state_.replyValues.clear();
        return;
    }
    if (diagnosticsOn_ && !state_.replyValues.empty()) {
        emit logLine(diagnosticLine(state_.replyValues, identified()));
    }
    trackDelivery(!state_.replyValues.empty() && state_.replyValues.front() != 0);
    switch (classifyReply(state_.replyValues)) {
    case ReplyKind::StatusOnly:
        handleStatusOnly(state_.replyValues.front());
        break;
    case ReplyKind::NoAnswer:
        handleNoAnswer();
        break;
    case ReplyKind::FullStatus:
        handleFullStatus();
        break;
    case ReplyKind::Incomplete:
        confirmation_.reset();
        break;
    }
    handBackTurn();
}

void SupplyController::handleStatusOnly(std::int32_t status)
{
    lastPort_ = state_.currentPortName();
    state_.missCount.store(0);
    if (!identified() && confirmation_.confirms(statusModelCode(status)) && identifySupply(status)) {
        emit panelSwitchReported();
        state_.identified.store(1);
    }
}

void SupplyController::handleNoAnswer()
{
    timer_.suspend();
    latest_.reset();
    staleTimer_.stop();
    confirmation_.reset();
    state_.lastVoltageRaw.store(-1);
    state_.lastCurrentRaw.store(-1);
    emit linkLost();
    state_.controlsLive.store(0);
    output_.linkLost();
    if (identified()) {
        saveSettings();
    }
    state_.identified.store(0);
    if (timer_.running()) {
        state_.outputOn.store(0);
    }
    state_.adoptReadings.store(1);
    state_.pollByte.store(WireProtocol::kPollByte);
    if (state_.missCount.fetch_add(1) + 1 == 2) {
        state_.missCount.store(0);
        state_.dropPort.store(1);
    }
}

void SupplyController::handleFullStatus()
{
    const std::int32_t status = state_.replyValues[0];
    state_.missCount.store(0);
    lastPort_ = state_.currentPortName();
    const int code = statusModelCode(status);
    // The readings a returning supply is taken up with must not predate a
    // frame still on its way, or they would undo what was sent.
    if (!identified() && (!confirmation_.confirms(code) || !commandsSettled())) {
        return;
    }
    if (!identified() && identifySupply(code)) {
        state_.identified.store(1);
    }
    const bool resumeRun = state_.controlsLive.load() == 0;
    if (resumeRun) {
        goLive();
    }
    const bool ownModel = code == state_.modelCode.load();
    if (ownModel) {
        followOutputState(status);
    }
    // A run suspended by a lost link resumes once the output state of this
    // status is known: a supply that kept its output on is not toggled off.
    if (resumeRun) {
        timer_.resumeIfSuspended();
    }
    if (!ownModel) {
        return;
    }
    const std::int32_t voltageWord = state_.replyValues[1];
    const std::int32_t voltageRaw = followRegulation(voltageWord);
    learnSetpoints(voltageRaw, state_.replyValues[2]);
    if (adoptingReadings()) {
        // With the output on, a reading is the setpoint only of what regulates.
        const bool off = state_.outputOn.load() == 0;
        voltageKnown_ = off || voltageWord >= WireProtocol::kRegulationFlag;
        currentKnown_ = off || voltageWord < WireProtocol::kRegulationFlag;
    }
    takeVoltageReading(voltageRaw);
    takeCurrentReading(state_.replyValues[2]);
    state_.adoptReadings.store(0);
    takeMeasurement(voltageWord, state_.replyValues[2]);
}

void SupplyController::takeMeasurement(std::int32_t voltageWord, std::int32_t currentRaw)
{
    const bool on = state_.outputOn.load() != 0;
    const bool voltageRegulated = voltageWord >= WireProtocol::kRegulationFlag;
    const std::int32_t voltageRaw = voltageRegulated ? voltageWord - WireProtocol::kRegulationFlag : voltageWord;
    latest_ = Measurement{on ? Conversions::rawToValue(voltageRaw, profile_.voltageMax) : 0.0,
        on ? Conversions::rawToValue(currentRaw, profile_.currentMax) : 0.0, voltageRegulated, on,
        std::chrono::steady_clock::now()};
    staleTimer_.start();
    emit measured(*latest_);
}

// With the output off the words are the setpoints, so one that was not known
// is learned, and the edit shows it without sending anything.
void SupplyController::learnSetpoints(std::int32_t voltageRaw, std::int32_t currentRaw)
{
    if (adoptingReadings() || state_.outputOn.load() != 0) {
        return;
    }
    if (!voltageKnown_) {
        voltageKnown_ = true;
        state_.setVoltageRaw.store(voltageRaw);
        emit voltageLearned(Conversions::readingToValue(voltageRaw, profile_.voltageMax));
    }
    if (!currentKnown_) {
        currentKnown_ = true;
        state_.setCurrentRaw.store(currentRaw);
        emit currentLearned(Conversions::readingToValue(currentRaw, profile_.currentMax));
    }
}

void SupplyController::goLive()
{
    state_.controlsLive.store(1);
    emit controlsLive();
}

void SupplyController::followOutputState(std::int32_t status)
{
    const bool reportedOn = statusOutputOn(status);
    if (reportedOn != (state_.outputOn.load() != 0)) {
        state_.outputOn.store(reportedOn ? 1 : 0);
        emit outputChanged(reportedOn);
    }
    if (output_.statusSeen()) {
        noteVoltageFrame();
        emit outputTogglePending();
    }
}

std::int32_t SupplyController::followRegulation(std::int32_t voltageWord)
{
    const bool voltageRegulated = voltageWord >= WireProtocol::kRegulationFlag;
    if (state_.outputOn.load() != 0) {
        emit regulationChanged(voltageRegulated);
    }
    return voltageRegulated ? voltageWord - WireProtocol::kRegulationFlag : voltageWord;
}

void SupplyController::takeVoltageReading(std::int32_t raw)
{
    if (raw == state_.lastVoltageRaw.load()) {
        return;
    }
    state_.lastVoltageRaw.store(raw);
    const double volts = Conversions::readingToValue(raw, profile_.voltageMax);
    if (adoptingReadings()) {
        state_.setVoltageRaw.store(raw);
        emit voltageAdopted(volts);
    }
    emit voltageRead(volts);
}

void SupplyController::takeCurrentReading(std::int32_t raw)
{
    if (raw == state_.lastCurrentRaw.load()) {
        return;
    }
    state_.lastCurrentRaw.store(raw);
    const double amperes = Conversions::readingToValue(raw, profile_.currentMax);
    if (adoptingReadings()) {
        state_.setCurrentRaw.store(raw);
        emit currentAdopted(amperes);
    }
    emit currentRead(amperes);
}

void SupplyController::handBackTurn()
{
    state_.replyValues.clear();
    state_.replyValues.shrink_to_fit();
    startEvent_->set();
}

// The wire switches the output only with a voltage setpoint. One that is not
// known goes out as the slot holds it, the adopted reading: in current
// regulation that is below the real setpoint, so the output can only come
// back lower. Everyone is told, for it replaces the supply's own setpoint.
void SupplyController::noteVoltageFrame()
{
    voltageFrames_.issue();
    if (voltageKnown_) {
        return;
    }
    voltageKnown_ = true;
    const double volts = Conversions::rawToValue(state_.setVoltageRaw.load(), profile_.voltageMax);
    emit logLine(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"))
        + QString::fromUtf8(" - уставка напряжения не была известна; с переключением выхода отправлено %1 В")
              .arg(volts, 0, 'f', 3));
    emit unknownVoltageSent(volts);
}

void SupplyController::trackDelivery(bool answered)
{
    const auto track = [&](Frame frame, const std::atomic<std::int32_t>& pending) {
        if (const auto lost = ledger(frame).onReply(answered, pending.load() != 0)) {
            emit commandsDropped(frame, lost->first, lost->second);
        }
    };
    track(Frame::Voltage, state_.voltagePending);
    track(Frame::Current, state_.currentPending);
}

bool SupplyController::measurementStale() const
{
    return !latest_ || std::chrono::steady_clock::now() - latest_->at >= kStaleAfter;
}

std::optional<double> SupplyController::voltageSetpoint() const
{
    if (!voltageKnown_) {
        return std::nullopt;
    }
    return Conversions::readingToValue(state_.setVoltageRaw.load(), profile_.voltageMax);
}

std::optional<double> SupplyController::currentSetpoint() const
{
    if (!currentKnown_) {
        return std::nullopt;
    }
    return Conversions::readingToValue(state_.setCurrentRaw.load(), profile_.currentMax);
}

bool SupplyController::identifySupply(std::int32_t code)
{
    const auto row = ModelTable::find(code);
    if (!row) {
        return false;
    }
    if (ModelTable::isFallback(code)) {
        prompts_.unknownSupply();
    }
    profile_ = *row;
    state_.modelCode.store(code);
    loadSettings(false);
    hotValues_.rescaleTo(profile_);
    emit supplyIdentified(fromUtf8(profile_.supplyName), fromUtf8(profile_.modelName));
    return true;
}

void SupplyController::setVoltage(double volts)
{
    state_.setVoltageRaw.store(Conversions::valueToRaw(volts, profile_.voltageMax));
    voltageKnown_ = true;
    voltageFrames_.issue();
    state_.voltagePending.store(1);
    transmitEvent_->set();
}

void SupplyController::setCurrent(double amperes)
{
    state_.setCurrentRaw.store(Conversions::valueToRaw(amperes, profile_.currentMax));
    currentKnown_ = true;
    currentFrames_.issue();
    state_.currentPending.store(1);
    transmitEvent_->set();
}

void SupplyController::commandVoltage(double volts)
{
    setVoltage(volts);
    emit voltageCommanded(volts);
}

void SupplyController::commandCurrent(double amperes)
{
    setCurrent(amperes);
    emit currentCommanded(amperes);
}

void SupplyController::toggleOutput()
{
    output_.toggle();
    noteVoltageFrame();
    emit outputTogglePending();
}

// Asks for a state rather than a toggle, so that quick requests never leave
// the output the other way round.
void SupplyController::requestOutput(bool on)
{
    switch (output_.request(on)) {
    case OutputSwitch::Outcome::Toggled:
        noteVoltageFrame();
        emit outputTogglePending();
        break;
    case OutputSwitch::Outcome::Withdrawn:
        emit outputToggleWithdrawn(state_.outputOn.load() != 0);
        break;
    case OutputSwitch::Outcome::Nothing:
        break;
    }
}

// Until a supply is identified the stored pairs are not in its units: the
// list then stays inert.
std::optional<std::pair<double, double>> SupplyController::hotValue(int row) const
{
    return identified() ? hotValues_.valueAt(row, profile_) : std::nullopt;
}

void SupplyController::addHotValue(double volts, double amperes)
{
    if (!identified()) {
        // The link went and the list has been saved already: the pair goes
        // straight to the file, so it is not lost.
        tellSettingsProblem(settings_.appendPair(volts, amperes));
        return;
    }
    if (const auto existing = hotValues_.addOrFind(volts, amperes, profile_)) {
        emit hotValueSelected(*existing);
    } else {
        emit hotValueAdded(hotValueRow(volts, amperes));
    }
}

void SupplyController::deleteHotValue(int row)
{
    if (hotValues_.remove(row)) {
        emit hotValueRemoved(row);
    }
}
