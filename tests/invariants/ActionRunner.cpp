#include "ActionRunner.h"

#include "ActionArgument.h"
#include "CheckSet.h"
#include "MqttPeer.h"
#include "RunTrace.h"
#include "ScpiClient.h"
#include "SimConsole.h"
#include "SimFrameLog.h"
#include "ViolationBook.h"
#include "station/SupplyStation.h"

ActionRunner::ActionRunner(const Parts& parts, std::vector<Action> actions)
    : parts_(parts)
    , actions_(std::move(actions))
    , window_(parts.station.controller(), parts.station.timer())
{
    gap_.setSingleShot(true);
    gap_.setTimerType(Qt::PreciseTimer);
    connect(&gap_, &QTimer::timeout, this, &ActionRunner::due);
    patience_.setSingleShot(true);
    patience_.setInterval(kReplyPatience);
    connect(&patience_, &QTimer::timeout, this, &ActionRunner::atReply);
}

void ActionRunner::start()
{
    scheduleNext();
}

void ActionRunner::scheduleNext()
{
    if (next_ < actions_.size()) {
        gap_.start(actions_[next_].gapMs);
    }
}

void ActionRunner::due()
{
    if (actions_[next_].atReply) {
        waiting_ = true;
        patience_.start();
        return;
    }
    issue();
}

void ActionRunner::atReply()
{
    if (!waiting_) {
        return;
    }
    waiting_ = false;
    patience_.stop();
    issue();
}

// Actions due at the same moment go one after the other without the event loop between them.
void ActionRunner::issue()
{
    do {
        const Action& action = actions_[next_++];
        parts_.book.setActionsIssued(next_);
        const bool done = perform(action);
        skipped_ += done ? 0 : 1;
        RunTrace::instance().write(
            Clock::now(), done ? "action" : "skipped", "#" + std::to_string(next_ - 1) + " " + action.text());
    } while (next_ < actions_.size() && actions_[next_].gapMs == 0 && !actions_[next_].atReply);
    scheduleNext();
}

bool ActionRunner::perform(const Action& action)
{
    using Kind = Action::Kind;
    switch (action.kind) {
    case Kind::Scpi:
        parts_.scpi.send(action.argument, next_ - 1);
        return true;
    case Kind::Mqtt:
        return parts_.mqtt != nullptr && parts_.mqtt->publish(action.argument, next_ - 1);
    case Kind::Protect:
        parts_.station.protection().setLimits(ActionArgument::limits(action.argument));
        return true;
    case Kind::ProtectClear:
        parts_.station.protection().clear();
        return true;
    case Kind::Sim:
        return performSim(action);
    case Kind::TimerStart:
    case Kind::TimerStop:
    case Kind::TimerContinue:
        return performTimer(action);
    case Kind::ProgramStart:
    case Kind::ProgramPause:
    case Kind::ProgramResume:
    case Kind::ProgramStop:
        return performProgram(action);
    default:
        return performWindow(action);
    }
}

// The setpoint edits, the output buttons and the hot values' double-click.
bool ActionRunner::performWindow(const Action& action)
{
    SupplyController& controller = parts_.station.controller();
    switch (action.kind) {
    case Action::Kind::TypeVoltage:
        return window_.editsLive() && (controller.setVoltage(std::stod(action.argument)), true);
    case Action::Kind::TypeCurrent:
        return window_.editsLive() && (controller.setCurrent(std::stod(action.argument)), true);
    case Action::Kind::PressOn:
        return window_.onEnabled() && (controller.toggleOutput(), true);
    case Action::Kind::PressOff:
        return window_.offEnabled() && (controller.toggleOutput(), true);
    case Action::Kind::HotApply: {
        const auto pair
            = window_.editsLive() ? parts_.station.settings().hotValue(std::stoi(action.argument)) : std::nullopt;
        if (pair) {
            controller.setVoltage(pair->first);
            controller.setCurrent(pair->second);
        }
        return pair.has_value();
    }
    default:
        return false;
    }
}

// The timer panel: its start button reads "Остановить" while a run goes.
bool ActionRunner::performTimer(const Action& action)
{
    TimerRun& timer = parts_.station.timer();
    if (!window_.controlsLive()) {
        return false;
    }
    if (action.kind == Action::Kind::TimerStart && !timer.running()) {
        timer.setPreset({0, 0, static_cast<std::uint8_t>(std::stoi(action.argument))});
        timer.refreshCaption(true);
        timer.startStop(true);
        return true;
    }
    if (action.kind == Action::Kind::TimerStop && timer.running()) {
        timer.startStop(true);
        return true;
    }
    if (action.kind == Action::Kind::TimerContinue && window_.continueEnabled() && !timer.running()) {
        timer.startStop(false);
        return true;
    }
    return false;
}

bool ActionRunner::performProgram(const Action& action)
{
    ProgramEngine& programs = parts_.station.programs();
    switch (action.kind) {
    case Action::Kind::ProgramStart:
        return !programs.load(ActionArgument::program(action.argument)) && !programs.start();
    case Action::Kind::ProgramPause:
        programs.pause();
        return true;
    case Action::Kind::ProgramResume:
        return programs.resume();
    default:
        if (!programs.active()) {
            return false;
        }
        programs.stop();
        parts_.checks.offRequested("the program's stop");
        return true;
    }
}

bool ActionRunner::performSim(const Action& action)
{
    const SimConsole::Result result = parts_.console.execute(action.argument);
    if (result.status != SimConsole::Status::Done) {
        return false;
    }
    if (action.argument == "plug") {
        parts_.log.note("plugged");
    }
    return true;
}
