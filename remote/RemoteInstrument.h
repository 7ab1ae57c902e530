#pragma once

#include "controller/Measurement.h"

#include <cstdint>
#include <optional>
#include <string>

// What the remote-control server needs from the supply controller. Every call
// comes from the thread the server lives on and must not block.
class RemoteInstrument {
public:
    enum class SetResult { Done, OutOfRange, NotConnected };

    // A voltage setpoint and an output switch ride on the voltage frame.
    enum class Frame { Voltage, Current };

    // How far the link has come, for SYSTem:LINK?.
    enum class Link {
        NoPort, // no listed port could be opened
        Searching, // a port is open, no supply identified on it yet
        Connected, // a supply is identified
    };

    RemoteInstrument() = default;
    RemoteInstrument(const RemoteInstrument&) = delete;
    RemoteInstrument& operator=(const RemoteInstrument&) = delete;
    virtual ~RemoteInstrument() = default;

    virtual bool identified() const = 0;
    virtual std::string modelName() const = 0;
    // The identified model's setpoint limits.
    virtual double voltageMin() const = 0;
    virtual double voltageMax() const = 0;
    virtual double currentMin() const = 0;
    virtual double currentMax() const = 0;
    // None while no supply is identified. While the output is off the supply
    // delivers nothing, and the reading says 0 V and 0 A.
    virtual std::optional<Measurement> latest() const = 0;
    // True when the identified supply's newest full reading is older than 1.5 s.
    virtual bool measurementStale() const = 0;

    // At the supply's own resolution; none while the setpoint is not known, as
    // for a supply found with its output on, which tells only the regulating
    // quantity's setpoint.
    virtual std::optional<double> voltageSetpoint() const = 0;
    virtual std::optional<double> currentSetpoint() const = 0;
    // The setpoint a value between the limits becomes: the supply's nearest step.
    virtual double nearestVoltage(double volts) const = 0;
    virtual double nearestCurrent(double amps) const = 0;
    // The state the output is heading to, counting a toggle on its way.
    virtual bool outputOn() const = 0;

    // Through the controller's one setpoint path: the model's limits, the
    // nearest step, the window's edits and the line. Callers check the limits
    // first, so OutOfRange is a last guard.
    virtual SetResult setVoltage(double volts) = 0;
    virtual SetResult setCurrent(double amps) = 0;
    // Brings the output to `on`, sending a toggle only if it is heading the
    // other way; false while no supply is identified.
    virtual bool requestOutput(bool on) = 0;

    // The number of the last command accepted for that frame; rises by one per
    // accepted command.
    virtual std::uint64_t lastTicket(Frame frame) const = 0;
    // The number of the last command of that frame written to the line.
    virtual std::uint64_t lastWritten(Frame frame) const = 0;
    // The output as the supply's last status reports it.
    virtual bool outputReportedOn() const = 0;
    // The polls that have gone by: rises by one at each reply, answered or not.
    virtual std::uint64_t pollsSeen() const = 0;

    virtual Link link() const = 0;
};
