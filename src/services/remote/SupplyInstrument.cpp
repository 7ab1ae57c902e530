#include "remote/SupplyInstrument.h"

#include "controller/SupplyController.h"
#include "engine/ProgramEngine.h"
#include "engine/ProtectionWatch.h"
#include "outlook/SupplyOutlook.h"

#include <cmath>
#include <utility>

SupplyInstrument::SupplyInstrument(
    SupplyController& controller, ProgramEngine& programs, ProtectionWatch& protection, const SupplyOutlook& outlook)
    : controller_(controller)
    , programs_(programs)
    , protection_(protection)
    , outlook_(outlook)
{
}

bool SupplyInstrument::identified() const
{
    return outlook_.now().identified;
}

std::string SupplyInstrument::modelName() const
{
    return controller_.profile().modelName;
}

double SupplyInstrument::voltageMin() const
{
    return controller_.profile().voltageMin;
}

double SupplyInstrument::voltageMax() const
{
    return controller_.profile().voltageMax;
}

double SupplyInstrument::currentMin() const
{
    return controller_.profile().currentMin;
}

double SupplyInstrument::currentMax() const
{
    return controller_.profile().currentMax;
}

std::optional<Measurement> SupplyInstrument::latest() const
{
    return outlook_.now().reading;
}

bool SupplyInstrument::measurementStale() const
{
    return outlook_.now().stale;
}

std::optional<double> SupplyInstrument::voltageSetpoint() const
{
    return outlook_.now().voltageSetpoint;
}

std::optional<double> SupplyInstrument::currentSetpoint() const
{
    return outlook_.now().currentSetpoint;
}

double SupplyInstrument::voltageStep(double volts) const
{
    return controller_.voltageStep(volts);
}

double SupplyInstrument::currentStep(double amps) const
{
    return controller_.currentStep(amps);
}

bool SupplyInstrument::outputOn() const
{
    return controller_.outputHeading();
}

RemoteInstrument::SetResult SupplyInstrument::resultOf(CommandRefusal refusal)
{
    switch (refusal) {
    case CommandRefusal::TripLatched:
        return SetResult::TripLatched;
    case CommandRefusal::PanelSwitch:
        return SetResult::PanelSwitch;
    case CommandRefusal::NoSupply:
        break;
    }
    return SetResult::NotConnected;
}

RemoteInstrument::SetResult SupplyInstrument::setVoltage(double volts)
{
    if (const auto refusal = controller_.refusalFor(false)) {
        return resultOf(*refusal);
    }
    if (!(volts >= voltageMin() - kLimitSlack && volts <= voltageMax() + kLimitSlack)) {
        return SetResult::OutOfRange;
    }
    const SupplyController::Acting remote(controller_, origin());
    controller_.commandVoltage(volts);
    return SetResult::Done;
}

RemoteInstrument::SetResult SupplyInstrument::setCurrent(double amps)
{
    if (const auto refusal = controller_.refusalFor(false)) {
        return resultOf(*refusal);
    }
    if (!(amps >= currentMin() - kLimitSlack && amps <= currentMax() + kLimitSlack)) {
        return SetResult::OutOfRange;
    }
    const SupplyController::Acting remote(controller_, origin());
    controller_.commandCurrent(amps);
    return SetResult::Done;
}

RemoteInstrument::SetResult SupplyInstrument::requestOutput(bool on)
{
    if (const auto refusal = controller_.refusalFor(on)) {
        return resultOf(*refusal);
    }
    const SupplyController::Acting remote(controller_, origin());
    return controller_.requestOutput(on) ? SetResult::Done
                                         : resultOf(controller_.refusalFor(on).value_or(CommandRefusal::NoSupply));
}

std::uint64_t SupplyInstrument::lastTicket(Quantity frame) const
{
    return controller_.lastTicket(frame);
}

std::uint64_t SupplyInstrument::lastWritten(Quantity frame) const
{
    return controller_.lastWritten(frame);
}

bool SupplyInstrument::outputReportedOn() const
{
    return controller_.outputOn();
}

std::uint64_t SupplyInstrument::pollsSeen() const
{
    return controller_.repliesSeen();
}

RemoteInstrument::Link SupplyInstrument::link() const
{
    return outlook_.now().linkUp ? Link::Connected : Link::Searching;
}

RemoteInstrument::ProgramStatus SupplyInstrument::programStatus() const
{
    const OutwardState state = outlook_.now();
    ProgramStatus status{ProgramState::Idle, state.programStep, programs_.why(),
        programs_.lastEnd() ? runEndCode(*programs_.lastEnd()) : std::string()};
    if (state.program != ProgramEngine::State::Idle) {
        status.state = state.program == ProgramEngine::State::Running ? ProgramState::Running : ProgramState::Paused;
    }
    return status;
}

std::optional<ProgramRefusal> SupplyInstrument::startProgram(Program program)
{
    if (auto refusal = programs_.load(std::move(program))) {
        return refusal;
    }
    return programs_.start(origin());
}

void SupplyInstrument::stopProgram()
{
    programs_.stop();
}

bool SupplyInstrument::pauseProgram()
{
    if (programs_.state() != ProgramEngine::State::Running) {
        return false;
    }
    programs_.pause();
    return true;
}

bool SupplyInstrument::resumeProgram()
{
    return programs_.resume();
}

ProtectionLimits SupplyInstrument::protectionLimits() const
{
    return protection_.limits();
}

void SupplyInstrument::setProtectionLimits(const ProtectionLimits& limits)
{
    protection_.setLimits(limits);
}

std::optional<ProtectionLimits::Limit> SupplyInstrument::protectionTrip() const
{
    return outlook_.now().trip;
}

void SupplyInstrument::clearProtectionTrip()
{
    protection_.clear();
}
