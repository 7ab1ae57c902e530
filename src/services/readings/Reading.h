#pragma once

#include <chrono>
#include <optional>
#include <string>

// One poll of the supply as the readings window and the recorder see it.
struct Reading {
    std::chrono::system_clock::time_point time; // wall clock: the CSV's time column and the axis labels
    std::chrono::steady_clock::time_point monotonic; // elapsed time and the chart's x positions
    bool linked = false; // false: the link is lost or the readings are stale; the values below mean nothing
    double voltage = 0.0; // volts, measured; 0 while the output is off
    double current = 0.0; // amperes, measured; 0 while the output is off
    bool voltageRegulated = false; // CV; otherwise CC; meaningless while the output is off
    bool outputOn = false;
    std::optional<double> setVoltage; // none while the setpoint is not known
    std::optional<double> setCurrent;
    int programStep = 0; // the running program's step; 0 while none runs
    std::string events; // what happened since the previous reading, ';' between them
};
