#pragma once

#include "program/ProtectionLimits.h"

#include <QDateTime>

// The limit a reading crossed, latched until the user clears it.
struct ProtectionTrip {
    ProtectionLimits::Limit quantity = ProtectionLimits::Limit::Voltage;
    double value = 0.0; // in the limit's unit: V, A, W, A·h, W·h or s
    double limit = 0.0;
    QDateTime at;
};
