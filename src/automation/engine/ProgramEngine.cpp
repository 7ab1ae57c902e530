#include "engine/ProgramEngine.h"

#include "controller/Measurement.h"
#include "controller/SupplyController.h"
#include "engine/ProgramClock.h"
#include "engine/ProgramRun.h"
#include "engine/ProtectionWatch.h"
#include "program/ProgramCheck.h"
#include "program/ProgramIndex.h"

#include <algorithm>

ProgramEngine::ProgramEngine(SupplyController& controller, ProtectionWatch& protection,
    std::chrono::milliseconds pollCycle, const ProgramClock& clock, QObject* parent)
    : QObject(parent)
    , controller_(controller)
    , protection_(protection)
    , clock_(clock)
    , pollCycle_(std::chrono::duration_cast<std::chrono::milliseconds>(pollCycle * clock.rate()))
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ProgramEngine::tick);
    connect(&controller_, &SupplyController::measured, this, &ProgramEngine::onMeasured);
    connect(&controller_, &SupplyController::linkLost, this, &ProgramEngine::onLinkLost);
    connect(&controller_, &SupplyController::commanded, this, &ProgramEngine::onCommanded);
    connect(&protection_, &ProtectionWatch::trippedOn, this, &ProgramEngine::onTripped);
}

ProgramEngine::~ProgramEngine() = default;

std::optional<ProgramRefusal> ProgramEngine::load(Program program)
{
    if (active()) {
        return ProgramRefusal{0, Phrase::translate("ProgramEngine", "программа выполняется; сначала остановите её")};
    }
    if (auto refusal = ProgramCheck::timing(program, pollCycle_)) {
        return refusal;
    }
    program_ = std::move(program);
    loaded_ = true;
    return std::nullopt;
}

std::optional<ProgramRefusal> ProgramEngine::start(CommandOrigin owner)
{
    if (auto refusal = startRefusal()) {
        return refusal;
    }
    owner_ = owner;
    run_ = std::make_unique<ProgramRun>(program_, commands(), ChargeCounters::kMaxIntervalSeconds * clock_.rate());
    summary_ = RunSummary{};
    summary_->started = clock_.wallNow();
    summary_->battery = program_.battery;
    linkPaused_ = false;
    armProgramLimits();
    enterState(State::Running, {});
    emit runEvent(QStringLiteral("start"));
    (void)run_->begin(clock_.now(), clock_.wallNow()); // a program with no steps was refused above
    armTimer();
    return std::nullopt;
}

std::optional<ProgramRefusal> ProgramEngine::startRefusal() const
{
    if (active()) {
        return ProgramRefusal{0, Phrase::translate("ProgramEngine", "программа уже выполняется")};
    }
    if (!loaded_) {
        return ProgramRefusal{0, Phrase::translate("ProgramEngine", "программа не загружена")};
    }
    if (ProgramIndex(program_).size() == 0) {
        return ProgramRefusal{0, Phrase::translate("ProgramEngine", "в программе нет шагов")};
    }
    if (!controller_.live()) {
        return ProgramRefusal{0, Phrase::translate("ProgramEngine", "нет связи с источником")};
    }
    if (controller_.adoptingReadings()) {
        return ProgramRefusal{0, Phrase::translate("ProgramEngine", "источник ещё не сообщил своих уставок")};
    }
    if (const auto& trip = protection_.trip()) {
        return ProgramRefusal{0,
            Phrase::translate("ProgramEngine", "сработала защита (%1); сбросьте её")
                .arg(ProtectionWatch::description(*trip))};
    }
    return ProgramCheck::range(
        program_, controller_.profile(), ProtectionLimits::tighter(protection_.limits(), program_.limits));
}

// The program's own limits, a charge's backstops, are armed with the user's
// for the run; the user's alone come back at its end.
void ProgramEngine::armProgramLimits()
{
    armedLimits_.reset();
    if (!program_.limits.any()) {
        return;
    }
    userLimits_ = protection_.limits();
    armedLimits_ = ProtectionLimits::tighter(userLimits_, program_.limits);
    protection_.setLimits(*armedLimits_);
}

