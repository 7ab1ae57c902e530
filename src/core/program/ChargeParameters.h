#pragma once

#include "program/Chemistry.h"

#include <chrono>
#include <optional>

// What a user says of a battery to charge; the rest comes from its chemistry's practice.
struct ChargeParameters {
    using Minutes = std::chrono::minutes;

    Chemistry chemistry = Chemistry::LiIon;
    int cells = 1; // in series
    double capacityAh = 2.0;
    double amperes = 1.0; // constant current, the bulk stage of lead
    // Constant-voltage, absorption or (nickel) compliance voltage, per cell.
    double voltsPerCell = 4.20;
    // Where constant voltage or absorption ends, as a fraction of C.
    double taperRate = 0.1;
    // Nickel: -dV per cell, the start in which it is ignored, and how long a flat top may last.
    double deltaVoltsPerCell = 0.005;
    Minutes holdOff{5};
    std::optional<Minutes> plateau = Minutes{15};
    // Lead: the longest absorption, and the float after it (none: no float).
    Minutes absorptionMax{240};
    std::optional<Minutes> floatTime = Minutes{720};
    double floatVoltsPerCell = 2.25;

    // The chemistry's usual values for a 2 Ah battery at C/2.
    static ChargeParameters defaults(Chemistry chemistry);
};
