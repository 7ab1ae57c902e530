#pragma once

// What ends a step besides its duration: the first of its conditions to hold
// on a reading with the output on. One that stops ends the program there.
struct EndCondition {
    enum class Kind {
        CurrentAtMost, // amperes
        CurrentAtLeast,
        VoltageAtMost, // volts
        VoltageAtLeast,
        Charge, // ampere-hours since the step began
        Energy, // watt-hours since the step began
        BecomesCv, // no value
        BecomesCc,
        VoltageDrop, // volts below the step's peak (-dV)
        TimeOfDay, // seconds after local midnight; the step ends at the next such moment
        VoltageFlat, // seconds the voltage has not risen above the step's peak
    };

    Kind kind = Kind::CurrentAtMost;
    double value = 0.0;
    // Ends the whole program, output off, instead of going on to the next step.
    bool stops = false;

    bool operator==(const EndCondition&) const = default;
};
