#include "ControllerRig.h"
#include "SignalValues.h"
#include "SimulatedSupply.h"

#include <QSignalSpy>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using testing::DoubleEq;
using testing::ElementsAre;

namespace {

const std::string kPort = "/dev/tendrel-test-none";

QStringList names(const QSignalSpy& identified)
{
    return {identified.front().at(0).toString(), identified.front().at(1).toString()};
}

} // namespace

TEST(Misses, AMissForgetsTheSupplyAndTheSecondInARowLeavesThePort)
{
    Rig rig(kPort);
    rig.identify({1, 500, 200});
    ASSERT_TRUE(rig.controller.controlsShown());
    QSignalSpy lost(&rig.controller, &SupplyController::linkLost);

    rig.reply({0});
    EXPECT_EQ(lost.count(), 1);
    EXPECT_FALSE(rig.controller.identified());
    EXPECT_FALSE(rig.controller.controlsShown());
    EXPECT_TRUE(rig.controller.adoptingReadings());
    EXPECT_FALSE(rig.controller.latest().has_value());
    EXPECT_EQ(rig.controller.missesInRow(), 1);
    EXPECT_FALSE(rig.link().dropRequested());

    rig.reply({0});
    EXPECT_EQ(rig.controller.missesInRow(), 0);
    EXPECT_TRUE(rig.link().dropRequested());
}

// Any status between two misses is an answer; a reply cut short is not.
TEST(Misses, OnlyAStatusBetweenTwoMissesKeepsThePort)
{
    struct Case {
        const char* what;
        Reply between;
        int missesAfterIt;
    };
    const std::vector<Case> cases{
        {"full status", {1, 300, 400}, 0},
        {"status alone with the output bit", {133}, 0},
        {"two values", {1, 300}, 1},
    };
    for (const Case& c : cases) {
        Rig rig(kPort);
        rig.reply({0});
        rig.reply(c.between);
        EXPECT_EQ(rig.controller.missesInRow(), c.missesAfterIt) << c.what;
        EXPECT_FALSE(rig.controller.identified()) << c.what;
        rig.reply({0});
        EXPECT_EQ(rig.link().dropRequested(), c.missesAfterIt == 1) << c.what;
    }
}

TEST(Identification, AStatusAloneIdentifiesButGivesNoControl)
{
    Rig rig(kPort);
    QSignalSpy identified(&rig.controller, &SupplyController::supplyIdentified);
    QSignalSpy panel(&rig.controller, &SupplyController::panelSwitchReported);
    rig.reply({5});
    EXPECT_FALSE(rig.controller.identified()) << "one status alone names no model";
    EXPECT_TRUE(identified.isEmpty());

    rig.reply({5});
    EXPECT_TRUE(rig.controller.identified());
    EXPECT_EQ(rig.link().modelCode(), 5);
    ASSERT_EQ(identified.count(), 1);
    EXPECT_EQ(names(identified), (QStringList{QString::fromUtf8("Лабораторный"), QStringLiteral("Dunvael")}));
    EXPECT_EQ(panel.count(), 1);
    EXPECT_FALSE(rig.controller.controlsShown());
    EXPECT_EQ(rig.controller.refusalFor(false), CommandRefusal::PanelSwitch);
    EXPECT_EQ(rig.settings.lastPort(), kPort);
}

// Switched to its own control while live, the supply takes no command until
// its readings return.
TEST(Identification, AStatusAloneWhileLiveReportsThePanelSwitchUntilTheReadingsReturn)
{
    Rig rig(kPort);
    rig.identify({1, 500, 200});
    QSignalSpy panel(&rig.controller, &SupplyController::panelSwitchReported);
    QSignalSpy readings(&rig.controller, &SupplyController::readingChanged);
    rig.reply({1});
    EXPECT_EQ(panel.count(), 1);
    EXPECT_EQ(rig.controller.refusalFor(false), CommandRefusal::PanelSwitch);
    rig.reply({1});
    EXPECT_EQ(panel.count(), 1) << "told once";

    rig.reply({1, 500, 200});
    EXPECT_EQ(rig.controller.refusalFor(false), std::nullopt);
    EXPECT_TRUE(rig.controller.identified());
    EXPECT_TRUE(readings.isEmpty()) << "the readings did not change";
}

TEST(Identification, AStatusAloneWithTheOutputBitIdentifiesNothing)
{
    Rig rig(kPort);
    QSignalSpy identified(&rig.controller, &SupplyController::supplyIdentified);
    QSignalSpy answered(&rig.controller, &SupplyController::statusAnswered);
    rig.reply({133});
    rig.reply({133});
    EXPECT_FALSE(rig.controller.identified());
    EXPECT_TRUE(identified.isEmpty());
    EXPECT_EQ(answered.count(), 2);
    EXPECT_EQ(rig.settings.lastPort(), kPort);
}

