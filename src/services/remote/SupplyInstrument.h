#pragma once

#include "controller/SupplyController.h"
#include "remote/RemoteInstrument.h"

class ProgramEngine;
class ProtectionWatch;
class SupplyOutlook;

// The supply controller as the remote-control server sees it: the same
// setpoint path as the window, with values refused rather than clamped, and
// the program engine and protection limits beside it. What the queries tell
// of the supply's state comes from its outlook, as every other report's does.
class SupplyInstrument final : public RemoteInstrument {
public:
    SupplyInstrument(SupplyController& controller, ProgramEngine& programs, ProtectionWatch& protection,
        const SupplyOutlook& outlook);

    bool identified() const override;
    std::string modelName() const override;
    double voltageMin() const override;
    double voltageMax() const override;
    double currentMin() const override;
    double currentMax() const override;
    std::optional<Measurement> latest() const override;
    bool measurementStale() const override;
    std::optional<double> voltageSetpoint() const override;
    std::optional<double> currentSetpoint() const override;
    double voltageStep(double volts) const override;
    double currentStep(double amps) const override;
    bool outputOn() const override;
    SetResult setVoltage(double volts) override;
    SetResult setCurrent(double amps) override;
    SetResult requestOutput(bool on) override;
    std::uint64_t lastTicket(Quantity frame) const override;
    std::uint64_t lastWritten(Quantity frame) const override;
    bool outputReportedOn() const override;
    std::uint64_t pollsSeen() const override;
    Link link() const override;
    void actFor(std::uint64_t client) override { client_ = client; }
    ProgramStatus programStatus() const override;
    std::optional<ProgramRefusal> startProgram(Program program) override;
    void stopProgram() override;
    bool pauseProgram() override;
    bool resumeProgram() override;
    ProtectionLimits protectionLimits() const override;
    void setProtectionLimits(const ProtectionLimits& limits) override;
    std::optional<ProtectionLimits::Limit> protectionTrip() const override;
    void clearProtectionTrip() override;

    // How the gate's refusal reads to a remote client.
    static SetResult resultOf(CommandRefusal refusal);

private:
    // Limits given as decimal text that doubles cannot hold exactly.
    static constexpr double kLimitSlack = 1e-9;

    CommandOrigin origin() const { return {CommandOrigin::Kind::Remote, client_}; }

    SupplyController& controller_;
    ProgramEngine& programs_;
    ProtectionWatch& protection_;
    const SupplyOutlook& outlook_;
    std::uint64_t client_ = 0;
};
