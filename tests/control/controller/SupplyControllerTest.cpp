#include "ControllerRig.h"
#include "SignalValues.h"
#include "SimulatedSupply.h"

#include <QSignalSpy>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using testing::DoubleEq;
using testing::ElementsAre;

TEST(SupplyController, FollowsRepliesWithoutAWindow)
{
    Rig rig;
    QSignalSpy lost(&rig.controller, &SupplyController::linkLost);
    QSignalSpy identified(&rig.controller, &SupplyController::supplyIdentified);
    QSignalSpy output(&rig.controller, &SupplyController::outputChanged);
    QSignalSpy readings(&rig.controller, &SupplyController::readingChanged);

    rig.reply({0});
    rig.reply({0});
    EXPECT_EQ(lost.count(), 2);
    EXPECT_TRUE(rig.link().dropRequested());

    rig.identify({129, 1524, 200});
    ASSERT_EQ(identified.count(), 1);
    EXPECT_EQ(identified.front().at(1).toString(), QStringLiteral("Quarel"));
    ASSERT_EQ(output.count(), 1);
    EXPECT_TRUE(output.front().front().toBool());
    EXPECT_THAT(readingsOf(readings, Quantity::Voltage), ElementsAre(DoubleEq(7.9)));
    EXPECT_THAT(readingsOf(readings, Quantity::Current), ElementsAre(DoubleEq(12.6)));

    // Another model's readings are not taken, and an unknown code is announced.
    rig.reply({2, 300, 400});
    EXPECT_EQ(readingsOf(readings, Quantity::Voltage).size(), 1U);
    rig.reply({0});
    rig.identify({9, 300, 400});
    EXPECT_EQ(rig.prompts.unknownSupplies, 1);
}

TEST(SupplyController, TheTimerSwitchesTheOutputThroughOnePath)
{
    Rig rig;
    rig.identify({1, 500, 200});
    rig.timer.setPreset({0, 0, 2});
    rig.timer.startStop(true);
    EXPECT_TRUE(rig.link().queued().toggle);
    // Stopped before the toggle went out: it is taken back, nothing is sent.
    rig.timer.startStop(true);
    EXPECT_FALSE(rig.link().queued().toggle);

    rig.timer.startStop(true);
    rig.link().takeQueued(); // the worker sent it
    rig.reply({129, 1524, 200});
    rig.timer.tick();
    rig.timer.tick();
    EXPECT_FALSE(rig.timer.running());
    EXPECT_TRUE(rig.link().queued().toggle);

    // A lost link suspends the run; a supply that kept its output on is not
    // toggled off when the run resumes.
    rig.link().takeQueued();
    rig.reply({1, 500, 200});
    rig.timer.startStop(true);
    rig.link().takeQueued();
    rig.reply({129, 1524, 200});
    rig.reply({0});
    EXPECT_TRUE(rig.timer.running());
    EXPECT_FALSE(rig.timer.clockTicking());
    rig.identify({129, 1524, 200});
    EXPECT_TRUE(rig.timer.clockTicking());
    EXPECT_FALSE(rig.link().queued().toggle);
}

TEST(SupplyController, DrivesTheSimulatedSupplyOnItsOwn)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    Rig rig(supply.devicePath());
    QSignalSpy readings(&rig.controller, &SupplyController::readingChanged);
    ASSERT_TRUE(rig.waitUntil([&] { return !readingsOf(readings, Quantity::Current).empty(); }));
    EXPECT_EQ(rig.controller.profile().modelName, "Quarel");

    rig.controller.setVoltage(5.0);
    rig.controller.requestOutput(true);
    ASSERT_TRUE(rig.waitUntil([&] { return supply.outputOn(); }));
    EXPECT_EQ(supply.voltageRaw(), 318);
    rig.controller.requestOutput(true); // already on: nothing more is sent
    rig.waitUntil([] { return false; }, 600ms);
    EXPECT_TRUE(supply.outputOn());
}
