#pragma once

#include "BatteryPack.h"
#include "CellCurve.h"

// A battery on the supply's terminals, in simulated time. The supply can only source
// current: it charges the cells through their resistance, and a leak (an internal
// short) draws its share of that current, or drains the cells when there is none.
class SimulatedBattery {
public:
    static constexpr double kMaxLeakAmperes = 1000.0;

    struct Terminal {
        double volts;
        double amperes; // out of the supply, leak included
        bool constantVoltage;
    };

    explicit SimulatedBattery(const BatteryPack& pack);

    // What a supply set to voltageSet with currentLimit settles at.
    Terminal meet(double voltageSet, double currentLimit) const;
    // Moves seconds on with supplyAmperes flowing in, leak included.
    void advance(double seconds, double supplyAmperes);
    void setLeak(double amperes); // clamped to 0..kMaxLeakAmperes

    double stateOfCharge() const { return stateOfCharge_; }
    double openCircuitVolts() const;
    double ohms() const; // the whole string's, at the present state of charge
    double ampereHours() const { return ampereHours_; } // that came out of the supply
    double simulatedSeconds() const { return seconds_; }

private:
    const CellCurve* curve_;
    int cells_;
    double capacityAh_;
    double stateOfCharge_;
    double leak_ = 0.0;
    double ampereHours_ = 0.0;
    double seconds_ = 0.0;
};
