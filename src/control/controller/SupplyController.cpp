#include "controller/SupplyController.h"

#include "controller/DiagnosticLine.h"
#include "link/SupplyLink.h"
#include "supply/ModelTable.h"
#include "supply/SupplyStatus.h"

#include <QCoreApplication>
#include <QDateTime>

SupplyController::SupplyController(SupplyLink& link, QObject* parent)
    : QObject(parent)
    , link_(link)
    , output_(link)
    , setpoints_(link, profile_)
    , readings_(kStaleAfter)
{
    connect(&link_, &SupplyLink::replied, this, &SupplyController::onReply);
    connect(&readings_, &ReadingWatch::wentStale, this, &SupplyController::measurementsStale);
}

SupplyController::~SupplyController() = default;

void SupplyController::start(const std::vector<std::string>& ports)
{
    link_.start(ports);
    profile_.voltageMax = profile_.currentMax = profile_.voltageMin = profile_.currentMin = 0.0;
}

void SupplyController::shutDown()
{
    if (std::exchange(stopped_, true)) {
        return;
    }
    link_.stop();
}

bool SupplyController::isLinkRunning() const
{
    return link_.isRunning();
}

void SupplyController::diagnose(const QString& line)
{
    if (diagnosticsOn_) {
        emit logLine(line);
    }
}

void SupplyController::onReply(const Reply& reply)
{
    if (stopped_) {
        return;
    }
    if (diagnosticsOn_) {
        emit logLine(diagnosticLine(reply.values(), identified()));
    }
    ++replies_;
    trackDelivery(reply);
    switch (reply.kind()) {
    case ReplyKind::StatusOnly:
        handleStatusOnly(reply.status);
        break;
    case ReplyKind::NoAnswer:
        handleNoAnswer();
        break;
    case ReplyKind::FullStatus:
        handleFullStatus(reply);
        break;
    case ReplyKind::Incomplete:
        confirmation_.reset();
        break;
    }
}

void SupplyController::handleStatusOnly(std::int32_t status)
{
    emit statusAnswered();
    missCount_ = 0;
    if (!identified() && confirmation_.confirms(statusModelCode(status)) && identifySupply(status)) {
        emit panelSwitchReported();
        identified_ = true;
    }
    if (identified() && !statusAlone_) {
        statusAlone_ = true;
        dropCommandsOnTheWay(CommandRefusal::PanelSwitch);
        if (controlsLive_) {
            emit panelSwitchReported();
        }
    }
}

void SupplyController::dropCommandsOnTheWay(CommandRefusal why)
{
    link_.takeQueued();
    if (output_.followUp()) {
        emit refused(followUpOrigin_, why, true);
    }
    output_.linkLost();
}

void SupplyController::handleNoAnswer()
{
    readings_.forget();
    confirmation_.reset();
    emit linkLost();
    setControlsLive(false);
    statusAlone_ = false;
    // Nothing goes out to a line whose supply is no longer known; what was
    // waiting has been told lost by the ledger above.
    dropCommandsOnTheWay(CommandRefusal::NoSupply);
    link_.forgetModel();
    identified_ = false;
    adoptReadings_ = true;
    if (++missCount_ == 2) {
        missCount_ = 0;
        link_.dropPort();
    }
}

void SupplyController::handleFullStatus(const Reply& reply)
{
    const std::int32_t status = reply.status;
    missCount_ = 0;
    emit statusAnswered();
    statusAlone_ = false;
    const int code = statusModelCode(status);
    // The readings a returning supply is taken up with must not predate a
    // frame still on its way, or they would undo what was sent.
    if (!identified() && (!confirmation_.confirms(code) || !commandsSettled())) {
        return;
    }
    if (!identified() && identifySupply(code)) {
        identified_ = true;
    }
    const bool resumeRun = !controlsLive_;
    if (resumeRun) {
        setControlsLive(true);
        emit controlsLive();
    }
    const bool ownModel = code == link_.modelCode();
    if (ownModel) {
        followOutputState(status);
    }
    if (resumeRun) {
        emit supplyReturned();
    }
    if (ownModel) {
        followWords(*reply.voltageWord, *reply.currentWord);
    }
}