void ProgramEngine::disarmProgramLimits()
{
    if (armedLimits_ && protection_.limits() == *armedLimits_) {
        protection_.setLimits(userLimits_);
    }
    armedLimits_.reset();
}

// The run's commands take the controller's one path as the program's, so
// they neither pause it nor count as someone taking over.
ProgramRun::Commands ProgramEngine::commands()
{
    const auto acting = [this](auto command) {
        return [this, command](auto value) {
            const SupplyController::Acting program(controller_, {CommandOrigin::Kind::Program});
            command(value);
        };
    };
    ProgramRun::Commands commands;
    commands.voltage = acting([this](double volts) { controller_.commandVoltage(volts); });
    commands.current = acting([this](double amperes) { controller_.commandCurrent(amperes); });
    commands.output = acting([this](bool on) { controller_.requestOutput(on); });
    commands.nearestVoltage = [this](double volts) { return controller_.voltageStep(volts); };
    commands.nearestCurrent = [this](double amperes) { return controller_.currentStep(amperes); };
    commands.stepBegun = [this](int number) { onStepBegun(number); };
    return commands;
}

void ProgramEngine::onStepBegun(int number)
{
    noteTickets();
    emit stepStarted(number);
    emit runEvent(QStringLiteral("step"));
}

// A reading judges the step only once the supply has answered for its commands.
void ProgramEngine::noteTickets()
{
    voltageTicket_ = controller_.lastTicket(Quantity::Voltage);
    currentTicket_ = controller_.lastTicket(Quantity::Current);
}

bool ProgramEngine::readingShowsStep() const
{
    return controller_.lastDelivered(Quantity::Voltage) >= voltageTicket_
        && controller_.lastDelivered(Quantity::Current) >= currentTicket_;
}

void ProgramEngine::onMeasured(const Measurement& measured)
{
    if (state_ == State::Paused && linkPaused_) {
        onLinkReturn();
        return;
    }
    if (state_ != State::Running) {
        return;
    }
    Measurement measurement = measured;
    measurement.at = clock_.at(measured.at);
    if (measurement.outputOn) {
        summary_->endVolts = measurement.volts;
        summary_->endAmperes = measurement.amperes;
    }
    const QDateTime wall = clock_.wallNow();
    if (!run_->advance(clock_.now(), wall) || !run_->take(measurement, readingShowsStep(), wall)) {
        finishRun();
        return;
    }
    armTimer();
    emit progressed();
}

void ProgramEngine::tick()
{
    if (state_ != State::Running) {
        return;
    }
    if (!run_->advance(clock_.now(), clock_.wallNow())) {
        finishRun();
        return;
    }
    armTimer();
    emit progressed();
}

void ProgramEngine::finishRun()
{
    const auto& ending = run_->lastEnding();
    const bool byCondition = run_->stoppedByCondition();
    finish(byCondition
            ? Phrase::translate("ProgramEngine", "остановлена условием шага %1").arg(ending ? ending->step : 0)
            : Phrase::translate("ProgramEngine", "выполнена"),
        !run_->leavesOutputOn(), byCondition ? RunEnd::Condition : RunEnd::Done);
}

void ProgramEngine::armTimer()
{
    const auto due = run_->deadline();
    if (!due) {
        timer_.stop();
        return;
    }
    const std::chrono::duration<double, std::milli> wait = (*due - clock_.now()) / clock_.rate();
    timer_.start(std::max(std::chrono::milliseconds{0}, std::chrono::ceil<std::chrono::milliseconds>(wait)));
}

void ProgramEngine::pause()
{
    if (state_ == State::Running) {
        interrupt(Phrase::translate("ProgramEngine", "приостановлена пользователем"), QStringLiteral("pause"));
    }
}

bool ProgramEngine::resume()
{
    if (state_ != State::Paused || !controller_.live() || protection_.tripped()) {
        return false;
    }
    linkPaused_ = false;
    enterState(State::Running, {});
    emit runEvent(QStringLiteral("resume"));
    run_->resume(clock_.now());
    noteTickets();
    armTimer();
    return true;
}

void ProgramEngine::stop()
{
    if (active()) {
        cut(Phrase::translate("ProgramEngine", "остановлена пользователем"), true, StepEnding::Interruption::Stop);
    }
}

