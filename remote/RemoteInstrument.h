#pragma once

#include <optional>
#include <string>

// What the remote-control server needs from the supply controller. Every call
// comes from the thread the server lives on and must not block.
class RemoteInstrument {
public:
    // The newest reading of the identified supply.
    struct Measurement {
        double voltage = 0.0; // volts
        double current = 0.0; // amperes
        bool voltageRegulated = true; // false while the supply limits current
        bool outputOn = false;
    };

    enum class SetResult { Done, OutOfRange, NotConnected };

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
    // None while no supply is identified.
    virtual std::optional<Measurement> latest() const = 0;

    virtual double voltageSetpoint() const = 0;
    virtual double currentSetpoint() const = 0;
    // The state the output is heading to, counting a toggle on its way.
    virtual bool outputOn() const = 0;

    // Through the controller's one setpoint path: the model's limits, the
    // one-decimal rounding, the window's edits and the line. Callers check the
    // limits first, so OutOfRange is a last guard.
    virtual SetResult setVoltage(double volts) = 0;
    virtual SetResult setCurrent(double amps) = 0;
    // Brings the output to `on`, sending a toggle only if it is heading the
    // other way; false while no supply is identified.
    virtual bool requestOutput(bool on) = 0;

    virtual Link link() const = 0;
};
