#include "remote/SupplyInstrument.h"

#include "controller/ProgramEngine.h"
#include "controller/ProtectionWatch.h"
#include "controller/SupplyController.h"

#include <cmath>
#include <utility>

SupplyInstrument::SupplyInstrument(SupplyController& controller, ProgramEngine& programs, ProtectionWatch& protection)
    : controller_(controller)
    , programs_(programs)
    , protection_(protection)
{
}

bool SupplyInstrument::identified() const
{
    return controller_.identified();
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
    const auto& latest = controller_.latest();
    if (!latest || !controller_.identified()) {
        return std::nullopt;
    }
    return latest;
}

bool SupplyInstrument::measurementStale() const
{
    return controller_.measurementStale();
}

std::optional<double> SupplyInstrument::voltageSetpoint() const
{
    return controller_.heldVoltage();
}

std::optional<double> SupplyInstrument::currentSetpoint() const
{
    return controller_.heldCurrent();
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

RemoteInstrument::SetResult SupplyInstrument::setVoltage(double volts)
{
    if (!controller_.live()) {
        return SetResult::NotConnected;
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
    if (!controller_.live()) {
        return SetResult::NotConnected;
    }
    if (!(amps >= currentMin() - kLimitSlack && amps <= currentMax() + kLimitSlack)) {
        return SetResult::OutOfRange;
    }
    const SupplyController::Acting remote(controller_, origin());
    controller_.commandCurrent(amps);
    return SetResult::Done;
}

bool SupplyInstrument::requestOutput(bool on)
{
    if (!controller_.live()) {
        return false;
    }
    const SupplyController::Acting remote(controller_, origin());
    controller_.requestOutput(on);
    return true;
}

std::uint64_t SupplyInstrument::lastTicket(Frame frame) const
{
    return controller_.lastTicket(
        frame == Frame::Voltage ? SupplyController::Frame::Voltage : SupplyController::Frame::Current);
}

std::uint64_t SupplyInstrument::lastWritten(Frame frame) const
{
    return controller_.lastWritten(
        frame == Frame::Voltage ? SupplyController::Frame::Voltage : SupplyController::Frame::Current);
}

bool SupplyInstrument::outputReportedOn() const
{
    return controller_.outputOn();
}

std::uint64_t SupplyInstrument::pollsSeen() const
{
    return controller_.repliesSeen();
}

RemoteInstrument::Frame SupplyInstrument::frameOf(SupplyController::Frame frame)
{
    return frame == SupplyController::Frame::Voltage ? Frame::Voltage : Frame::Current;
}

RemoteInstrument::Link SupplyInstrument::link() const
{
    return controller_.identified() ? Link::Connected : Link::Searching;
}

RemoteInstrument::ProgramStatus SupplyInstrument::programStatus() const
{
    ProgramStatus status{ProgramState::Idle, programs_.progress().step, programs_.why()};
    if (programs_.state() != ProgramEngine::State::Idle) {
        status.state
            = programs_.state() == ProgramEngine::State::Running ? ProgramState::Running : ProgramState::Paused;
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

ProtectionLimits SupplyInstrument::protectionLimits() const
{
    return protection_.limits();
}

void SupplyInstrument::setProtectionLimits(const ProtectionLimits& limits)
{
    protection_.setLimits(limits);
}

std::optional<ProtectionLimits::Quantity> SupplyInstrument::protectionTrip() const
{
    const auto& trip = protection_.trip();
    return trip ? std::optional(trip->quantity) : std::nullopt;
}

void SupplyInstrument::clearProtectionTrip()
{
    protection_.clear();
}
