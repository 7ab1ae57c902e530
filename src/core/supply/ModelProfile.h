#pragma once

#include <string>

// One row of the model table: the ratings of one supply model.
struct ModelProfile {
    int code = 0;
    std::string supplyName; // UTF-8, translated where it is shown
    std::string modelName; // UTF-8
    double voltageMax = 0.0; // volts at raw 1000
    double currentMax = 0.0; // amperes at raw 1000
    double voltageMin = 0.0;
    double currentMin = 0.0;
};
