#include "ControllerRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The one-decimal values from min to max, in tenths, that do not go out as
// the step at or below them, reckoned in whole numbers.
std::vector<long> strays(
    Rig& rig, bool (SupplyController::*send)(double), std::int32_t (SupplyLink::*sent)() const, double min, double max)
{
    std::vector<long> strays;
    const long full = std::lround(max * 10);
    for (long tenths = std::lround(min * 10); tenths <= full; ++tenths) {
        (rig.controller.*send)(static_cast<double>(tenths) / 10.0);
        if ((rig.link().*sent)() != tenths * 1000 / full) {
            strays.push_back(tenths);
        }
    }
    return strays;
}

} // namespace

// Typed into the window's edit (set) or commanded by the remote server, MQTT
// or a program (command), a value is the same step: 1.0 A on 63 A is step
// 15, and 47.2 V on 47.2 V is step 1000 whatever the binary rounding.
TEST(SetpointStep, EveryOriginSendsTheStepAtOrBelowTheValue)
{
    for (const int code : {1, 2, 3, 4, 5, 6, 7}) { // 7: a code of no known model
        Rig rig;
        rig.identify({code, 500, 200});
        const ModelProfile m = rig.controller.profile();
        const std::vector<long> none;
        EXPECT_EQ(strays(rig, &SupplyController::setVoltage, &SupplyLink::voltageRaw, m.voltageMin, m.voltageMax), none)
            << m.modelName;
        EXPECT_EQ(
            strays(rig, &SupplyController::commandVoltage, &SupplyLink::voltageRaw, m.voltageMin, m.voltageMax), none)
            << m.modelName;
        EXPECT_EQ(strays(rig, &SupplyController::setCurrent, &SupplyLink::currentRaw, m.currentMin, m.currentMax), none)
            << m.modelName;
        EXPECT_EQ(
            strays(rig, &SupplyController::commandCurrent, &SupplyLink::currentRaw, m.currentMin, m.currentMax), none)
            << m.modelName;
    }
}
