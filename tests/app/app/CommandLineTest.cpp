#include "DialogHarness.h"

#include "SimulatedSupply.h"
#include "app/CommandLine.h"
#include "app/PortPlan.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Action = CommandLine::Action;

TEST(CommandLine, RunsOnTheGivenPortAndLetsQtsOptionsThrough)
{
    EXPECT_EQ(CommandLine::parse({"tendrel-controller"}).action, Action::Run);
    EXPECT_TRUE(CommandLine::parse({"tendrel-controller"}).ports.empty());
    const auto parsed = CommandLine::parse(
        {"/usr/bin/tendrel-controller", "-platform", "offscreen", "--port", "pts/3", "-reverse", "-style=Fusion"});
    EXPECT_EQ(parsed.action, Action::Run);
    EXPECT_EQ(parsed.ports, std::vector<std::string>{"pts/3"});
    const auto bench = CommandLine::parse(
        {"tc", "--headless", "--port=/dev/ttyUSB1", "--port", "Auto", "--port", "auto", "--output-at-exit", "off"});
    ASSERT_EQ(bench.action, Action::Run) << bench.message;
    EXPECT_EQ(bench.ports, (std::vector<std::string>{"/dev/ttyUSB1", "Auto", "auto"}));
    EXPECT_TRUE(bench.headless);
    EXPECT_EQ(bench.switchOffAtExit, true);
    EXPECT_EQ(CommandLine::parse({"tc", "--output-at-exit=leave"}).switchOffAtExit, false);
    EXPECT_EQ(CommandLine::parse({"tc"}).switchOffAtExit, std::nullopt);
}

TEST(CommandLine, HelpAndVersionPrintAndEndWell)
{
    EXPECT_EQ(CommandLine::parse({"tendrel-controller", "-h"}).action, Action::Help);
    const auto help = CommandLine::parse({"/usr/bin/tendrel-controller", "--help"});
    ASSERT_EQ(help.action, Action::Help);
    EXPECT_EQ(help.message.rfind("Usage: tendrel-controller [OPTION]...\n", 0), 0U);
    EXPECT_NE(help.message.find("--port DEVICE"), std::string::npos);
    EXPECT_EQ(help.message.find("qwindowgeometry"), std::string::npos);

    const auto version = CommandLine::parse({"tendrel-controller", "--version"});
    ASSERT_EQ(version.action, Action::Version);
    EXPECT_EQ(version.message.rfind("tendrel-controller 0.", 0), 0U);
}

TEST(CommandLine, RefusesWhatItDoesNotKnowWithCodeTwo)
{
    for (const QStringList& arguments : std::vector<QStringList>{{"tc", "--bogus"}, {"tc", "-x"}, {"tc", "--port"},
             {"tc", "--port="}, {"tc", "ttyUSB0"}, {"tc", "--help=yes"}, {"tc", "--port", "a", "--port="},
             {"tc", "--port", "pts/1", "--port", "pts/1"}, {"tc", "--port", "a", "--port", "b", "--program", "p.json"},
             {"tc", "--headless", "--chart"}, {"tc", "--output-at-exit", "on"}}) {
        const auto parsed = CommandLine::parse(arguments);
        EXPECT_EQ(parsed.action, Action::Refuse) << arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.message.rfind("tc: ", 0), 0U) << parsed.message;
        EXPECT_NE(parsed.message.find("Try 'tc --help'."), std::string::npos);
    }
    EXPECT_NE(CommandLine::parse({"tc", "--bogus"}).message.find("bogus"), std::string::npos);
}

// Two windows can drive two supplies: neither changes the port the settings name.
TEST(CommandLine, AGivenPortIsTheOnlyOneTriedAndTheSettingsKeepTheirPorts)
{
    SimulatedSupply supply;
    ASSERT_TRUE(supply.start());
    const std::string settings = "[COM-Port]\nUsePort=ttyS9\nLastPort=ttyS8\n";
    DialogHarness window({"ttyS9", "ttyS8"}, {{}, {}, settings},
        [&](ControllerDialog& dialog) { dialog.station().settings().usePortForThisRun(supply.devicePath()); });
    EXPECT_EQ(window.link().portNames(), std::vector<std::string>{supply.devicePath()});
    ASSERT_TRUE(DialogHarness::waitUntil([&] { return window.controller().controlsShown(); }, 3s));
    window.dialog().reject();
    EXPECT_EQ(window.settingsBytes().rfind(settings, 0), 0U) << window.settingsBytes();
}

TEST(PortPlan, TheCommandLineWinsThenTheSettingsListThenOneSupplyAsAlways)
{
    struct Case {
        std::vector<std::string> commandLine;
        std::string settings;
        std::vector<std::string> ports;
    };
    for (const Case& c : std::vector<Case>{{{"ttyUSB0", "auto"}, "ttyS1", {"ttyUSB0", "Auto"}},
             {{}, " ttyUSB0,  AUTO ttyACM0 ", {"ttyUSB0", "Auto", "ttyACM0"}}, {{}, " , ", {""}}, {{}, "", {""}}}) {
        EXPECT_EQ(PortPlan::resolve(c.commandLine, c.settings), c.ports) << c.settings;
    }
}

TEST(PortPlan, SeveralSuppliesRecordEachToAFileOfItsOwn)
{
    EXPECT_EQ(PortPlan::recordingPath("/tmp/run.csv", "/dev/ttyUSB0", 0, 1), "/tmp/run.csv");
    EXPECT_EQ(PortPlan::recordingPath("/tmp/run.csv", "/dev/ttyUSB0", 0, 2), "/tmp/run-ttyUSB0.csv");
    EXPECT_EQ(PortPlan::recordingPath("run.v1.csv", "Auto", 1, 2), "run.v1-supply2.csv");
    EXPECT_EQ(PortPlan::recordingPath("log", "ttyS0", 1, 2), "log-ttyS0");
}
