#pragma once

#include "readings/Reading.h"

class SupplyController;

// The readings of the supply controller as the readings window records them.
class SupplyReadings {
public:
    // The controller's last full status, with its setpoints, stamped now.
    static Reading measured(const SupplyController& controller);
    // A lost link: a gap in the chart and an empty line in the record.
    static Reading lost();
};