TEST(Identification, AFullStatusFollowsOutputRegulationAndReadings)
{
    Rig rig(kPort);
    QSignalSpy output(&rig.controller, &SupplyController::outputChanged);
    QSignalSpy regulation(&rig.controller, &SupplyController::regulationChanged);
    QSignalSpy readings(&rig.controller, &SupplyController::readingChanged);
    QSignalSpy setpoints(&rig.controller, &SupplyController::setpointChanged);
    const auto adopted
        = [&] { return setpointsOf(setpoints, Quantity::Voltage, SupplyController::SetpointCause::Adopted); };
    rig.reply({1});
    rig.reply({129, 1524, 200});
    EXPECT_TRUE(rig.controller.controlsShown());
    EXPECT_TRUE(rig.controller.outputOn());
    EXPECT_EQ(output.count(), 1);
    ASSERT_EQ(regulation.count(), 1);
    EXPECT_TRUE(regulation.back().front().toBool());
    EXPECT_THAT(readingsOf(readings, Quantity::Voltage), ElementsAre(DoubleEq(7.9)));
    EXPECT_THAT(readingsOf(readings, Quantity::Current), ElementsAre(DoubleEq(12.6)));
    // The first readings become the setpoints without sending anything.
    EXPECT_THAT(adopted(), ElementsAre(DoubleEq(7.9)));
    EXPECT_EQ(rig.link().voltageRaw(), 500);
    EXPECT_FALSE(rig.link().queued().voltage);
    EXPECT_FALSE(rig.controller.adoptingReadings());

    // Observers hear of changed readings only.
    rig.reply({129, 1524, 200});
    EXPECT_EQ(readings.count(), 2);
    // Current regulation, then the output off.
    rig.reply({129, 400, 200});
    EXPECT_FALSE(regulation.back().front().toBool());
    EXPECT_THAT(readingsOf(readings, Quantity::Voltage), ElementsAre(DoubleEq(7.9), DoubleEq(6.3)));
    EXPECT_EQ(adopted().size(), 1U);
    rig.reply({1, 400, 200});
    EXPECT_FALSE(rig.controller.outputOn());
    ASSERT_EQ(output.count(), 2);
    EXPECT_FALSE(output.back().front().toBool());
}

TEST(Identification, ARejectedCodeGivesLiveControlsWithoutReadings)
{
    Rig rig(kPort);
    QSignalSpy identified(&rig.controller, &SupplyController::supplyIdentified);
    QSignalSpy readings(&rig.controller, &SupplyController::readingChanged);
    rig.identify({20, 500, 200});
    EXPECT_FALSE(rig.controller.identified());
    EXPECT_TRUE(rig.controller.controlsShown());
    EXPECT_TRUE(identified.isEmpty());
    EXPECT_TRUE(readings.isEmpty());
    EXPECT_EQ(rig.prompts.unknownSupplies, 0);
}

TEST(Identification, AnUnknownCodeIsAnnouncedOnceAndGetsTheFallbackRow)
{
    Rig rig(kPort);
    QSignalSpy identified(&rig.controller, &SupplyController::supplyIdentified);
    QSignalSpy readings(&rig.controller, &SupplyController::readingChanged);
    rig.identify({7});
    EXPECT_EQ(rig.prompts.unknownSupplies, 1);
    ASSERT_EQ(identified.count(), 1);
    EXPECT_EQ(names(identified), (QStringList{QString::fromUtf8("Неизвестный"), QStringLiteral("-")}));

    rig.reply({7, 1000, 500});
    EXPECT_THAT(readingsOf(readings, Quantity::Voltage), ElementsAre(DoubleEq(10.0)));
    EXPECT_THAT(readingsOf(readings, Quantity::Current), ElementsAre(DoubleEq(5.0)));
    EXPECT_EQ(rig.prompts.unknownSupplies, 1);
}

TEST(Identification, ACodeOutsideTheTableKeepsTheModel)
{
    Rig rig(kPort);
    ASSERT_TRUE(rig.controller.identifySupply(10));
    const ModelProfile before = rig.controller.profile();
    EXPECT_FALSE(rig.controller.identifySupply(11));
    EXPECT_FALSE(rig.controller.identifySupply(-1));
    EXPECT_EQ(rig.controller.profile().modelName, before.modelName);
    EXPECT_DOUBLE_EQ(rig.controller.profile().voltageMax, before.voltageMax);
    EXPECT_EQ(rig.link().modelCode(), 10);
}

// The rules through the worker: a supply on its panel switch answers with its
// status alone, which keeps the port; one that falls silent is lost, its port
// left, and found again on it once it answers.
TEST(Identification, ThePanelSwitchAndASilentSupplyThroughTheWorker)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    supply.setPanelSwitch(true);
    Rig rig(supply.devicePath());
    QSignalSpy answered(&rig.controller, &SupplyController::statusAnswered);
    QSignalSpy lost(&rig.controller, &SupplyController::linkLost);
    ASSERT_TRUE(rig.waitUntil([&] { return answered.count() >= 3; }));
    EXPECT_FALSE(rig.controller.controlsShown());
    EXPECT_EQ(rig.controller.missesInRow(), 0);
    EXPECT_TRUE(lost.isEmpty());
    supply.setPanelSwitch(false);
    ASSERT_TRUE(rig.waitUntil([&] { return rig.controller.latest().has_value(); }));

    supply.setSilent(true);
    ASSERT_TRUE(rig.waitUntil([&] { return lost.count() >= 2; }));
    EXPECT_FALSE(rig.controller.identified());
    supply.setSilent(false);
    ASSERT_TRUE(rig.waitUntil([&] { return rig.controller.latest().has_value(); }));
    EXPECT_EQ(rig.controller.profile().modelName, "Quarel");
    EXPECT_EQ(rig.settings.lastPort(), supply.devicePath());
}
