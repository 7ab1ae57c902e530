#include "FakeInstrument.h"

#include <cmath>
#include <utility>

std::optional<Measurement> FakeInstrument::latest() const
{
    if (!present) {
        return std::nullopt;
    }
    Measurement now = reading;
    now.outputOn = output;
    return now;
}

RemoteInstrument::SetResult FakeInstrument::set(
    double value, double min, double max, Quantity frame, std::vector<double>& sent)
{
    if (!present) {
        return SetResult::NotConnected;
    }
    if (panelSwitch) {
        return SetResult::PanelSwitch;
    }
    const double rounded = std::round(value * 10.0) / 10.0;
    if (rounded < min || rounded > max) {
        ++outOfRangeCalls;
        return SetResult::OutOfRange;
    }
    (frame == Quantity::Voltage ? voltage : current) = rounded;
    sent.push_back(rounded);
    issue(frame);
    return SetResult::Done;
}

RemoteInstrument::SetResult FakeInstrument::setVoltage(double volts)
{
    return set(volts, voltageMin(), voltageMax(), Quantity::Voltage, voltagesSent);
}

RemoteInstrument::SetResult FakeInstrument::setCurrent(double amps)
{
    return set(amps, currentMin(), currentMax(), Quantity::Current, currentsSent);
}

RemoteInstrument::SetResult FakeInstrument::requestOutput(bool on)
{
    if (!present) {
        return SetResult::NotConnected;
    }
    if (panelSwitch) {
        return SetResult::PanelSwitch;
    }
    if (on && trip) {
        return SetResult::TripLatched;
    }
    if (output != on) {
        ++toggles;
        output = on;
        issue(Quantity::Voltage);
    }
    return SetResult::Done;
}

std::optional<ProgramRefusal> FakeInstrument::startProgram(Program program)
{
    if (!refusal) {
        programsStarted.push_back(std::move(program));
    }
    return refusal;
}

void FakeInstrument::issue(Quantity frame)
{
    commandedBy.push_back(client);
    const auto index = static_cast<std::size_t>(frame);
    ++tickets.at(index);
    if (!heldBack) {
        written.at(index) = tickets.at(index);
    }
}
