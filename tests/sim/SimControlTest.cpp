#include "SimCommandLine.h"
#include "SimConsole.h"

#include <gtest/gtest.h>

namespace {

using Status = SimConsole::Status;

TEST(SimCommandLine, ReadsEveryOption)
{
    const auto parsed = SimCommandLine::parse({"--model", "11", "--voltage", "1000", "--current", "0", "--load", "0.25",
        "--output", "on", "--link", "/tmp/x", "--log", "sim.log"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.modelCode, 11);
    EXPECT_EQ(parsed.options.voltageRaw, 1000);
    EXPECT_EQ(parsed.options.currentRaw, 0);
    EXPECT_DOUBLE_EQ(parsed.options.loadOhms, 0.25);
    EXPECT_TRUE(parsed.options.outputOn);
    EXPECT_EQ(parsed.options.linkPath, "/tmp/x");
    EXPECT_EQ(parsed.logFile, "sim.log");
    EXPECT_FALSE(parsed.options.recordFrames); // a long run must not grow without bound
}

TEST(SimCommandLine, RejectsValuesOutOfRangeOrMalformed)
{
    for (const std::vector<std::string>& arguments :
        std::vector<std::vector<std::string>>{{"--model", "128"}, {"--voltage", "-1"}, {"--current", "20x"},
            {"--load", "0"}, {"--load", "inf"}, {"--output", "yes"}, {"--model"}, {"--bogus", "1"}, {"stray"}}) {
        EXPECT_NE(SimCommandLine::parse(arguments).error, "") << arguments.front();
    }
    EXPECT_TRUE(SimCommandLine::parse({"--help"}).help);
}

TEST(SimCommandLine, TakesAValueAfterAnEqualsSignAndNamesTheFaultyOption)
{
    const auto parsed = SimCommandLine::parse({"--model=3", "--output=on", "--version", "--load", "0.5"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.modelCode, 3);
    EXPECT_TRUE(parsed.options.outputOn);
    EXPECT_DOUBLE_EQ(parsed.options.loadOhms, 0.5);
    EXPECT_TRUE(parsed.version);
    EXPECT_EQ(SimCommandLine::parse({"--model"}).error, "missing value for --model");
    EXPECT_EQ(
        SimCommandLine::parse({"--model=x"}).error, "bad value for --model, expected a whole number from 0 to 127");
    EXPECT_EQ(SimCommandLine::parse({"--model", "3", "--bogus"}).error, "unknown option --bogus");
    EXPECT_EQ(SimCommandLine::parse({"--model", "3", "stray", "--output", "on"}).error, "unexpected argument stray");
}

TEST(SimConsole, AppliesCommandsToTheSupply)
{
    SimulatedSupply supply;
    SimConsole console(supply);
    EXPECT_EQ(console.execute("setpoints 500 100").status, Status::Done);
    EXPECT_EQ(console.execute("  model 20 ").status, Status::Done);
    EXPECT_EQ(console.execute("output on").status, Status::Done);
    EXPECT_EQ(supply.voltageRaw(), 500);
    EXPECT_EQ(supply.currentRaw(), 100);
    EXPECT_EQ(supply.modelCode(), 20);
    EXPECT_TRUE(supply.outputOn());
    console.execute("silent");
    console.execute("answer");
    EXPECT_FALSE(supply.outputOn());
    EXPECT_EQ(console.execute("").status, Status::Done);
    EXPECT_EQ(console.execute("quit").status, Status::Quit);
}

TEST(SimConsole, RefusesMalformedCommandsWithoutChangingAnything)
{
    SimulatedSupply supply;
    SimConsole console(supply);
    for (const char* line :
        {"setpoints 500", "setpoints 500 1001", "model 128", "load -1", "panel maybe", "quit now", "reboot"}) {
        const SimConsole::Result result = console.execute(line);
        EXPECT_EQ(result.status, Status::Failed) << line;
        EXPECT_FALSE(result.message.empty()) << line;
    }
    EXPECT_EQ(supply.voltageRaw(), 764);
    EXPECT_EQ(supply.modelCode(), 1);
}

} // namespace
