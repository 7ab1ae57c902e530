#include "ControllerRig.h"
#include "engine/ProgramClock.h"
#include "engine/ProtectionWatch.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// Model 1: 15.7 V and 63 A full scale. Output off, 7.9 V and 12.6 A set.
const Reply kOff{1, 500, 200};
// Output on in voltage regulation, 5.04 A drawn.
const Reply kOnAt5A{129, 1524, 80};

struct GateRig {
    GateRig()
        : watch(rig.controller, clock)
    {
        rig.identify(kOff);
        ProtectionLimits limits;
        limits.amperes = 2.0;
        watch.setLimits(limits);
    }

    // The worker sends what waits; the supply answers the polls after it.
    void sendAndAnswer(const Reply& reply)
    {
        rig.link().takeQueued();
        rig.reply(reply);
    }

    void trip()
    {
        ASSERT_TRUE(rig.controller.requestOutput(true));
        sendAndAnswer(kOnAt5A);
        ASSERT_TRUE(watch.tripped());
    }

    Rig rig;
    ProgramClock clock;
    ProtectionWatch watch;
};

} // namespace

TEST(CommandGate, RefusesEveryCommandWhileNoSupplyIsIdentified)
{
    Rig rig;
    QSignalSpy refused(&rig.controller, &SupplyController::refused);
    const SupplyController::Acting remote(rig.controller, {CommandOrigin::Kind::Remote, 4});
    EXPECT_FALSE(rig.controller.setVoltage(5.0));
    EXPECT_FALSE(rig.controller.commandCurrent(1.0));
    EXPECT_FALSE(rig.controller.toggleOutput());
    EXPECT_FALSE(rig.controller.requestOutput(true));
    rig.timer.startStop(true);
    EXPECT_FALSE(rig.timer.running());
    EXPECT_EQ(rig.link().queued(), SupplyLink::Queued{});
    ASSERT_EQ(refused.count(), 5);
    EXPECT_EQ(refused.front().at(0).value<CommandOrigin>(), (CommandOrigin{CommandOrigin::Kind::Remote, 4}));
    EXPECT_EQ(refused.front().at(1).value<CommandRefusal>(), CommandRefusal::NoSupply);

    // What waited when the supply went is dropped with it.
    rig.identify(kOff);
    EXPECT_TRUE(rig.controller.setCurrent(1.0));
    rig.reply({0});
    EXPECT_EQ(rig.link().queued(), SupplyLink::Queued{});
}

TEST(CommandGate, ALatchedTripRefusesEveryOutputOn)
{
    GateRig gate;
    gate.trip();
    QSignalSpy refused(&gate.rig.controller, &SupplyController::refused);
    gate.sendAndAnswer(kOff);
    EXPECT_FALSE(gate.rig.controller.toggleOutput());
    EXPECT_FALSE(gate.rig.controller.requestOutput(true));
    gate.rig.timer.startStop(true);
    EXPECT_FALSE(gate.rig.timer.running());
    EXPECT_EQ(gate.rig.link().queued(), SupplyLink::Queued{});
    EXPECT_EQ(refused.count(), 3);
    // Setpoints and switching off are still taken.
    EXPECT_TRUE(gate.rig.controller.setCurrent(1.0));
    EXPECT_TRUE(gate.rig.controller.requestOutput(false));

    gate.watch.clear();
    EXPECT_TRUE(gate.rig.controller.requestOutput(true));
    EXPECT_TRUE(gate.rig.link().queued().toggle);
}

// Cleared and switched on again within the poll cycle of the trip's
// switch-off: the switch-off still reaches the supply, a reading from before
// it does not trip a second time, and the switch-on follows once it is off.
TEST(CommandGate, ClearingAndSwitchingOnAtOnceTripsOnceAndSwitchesOnAfterTheOff)
{
    GateRig gate;
    QSignalSpy trips(&gate.watch, &ProtectionWatch::trippedOn);
    gate.trip();
    gate.watch.clear();
    const SupplyController::Acting remote(gate.rig.controller, {CommandOrigin::Kind::Remote, 2});
    ASSERT_TRUE(gate.rig.controller.requestOutput(true));
    EXPECT_TRUE(gate.rig.link().queued().toggle) << "the trip's switch-off was taken back";

    gate.sendAndAnswer(kOnAt5A);
    EXPECT_FALSE(gate.watch.tripped());
    EXPECT_EQ(trips.count(), 1);
    gate.rig.reply(kOff);
    EXPECT_TRUE(gate.rig.link().queued().toggle) << "the switch-on was dropped";
}

TEST(CommandGate, ASwitchOnWaitingForAnOffIsRefusedToItsOriginIfATripLatchesMeanwhile)
{
    GateRig gate;
    ASSERT_TRUE(gate.rig.controller.requestOutput(true));
    gate.sendAndAnswer({129, 1524, 20});
    ASSERT_TRUE(gate.rig.controller.requestOutput(false));
    gate.rig.link().takeQueued();
    QSignalSpy refused(&gate.rig.controller, &SupplyController::refused);
    {
        const SupplyController::Acting remote(gate.rig.controller, {CommandOrigin::Kind::Remote, 7});
        ASSERT_TRUE(gate.rig.controller.requestOutput(true));
    }
    gate.rig.reply(kOnAt5A);
    ASSERT_TRUE(gate.watch.tripped());
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused.front().at(0).value<CommandOrigin>(), (CommandOrigin{CommandOrigin::Kind::Remote, 7}));
    EXPECT_TRUE(refused.front().at(2).toBool());
    gate.rig.reply(kOff);
    EXPECT_FALSE(gate.rig.link().queued().toggle);
}

// With its On/Off switch on the supply answers with its status alone and
// ignores every frame: what was on its way is told lost, and nothing more is
// taken until a full status comes back.
TEST(CommandGate, ASupplyAnsweringWithItsStatusAloneTakesNoCommands)
{
    GateRig gate;
    SupplyController& controller = gate.rig.controller;
    QSignalSpy dropped(&controller, &SupplyController::commandsDropped);
    QSignalSpy refused(&controller, &SupplyController::refused);
    ASSERT_TRUE(controller.setCurrent(1.0));
    gate.rig.link().takeQueued();
    ASSERT_TRUE(controller.setVoltage(3.0));

    gate.rig.reply({1});
    EXPECT_EQ(gate.rig.link().queued(), SupplyLink::Queued{});
    EXPECT_EQ(dropped.count(), 2);
    EXPECT_FALSE(controller.setVoltage(4.0));
    EXPECT_FALSE(controller.requestOutput(true));
    EXPECT_EQ(gate.rig.link().queued(), SupplyLink::Queued{});
    ASSERT_EQ(refused.count(), 2);
    EXPECT_EQ(refused.back().at(1).value<CommandRefusal>(), CommandRefusal::PanelSwitch);

    gate.rig.reply(kOff);
    EXPECT_TRUE(controller.setVoltage(4.0));
}