void ProgramEngine::leave()
{
    if (active()) {
        cut(Phrase::translate("ProgramEngine", "прервана закрытием программы, выход оставлен как был"), false,
            StepEnding::Interruption::Closed);
    }
}

void ProgramEngine::interrupt(const Phrase& why, const QString& event)
{
    run_->pause(clock_.now());
    timer_.stop();
    enterState(State::Paused, why);
    emit runEvent(event);
}

void ProgramEngine::onLinkLost()
{
    if (state_ == State::Running) {
        linkPaused_ = true;
        interrupt(Phrase::translate("ProgramEngine", "связь с источником потеряна"), QStringLiteral("link_lost"));
    }
}

// The program says what a supply that answers again gets: its run resumed,
// or the run ended with the output off. Only at its first reading: before it
// the controller takes the supply's own setpoints up, which would undo the
// step's.
void ProgramEngine::onLinkReturn()
{
    if (program_.onLinkReturn == Program::LinkReturn::Resume) {
        resume();
    } else {
        cut(Phrase::translate("ProgramEngine", "связь с источником была потеряна"), true,
            StepEnding::Interruption::LinkLost);
    }
}

void ProgramEngine::onCommanded(const CommandOrigin& origin)
{
    const bool own = origin.kind == CommandOrigin::Kind::Program || origin.kind == CommandOrigin::Kind::Protection
        || (origin.kind == CommandOrigin::Kind::Remote && origin == owner_);
    if (state_ != State::Running || own) {
        return;
    }
    interrupt(origin.kind == CommandOrigin::Kind::Remote
            ? Phrase::translate("ProgramEngine", "уставка или выход изменены удалённым клиентом")
            : origin.kind == CommandOrigin::Kind::Timer
            ? Phrase::translate("ProgramEngine", "выход переключён таймером")
            : Phrase::translate("ProgramEngine", "уставка или выход изменены вручную"),
        QStringLiteral("pause"));
}

void ProgramEngine::onTripped(const ProtectionTrip& trip)
{
    if (active()) {
        summary_->trip = trip;
        cut(Phrase::translate("ProgramEngine", "сработала защита: %1").arg(ProtectionWatch::description(trip)), false,
            StepEnding::Interruption::Trip);
    }
}

// The running step is credited with its time and told what cut it short.
void ProgramEngine::cut(const Phrase& reason, bool switchOff, StepEnding::Interruption by)
{
    run_->halt(clock_.now(), by);
    finish(reason, switchOff, endOf(by));
}

RunEnd ProgramEngine::endOf(StepEnding::Interruption by)
{
    switch (by) {
    case StepEnding::Interruption::Trip:
        return RunEnd::Protection;
    case StepEnding::Interruption::LinkLost:
        return RunEnd::LinkLost;
    case StepEnding::Interruption::Closed:
        return RunEnd::Closed;
    case StepEnding::Interruption::Stop:
        break;
    }
    return RunEnd::Stopped;
}

void ProgramEngine::finish(const Phrase& reason, bool switchOff, RunEnd end)
{
    timer_.stop();
    if (switchOff) {
        const SupplyController::Acting program(controller_, {CommandOrigin::Kind::Program});
        controller_.requestOutput(false);
    }
    disarmProgramLimits();
    summary_->ended = clock_.wallNow();
    summary_->endReason = reason.inWindow();
    summary_->end = end;
    lastEnd_ = end;
    summary_->ampereHours = run_->ampereHours();
    summary_->wattHours = run_->wattHours();
    summary_->stepTimes = run_->stepTimes();
    summary_->stepEndings = run_->stepEndings();
    summary_->duration = run_->runTime(clock_.now());
    summary_->lastEnding = run_->lastEnding();
    summary_->stoppedByCondition = run_->endedByCondition();
    enterState(State::Idle, reason);
    emit runEvent(QStringLiteral("end"));
    emit finished(*summary_);
}

void ProgramEngine::enterState(State state, const Phrase& why)
{
    state_ = state;
    why_ = why;
    emit stateChanged(state_, why_);
}

ProgramProgress ProgramEngine::progress() const
{
    return run_ && active() ? run_->progress(clock_.now()) : ProgramProgress{};
}
