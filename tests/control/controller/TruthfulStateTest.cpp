#include "ControllerRig.h"
#include "MemorySerialPort.h"
#include "SimulatedSupply.h"
#include "engine/ProgramClock.h"
#include "engine/ProgramEngine.h"
#include "engine/ProtectionWatch.h"
#include "outlook/SupplyOutlook.h"
#include "remote/ScpiSession.h"
#include "remote/SupplyInstrument.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

using namespace std::chrono_literals;

namespace {

std::unique_ptr<SimulatedSupply> startSupply(const SimulatedSupply::Options& options)
{
    auto supply = std::make_unique<SimulatedSupply>(options);
    EXPECT_TRUE(supply->start());
    return supply;
}

// The supply's own answers on a session of the remote interface.
struct Remote {
    explicit Remote(SupplyController& controller)
        : protection(controller, clock)
        , programs(controller, protection, std::chrono::milliseconds(400), clock)
        , outlook(controller, programs, protection)
        , instrument(controller, programs, protection, outlook)
    {
    }
    std::string ask(std::string_view line) { return session.handleLine(line).text; }

    ProgramClock clock;
    ProtectionWatch protection;
    ProgramEngine programs;
    SupplyOutlook outlook;
    SupplyInstrument instrument;
    ScpiSession session{instrument, "test"};
};

} // namespace

// Found at 48.1 V / 3.1 A with its output on: the reading is the setpoint
// only of what regulates, and switching off says what it had to send.
TEST(TruthfulState, ASupplyFoundWithItsOutputOnKeepsItsUnknownSetpointUnknown)
{
    struct Case {
        double ohms;
        bool voltageKnown;
        int rawSentWithTheSwitch;
    };
    const std::vector<Case> cases{
        {4.0, false, 199}, // current regulation at 12.6 V: the voltage is not known
        {100.0, true, 764}, // voltage regulation: the current is not known
    };
    for (const Case& c : cases) {
        SimulatedSupply::Options options;
        options.modelCode = 3;
        options.outputOn = true;
        options.loadOhms = c.ohms;
        auto supply = startSupply(options);
        Rig rig(supply->devicePath());
        ASSERT_TRUE(rig.waitUntil([&] { return rig.controller.latest().has_value(); }));
        Remote remote(rig.controller);
        EXPECT_EQ(rig.controller.heldVoltage().has_value(), c.voltageKnown) << c.ohms;
        EXPECT_EQ(rig.controller.heldCurrent().has_value(), !c.voltageKnown) << c.ohms;
        EXPECT_EQ(remote.ask(c.voltageKnown ? "CURR?" : "VOLT?"), "") << c.ohms;
        EXPECT_EQ(remote.ask("SYST:ERR?"), "-200,\"Execution error;setpoint not known\"") << c.ohms;

        QSignalSpy told(&rig.controller, &SupplyController::unknownVoltageSent);
        supply->clearFrames();
        rig.controller.requestOutput(false);
        ASSERT_TRUE(rig.waitUntil([&] { return !supply->outputOn(); })) << c.ohms;
        ASSERT_FALSE(supply->commandFrames().empty());
        EXPECT_EQ(supply->commandFrames().front().raw, c.rawSentWithTheSwitch) << c.ohms;
        EXPECT_EQ(told.count(), c.voltageKnown ? 0 : 1) << c.ohms;
        // With the output off the words are the setpoints: nothing is unknown.
        ASSERT_TRUE(rig.waitUntil([&] { return !rig.controller.latest()->outputOn; })) << c.ohms;
        EXPECT_TRUE(rig.controller.heldVoltage().has_value()) << c.ohms;
        EXPECT_EQ(remote.ask("MEAS:CURR?;:CURR?"), "0.000;3.140") << c.ohms; // raw 200 of 15.7 A
    }
}

// A remote setpoint is the supply's step at or below the value, as the
// window's edits send it, and is answered as the supply holds it.
TEST(TruthfulState, RemoteSetpointsAreTheStepAtOrBelowAndAnsweredAsHeld)
{
    SimulatedSupply::Options options;
    options.modelCode = 3; // 63 V, 15.7 A
    auto supply = startSupply(options);
    Rig rig(supply->devicePath());
    ASSERT_TRUE(rig.waitUntil([&] { return rig.controller.live(); }));
    Remote remote(rig.controller);
    EXPECT_EQ(remote.ask("VOLT 1.0;VOLT?;CURR 750mA;CURR?"), "0.945;0.7379");
    EXPECT_EQ(remote.ask("VOLT MIN;VOLT?;VOLT? MIN"), "0.441;0.441");
    EXPECT_EQ(remote.ask("CURR MAX;CURR?;CURR? MAX"), "15.700;15.700");
    EXPECT_EQ(remote.ask("VOLT 0.5;SYST:ERR?"), "0,\"No error\"");
    ASSERT_TRUE(rig.waitUntil([&] { return rig.controller.commandsSettled(); }));
    EXPECT_EQ(supply->voltageRaw(), 7);
}

