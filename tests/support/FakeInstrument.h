#pragma once

#include "remote/RemoteInstrument.h"

#include <array>
#include <vector>

// A supply controller in memory: a model with the ratings of a 31.5 V / 31.5 A
// supply, a toggle-only output, and a record of everything sent.
class FakeInstrument : public RemoteInstrument {
public:
    bool present = true;
    std::string model = "Brisna";
    Link linkState = Link::Connected;
    Measurement reading{12.0, 1.5, true, false, {}};
    bool stale = false;
    std::optional<double> voltage = 12.0;
    std::optional<double> current = 1.5;
    bool output = false;
    // The last ticket of each frame, voltage first.
    std::array<std::uint64_t, 2> tickets{};
    // What is on the line, voltage first; kept level with tickets unless heldBack.
    std::array<std::uint64_t, 2> written{};
    bool heldBack = false;
    // The output as reported, when it differs from where it is heading.
    std::optional<bool> reportedOn;
    std::uint64_t polls = 0;

    // The client each setpoint and switch came from.
    std::uint64_t client = 0;
    std::vector<std::uint64_t> commandedBy;
    ProgramStatus programNow;
    std::optional<ProgramRefusal> refusal;
    std::vector<Program> programsStarted;
    int programStops = 0;
    ProtectionLimits armed;
    std::optional<ProtectionLimits::Limit> trip;
    // The supply's own On/Off switch is on: it takes no commands.
    bool panelSwitch = false;

    std::vector<double> voltagesSent;
    std::vector<double> currentsSent;
    int toggles = 0;
    // Setpoints that reached the instrument outside the limits.
    int outOfRangeCalls = 0;

    bool identified() const override { return present; }
    std::string modelName() const override { return model; }
    double voltageMin() const override { return 0.7; }
    double voltageMax() const override { return 31.5; }
    double currentMin() const override { return 0.4; }
    double currentMax() const override { return 31.5; }
    std::optional<Measurement> latest() const override;
    bool measurementStale() const override { return stale; }
    std::optional<double> voltageSetpoint() const override { return voltage; }
    std::optional<double> currentSetpoint() const override { return current; }
    double voltageStep(double volts) const override { return volts; }
    double currentStep(double amps) const override { return amps; }
    bool outputOn() const override { return output; }
    SetResult setVoltage(double volts) override;
    SetResult setCurrent(double amps) override;
    SetResult requestOutput(bool on) override;
    std::uint64_t lastTicket(Quantity frame) const override { return tickets.at(static_cast<std::size_t>(frame)); }
    std::uint64_t lastWritten(Quantity frame) const override { return written.at(static_cast<std::size_t>(frame)); }
    bool outputReportedOn() const override { return reportedOn.value_or(output); }
    std::uint64_t pollsSeen() const override { return polls; }
    Link link() const override { return linkState; }
    void actFor(std::uint64_t id) override { client = id; }
    ProgramStatus programStatus() const override { return programNow; }
    std::optional<ProgramRefusal> startProgram(Program program) override;
    void stopProgram() override { ++programStops; }
    bool pauseProgram() override { return shift(ProgramState::Running, ProgramState::Paused); }
    bool resumeProgram() override { return shift(ProgramState::Paused, ProgramState::Running); }
    ProtectionLimits protectionLimits() const override { return armed; }
    void setProtectionLimits(const ProtectionLimits& limits) override { armed = limits; }
    std::optional<ProtectionLimits::Limit> protectionTrip() const override { return trip; }
    void clearProtectionTrip() override { trip.reset(); }

private:
    bool shift(ProgramState from, ProgramState to)
    {
        if (programNow.state != from) {
            return false;
        }
        programNow.state = to;
        return true;
    }
    void issue(Quantity frame);
    SetResult set(double value, double min, double max, Quantity frame, std::vector<double>& sent);
};
