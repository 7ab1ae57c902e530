#pragma once

#include "BatteryPack.h"

#include <span>

// One cell of a chemistry: its open-circuit voltage and its internal resistance,
// both following the state of charge. The voltage is what the cell pushes back
// with while it charges, so past full it rises (lithium), dips as the cell warms
// (nickel) or the resistance climbs as the plates stop taking charge (lead).
class CellCurve {
public:
    struct Point {
        double stateOfCharge; // a fraction; past 1 is overcharge
        double volts;
        double ohmAmpereHours; // the cell's resistance times its capacity
    };

    // The fullest state the curves reach; a cell charged on stays there.
    static constexpr double kMaxStateOfCharge = 1.1;

    static const CellCurve& of(BatteryPack::Chemistry chemistry);

    double volts(double stateOfCharge) const;
    double ohmAmpereHours(double stateOfCharge) const;

private:
    explicit CellCurve(std::span<const Point> points);

    // Linear between the points, flat beyond the ends.
    double interpolate(double stateOfCharge, double Point::*value) const;

    std::span<const Point> points_;
};