void SupplyController::followWords(std::int32_t voltageWord, std::int32_t currentRaw)
{
    const std::int32_t voltageRaw = followRegulation(voltageWord);
    learnSetpoints(voltageRaw, currentRaw);
    if (adoptingReadings()) {
        // With the output on, a reading is the setpoint only of what regulates.
        setpoints_.adopt(outputOn(), wordRegulatesVoltage(voltageWord));
    }
    takeReading(Quantity::Voltage, voltageRaw);
    takeReading(Quantity::Current, currentRaw);
    adoptReadings_ = false;
    emit measured(readings_.take(voltageRaw, currentRaw, wordRegulatesVoltage(voltageWord), outputOn(), profile_));
}

// With the output off the words are the setpoints, so one that was not known,
// or that differs once every command has arrived, is learned, and the edit
// shows it without sending anything.
void SupplyController::learnSetpoints(std::int32_t voltageRaw, std::int32_t currentRaw)
{
    if (adoptingReadings() || outputOn()) {
        return;
    }
    const bool settled = commandsSettled();
    if (const auto volts = setpoints_.learnVoltage(voltageRaw, settled)) {
        emit setpointChanged(Quantity::Voltage, SetpointCause::Learned, *volts);
    }
    if (const auto amperes = setpoints_.learnCurrent(currentRaw, settled)) {
        emit setpointChanged(Quantity::Current, SetpointCause::Learned, *amperes);
    }
}

void SupplyController::setControlsLive(bool live)
{
    controlsLive_ = live;
    link_.setControlsLive(live);
}

void SupplyController::followOutputState(std::int32_t status)
{
    const bool reportedOn = statusOutputOn(status);
    if (reportedOn != outputOn()) {
        output_.report(reportedOn);
        emit outputChanged(reportedOn);
    }
    refuseFollowUpWhileLatched();
    if (output_.statusSeen()) {
        noteVoltageFrame();
        emit outputTogglePending();
        emit commanded(followUpOrigin_);
    }
}

std::int32_t SupplyController::followRegulation(std::int32_t voltageWord)
{
    if (outputOn()) {
        emit regulationChanged(wordRegulatesVoltage(voltageWord));
    }
    return wordVoltageRaw(voltageWord);
}

void SupplyController::takeReading(Quantity quantity, std::int32_t raw)
{
    const std::optional<double> value = readings_.changed(quantity, raw, profile_);
    if (!value) {
        return;
    }
    if (adoptingReadings()) {
        if (quantity == Quantity::Voltage) {
            link_.holdVoltage(raw);
        } else {
            link_.holdCurrent(raw);
        }
        emit setpointChanged(quantity, SetpointCause::Adopted, *value);
    }
    emit readingChanged(quantity, *value);
}

