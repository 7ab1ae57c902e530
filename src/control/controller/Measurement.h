#pragma once

#include <chrono>

// One full status of the identified supply as every observer sees it: the
// words at the supply's own resolution, and nothing delivered while the
// output is off, when the words carry the setpoints.
struct Measurement {
    double volts = 0.0;
    double amperes = 0.0;
    bool voltageRegulated = false; // meaningless while the output is off
    bool outputOn = false;
    std::chrono::steady_clock::time_point at;
};
