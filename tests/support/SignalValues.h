#pragma once

#include "controller/SupplyController.h"

#include <QSignalSpy>

#include <vector>

// The values of one quantity a spied readingChanged carried, in order.
inline std::vector<double> readingsOf(const QSignalSpy& readings, Quantity quantity)
{
    std::vector<double> values;
    for (const QList<QVariant>& reading : readings) {
        if (reading.at(0).value<Quantity>() == quantity) {
            values.push_back(reading.at(1).toDouble());
        }
    }
    return values;
}

// The values of one quantity a spied setpointChanged carried for that cause, in order.
inline std::vector<double> setpointsOf(
    const QSignalSpy& setpoints, Quantity quantity, SupplyController::SetpointCause cause)
{
    std::vector<double> values;
    for (const QList<QVariant>& setpoint : setpoints) {
        if (setpoint.at(0).value<Quantity>() == quantity
            && setpoint.at(1).value<SupplyController::SetpointCause>() == cause) {
            values.push_back(setpoint.at(2).toDouble());
        }
    }
    return values;
}
