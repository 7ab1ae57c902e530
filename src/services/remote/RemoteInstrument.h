#pragma once

#include "controller/Measurement.h"
#include "program/Program.h"
#include "program/ProgramRefusal.h"
#include "program/ProtectionLimits.h"
#include "supply/Quantity.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

// What the remote-control server needs from the supply controller. Every call
// comes from the thread the server lives on and must not block.
class RemoteInstrument {
public:
    enum class SetResult { Done, OutOfRange, NotConnected, TripLatched, PanelSwitch };

    // How far the link has come, for SYSTem:LINK?.
    enum class Link {
        NoPort, // no listed port could be opened
        Searching, // a port is open, no supply answering on it with its readings yet
        Connected, // a supply is identified and its controls follow it
    };

    enum class ProgramState { Idle, Running, Paused };
    struct ProgramStatus {
        ProgramState state = ProgramState::Idle;
        int step = 0; // the running step's number; 0 while none runs
        QString why; // why it is paused
        std::string end; // how the last run ended, as its code; empty before one has
    };

    // The protection levels a client sets: voltage, current and power.
    using Guard = ProtectionLimits::Limit;

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
    // The present reading: none while no supply is identified or while the
    // readings are stale. While the output is off the supply delivers
    // nothing, and the reading says 0 V and 0 A.
    virtual std::optional<Measurement> latest() const = 0;
    // True when the identified supply's newest full reading is older than 1.5 s.
    virtual bool measurementStale() const = 0;

    // At the supply's own resolution; none while the setpoint is not known, as
    // for a supply found with its output on, which tells only the regulating
    // quantity's setpoint.
    virtual std::optional<double> voltageSetpoint() const = 0;
    virtual std::optional<double> currentSetpoint() const = 0;
    // The setpoint a value between the limits becomes: the supply's step at
    // or below it, as from every other origin.
    virtual double voltageStep(double volts) const = 0;
    virtual double currentStep(double amps) const = 0;
    // The state the output is heading to, counting a toggle on its way.
    virtual bool outputOn() const = 0;

    // Through the controller's one setpoint path: the model's limits, the
    // step at or below the value, the window's edits and the line. Callers check the limits
    // first, so OutOfRange is a last guard.
    virtual SetResult setVoltage(double volts) = 0;
    virtual SetResult setCurrent(double amps) = 0;
    // Brings the output to `on`, sending a toggle only if it is heading the
    // other way; refused while no supply is identified, and an output-on
    // while a protection trip is latched.
    virtual SetResult requestOutput(bool on) = 0;

    // The number of the last command accepted for that frame; rises by one per
    // accepted command.
    virtual std::uint64_t lastTicket(Quantity frame) const = 0;
    // The number of the last command of that frame written to the line.
    virtual std::uint64_t lastWritten(Quantity frame) const = 0;
    // The output as the supply's last status reports it.
    virtual bool outputReportedOn() const = 0;
    // The polls that have gone by: rises by one at each reply, answered or not.
    virtual std::uint64_t pollsSeen() const = 0;

    virtual Link link() const = 0;

    // Whose commands follow: a client's non-zero number, until another is named.
    // Setpoints and the output go to the controller as that client's.
    virtual void actFor(std::uint64_t client) = 0;

    virtual ProgramStatus programStatus() const = 0;
    // Loads the program and starts it, owned by the client acted for.
    virtual std::optional<ProgramRefusal> startProgram(Program program) = 0;
    // Ends a running or paused program with the output off.
    virtual void stopProgram() = 0;
    // Pauses a running program; false when none runs.
    virtual bool pauseProgram() = 0;
    // Goes on with a paused program; false when none is paused or it cannot go on yet.
    virtual bool resumeProgram() = 0;

    // The limits armed now, whoever armed them.
    virtual ProtectionLimits protectionLimits() const = 0;
    virtual void setProtectionLimits(const ProtectionLimits& limits) = 0;
    // The quantity of the latched trip, if any.
    virtual std::optional<ProtectionLimits::Limit> protectionTrip() const = 0;
    virtual void clearProtectionTrip() = 0;

    // A guard's level is kept while it is off and armed when it goes on; the
    // model's maximum until one is given.
    double protectionLevel(Guard guard) const;
    bool protectionArmed(Guard guard) const;
    // Re-arms at once while the guard is on.
    void setProtectionLevel(Guard guard, double level);
    void armProtection(Guard guard, bool on);
    double protectionMinimum(Guard guard) const;
    double protectionMaximum(Guard guard) const;

private:
    ProtectionLimits remembered_;
};
