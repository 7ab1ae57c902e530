#pragma once

#include "controller/SupplyController.h"
#include "remote/RemoteInstrument.h"

// The supply controller as the remote-control server sees it: the same
// setpoint path as the window, with values refused rather than clamped.
class SupplyInstrument final : public RemoteInstrument {
public:
    explicit SupplyInstrument(SupplyController& controller);

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
    double nearestVoltage(double volts) const override;
    double nearestCurrent(double amps) const override;
    bool outputOn() const override;
    SetResult setVoltage(double volts) override;
    SetResult setCurrent(double amps) override;
    bool requestOutput(bool on) override;
    std::uint64_t lastTicket(Frame frame) const override;
    std::uint64_t lastWritten(Frame frame) const override;
    bool outputReportedOn() const override;
    std::uint64_t pollsSeen() const override;
    Link link() const override;

    static Frame frameOf(SupplyController::Frame frame);

private:
    // Limits given as decimal text that doubles cannot hold exactly.
    static constexpr double kLimitSlack = 1e-9;

    SupplyController& controller_;
};