// The wire switches the output only with a voltage setpoint. One that is not
// known goes out as the slot holds it, the adopted reading: in current
// regulation that is below the real setpoint, so the output can only come
// back lower. Everyone is told, for it replaces the supply's own setpoint.
void SupplyController::noteVoltageFrame()
{
    frames_.of(Quantity::Voltage).issue();
    const auto volts = setpoints_.takeUnknownVoltage();
    if (!volts) {
        return;
    }
    emit logLine(tr("%1 - уставка напряжения не была известна; с переключением выхода отправлено %2 В")
                     .arg(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss")))
                     .arg(*volts, 0, 'f', 3));
    emit unknownVoltageSent(*volts);
}

// A status alone proves nothing delivered: the supply ignores frames then.
void SupplyController::trackDelivery(const Reply& reply)
{
    const ReplyKind kind = reply.kind();
    const bool answered = kind == ReplyKind::FullStatus || kind == ReplyKind::Incomplete;
    const CommandRefusal why = kind == ReplyKind::StatusOnly ? CommandRefusal::PanelSwitch : CommandRefusal::NoSupply;
    const SupplyLink::Queued queued = link_.queued();
    for (const FrameLedgers::Lost& lost : frames_.onReply(answered, queued.voltage, queued.current)) {
        // What the supply holds of that frame is no longer known.
        setpoints_.forget(lost.frame);
        emit commandsDropped(lost.frame, lost.range.first, lost.range.second, why);
    }
}

bool SupplyController::identifySupply(std::int32_t code)
{
    const auto row = ModelTable::find(code);
    if (!row) {
        return false;
    }
    if (ModelTable::isFallback(code)) {
        emit unknownSupplyFound();
    }
    profile_ = *row;
    link_.setModelCode(code);
    emit supplyIdentified(QCoreApplication::translate("ModelTable", profile_.supplyName.c_str()),
        QString::fromStdString(profile_.modelName));
    return true;
}

std::optional<CommandRefusal> SupplyController::refusalFor(bool switchesOn) const
{
    if (!identified()) {
        return CommandRefusal::NoSupply;
    }
    if (!controlsLive_ || statusAlone_) {
        return CommandRefusal::PanelSwitch;
    }
    if (switchesOn && outputLatched_) {
        return CommandRefusal::TripLatched;
    }
    return std::nullopt;
}

bool SupplyController::admits(bool switchesOn)
{
    const std::optional<CommandRefusal> refusal = refusalFor(switchesOn);
    if (refusal) {
        emit refused(origin_, *refusal, false);
    }
    return !refusal;
}

bool SupplyController::setVoltage(double volts)
{
    return sendSetpoint(Quantity::Voltage, volts, false);
}

bool SupplyController::setCurrent(double amperes)
{
    return sendSetpoint(Quantity::Current, amperes, false);
}

bool SupplyController::commandVoltage(double volts)
{
    return sendSetpoint(Quantity::Voltage, volts, true);
}

bool SupplyController::commandCurrent(double amperes)
{
    return sendSetpoint(Quantity::Current, amperes, true);
}

bool SupplyController::sendSetpoint(Quantity quantity, double value, bool shown)
{
    if (!admits(false)) {
        return false;
    }
    frames_.of(quantity).issue();
    const double sent = setpoints_.send(quantity, value);
    if (shown) {
        emit setpointChanged(quantity, SetpointCause::Commanded, sent);
    }
    emit commanded(origin_);
    return true;
}

bool SupplyController::toggleOutput()
{
    if (!admits(!outputHeading())) {
        return false;
    }
    output_.toggle();
    noteVoltageFrame();
    emit outputTogglePending();
    emit commanded(origin_);
    return true;
}

// Asks for a state rather than a toggle, so that quick requests never leave
// the output the other way round.
bool SupplyController::requestOutput(bool on)
{
    if (!admits(on)) {
        return false;
    }
    switch (output_.request(on)) {
    case OutputSwitch::Outcome::Toggled:
        noteVoltageFrame();
        emit outputTogglePending();
        break;
    case OutputSwitch::Outcome::Withdrawn:
        emit outputToggleWithdrawn(outputOn());
        break;
    case OutputSwitch::Outcome::Deferred:
        // Told when its toggle goes out.
        followUpOrigin_ = origin_;
        return true;
    case OutputSwitch::Outcome::Nothing:
        return true;
    }
    if (!on && outputLatched_) {
        output_.pin();
    }
    emit commanded(origin_);
    return true;
}

void SupplyController::latchOutputOff(bool latched)
{
    if (latched == outputLatched_) {
        return;
    }
    outputLatched_ = latched;
    if (latched) {
        output_.pin();
        refuseFollowUpWhileLatched();
    }
    emit outputLatchChanged(latched);
}

// A switch-on that waited for a toggle on its way is asked again of the gate
// when its turn comes.
void SupplyController::refuseFollowUpWhileLatched()
{
    if (outputLatched_ && output_.followUp() == std::optional<bool>(true)) {
        output_.dropFollowUp();
        emit refused(followUpOrigin_, CommandRefusal::TripLatched, true);
    }
}
