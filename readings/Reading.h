#pragma once

#include <chrono>

// One poll of the supply as the readings window and the recorder see it.
struct Reading {
    std::chrono::system_clock::time_point time;
    bool linked = false; // false: the link is lost and the values below mean nothing
    double voltage = 0.0; // volts
    double current = 0.0; // amperes
    bool voltageRegulated = false; // CV; otherwise CC
    bool outputOn = false;
    double setVoltage = 0.0;
    double setCurrent = 0.0;
};