// Readings that stop coming are not passed off as the present state.
TEST(TruthfulState, ReadingsThatStopComingGoStale)
{
    for (const bool panel : {true, false}) {
        auto supply = startSupply({});
        Rig rig(supply->devicePath());
        ASSERT_TRUE(rig.waitUntil([&] { return rig.controller.latest().has_value(); }));
        Remote remote(rig.controller);
        EXPECT_EQ(remote.ask("MEAS:VOLT?"), "0.000");
        QSignalSpy stale(&rig.controller, &SupplyController::measurementsStale);
        QSignalSpy lost(&rig.controller, &SupplyController::linkLost);
        panel ? supply->setPanelSwitch(true) : supply->setGarbage(true);
        // On a loaded machine garbage may cost the link first, and a sanitized build's
        // poll cycle stretches: no reading passes for the present either way.
        ASSERT_TRUE(rig.waitUntil([&] { return stale.count() >= 1 || lost.count() >= 1; }, 10s)) << panel;
        EXPECT_TRUE(rig.controller.measurementStale());
        EXPECT_EQ(remote.ask("MEAS:VOLT?"), "");
        const std::string error = remote.ask("SYST:ERR?");
        EXPECT_TRUE(lost.count() >= 1 || error == "-230,\"Data corrupt or stale\"") << error;
    }
}

TEST(TruthfulState, ACommandTheSilentSupplyNeverAnsweredAfterIsToldLost)
{
    for (const bool silentAtOnce : {true, false}) {
        auto supply = startSupply({});
        Rig rig(supply->devicePath());
        ASSERT_TRUE(rig.waitUntil([&] { return rig.controller.live(); }));
        QSignalSpy dropped(&rig.controller, &SupplyController::commandsDropped);
        rig.controller.commandVoltage(5.0);
        const quint64 ticket = rig.controller.lastTicket(Quantity::Voltage);
        if (!silentAtOnce) {
            ASSERT_TRUE(rig.waitUntil([&] { return rig.controller.commandsSettled(); }));
        }
        supply->setSilent(true);
        ASSERT_TRUE(rig.waitUntil([&] { return !rig.controller.identified(); }));
        if (silentAtOnce) {
            ASSERT_EQ(dropped.count(), 1);
            EXPECT_EQ(dropped.front().at(0).value<Quantity>(), Quantity::Voltage);
            EXPECT_EQ(dropped.front().at(2).toULongLong(), ticket);
        } else {
            EXPECT_EQ(dropped.count(), 0);
        }
    }
}

// The answers read first after a lost link may predate a frame sent on its
// way back, the second of them too when an answer came late: taken up as
// setpoints they would undo it, and the next switch would send them.
TEST(TruthfulState, AReturningSupplyIsTakenUpOnlyWithAnswersAfterTheFramesSent)
{
    Rig rig;
    rig.identify({1, 764, 200});
    rig.controller.setVoltage(10.0);
    const std::int32_t sent = rig.link().voltageRaw();
    rig.reply({0});
    rig.link().takeQueued(); // the worker sends it
    rig.reply({1, 764, 200});
    rig.reply({1, 764, 200});
    EXPECT_FALSE(rig.controller.identified());
    rig.reply({1, sent, 200});
    EXPECT_TRUE(rig.controller.identified());
    EXPECT_EQ(rig.link().voltageRaw(), sent);
    ASSERT_TRUE(rig.controller.heldVoltage().has_value());
    EXPECT_NEAR(*rig.controller.heldVoltage(), 10.0, 0.05);
}

// A stray byte waiting when the port opens reads as a status: it must not
// name the model, known code or not.
TEST(TruthfulState, AStrayByteBeforeTheFirstAnswerNamesNoModel)
{
    for (const std::uint8_t stray : {std::uint8_t{3}, std::uint8_t{8}}) {
        auto line = std::make_shared<MemorySerialPort::Line>();
        const MemorySerialPort::Bytes answer{1, 0xF4, 0x01, 200, 0};
        MemorySerialPort::Bytes first{stray};
        first.insert(first.end(), answer.begin(), answer.end());
        line->answers = {first};
        line->answerer = nullptr;
        for (int i = 0; i < 20; ++i) {
            line->answers.push_back(answer);
        }
        Rig rig("A", MemorySerialPort::factory(line));
        QSignalSpy identified(&rig.controller, &SupplyController::supplyIdentified);
        ASSERT_TRUE(rig.waitUntil([&] { return rig.controller.live(); })) << int{stray};
        ASSERT_EQ(identified.count(), 1);
        EXPECT_EQ(identified.front().at(1).toString(), QStringLiteral("Quarel"));
        EXPECT_EQ(rig.prompts.unknownSupplies, 0);
    }
}
