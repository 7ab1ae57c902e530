#include "controller/SupplyController.h"

#include "controller/DiagnosticLine.h"
#include "controller/LinkReplyEvent.h"
#include "controller/SupplyPrompts.h"
#include "link/EventRegistry.h"
#include "link/PortChooser.h"
#include "link/PortList.h"
#include "link/QtSerialPort.h"
#include "settings/SettingsAdvice.h"
#include "settings/StaleTemporaries.h"
#include "supply/Conversions.h"
#include "supply/ModelTable.h"
#include "supply/ReplyKind.h"

#include <QCoreApplication>

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
    const auto closeEvent = EventRegistry::obtain(LinkEvents::kClose, false);
    state_.dropPort.store(1);
    state_.stopLink.store(1);
    closeEvent->set();
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
        break;
    }
    handBackTurn();
}

void SupplyController::handleStatusOnly(std::int32_t status)
{
    lastPort_ = state_.currentPortName();
    state_.missCount.store(0);
    if (!identified() && identifySupply(status)) {
        emit panelSwitchReported();
        state_.identified.store(1);
    }
}

void SupplyController::handleNoAnswer()
{
    timer_.suspend();
    latest_.reset();
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
    state_.pollByte.store(100);
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
    takeVoltageReading(followRegulation(voltageWord));
    takeCurrentReading(state_.replyValues[2]);
    state_.adoptReadings.store(0);
    latest_ = Measurement{Conversions::readingToValue(state_.lastVoltageRaw.load(), profile_.voltageMax),
        Conversions::readingToValue(state_.lastCurrentRaw.load(), profile_.currentMax), voltageWord >= 1024,
        state_.outputOn.load() != 0};
    emit measured(latest_->volts, latest_->amperes, latest_->voltageRegulated, latest_->outputOn);
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
        emit outputTogglePending();
    }
}

std::int32_t SupplyController::followRegulation(std::int32_t voltageWord)
{
    const bool voltageRegulated = voltageWord >= 1024;
    if (state_.outputOn.load() != 0) {
        emit regulationChanged(voltageRegulated);
    }
    return voltageRegulated ? voltageWord - 1024 : voltageWord;
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
    state_.voltagePending.store(1);
    transmitEvent_->set();
}

void SupplyController::setCurrent(double amperes)
{
    state_.setCurrentRaw.store(Conversions::valueToRaw(amperes, profile_.currentMax));
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
    emit outputTogglePending();
}

// Asks for a state rather than a toggle, so that quick requests never leave
// the output the other way round.
void SupplyController::requestOutput(bool on)
{
    switch (output_.request(on)) {
    case OutputSwitch::Outcome::Toggled:
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
