#pragma once

#include <string>

// The battery a charge program was made for, so that its run can be set
// against the stated capacity.
struct ProgramBattery {
    std::string chemistry; // as the charge profiles name it: "li-ion", "lifepo4", ...
    int cells = 1;
    double capacityAh = 0.0;

    bool operator==(const ProgramBattery&) const = default;
};
