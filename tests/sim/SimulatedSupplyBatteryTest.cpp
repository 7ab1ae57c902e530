#include "SimCommandLine.h"
#include "SimConsole.h"
#include "SimTestPort.h"
#include "SimulatedSupply.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Model 1 (15.7 V, 63 A) at 12.6 V and 2.016 A, its output on, on three 2 Ah cells at 20 %.
SimulatedSupply::Options charging(double timeScale)
{
    SimulatedSupply::Options options;
    options.voltageRaw = 803;
    options.currentRaw = 32;
    options.outputOn = true;
    options.battery = BatteryPack::parse("li-ion:3s2Ah:20");
    options.timeScale = timeScale;
    return options;
}

Bytes answer(int voltageWord, int currentWord)
{
    return {129, static_cast<std::uint8_t>(voltageWord & 0xFF), static_cast<std::uint8_t>(voltageWord >> 8),
        static_cast<std::uint8_t>(currentWord), 0};
}

TEST(SimulatedSupplyBattery, ChargesInConstantCurrentOrVoltageAndCannotSink)
{
    SimulatedSupply supply(charging(1.0));
    ASSERT_TRUE(supply.start());
    const SimTestPort port(supply.devicePath());
    // 3 x 3.55 V open circuit + 2.016 A x 150 mohm = 10.95 V.
    EXPECT_EQ(port.poll(), answer(698, 32));
    supply.setSetpoints(690, 32); // 10.83 V: 0.18 V over the cells drives 1.22 A
    EXPECT_EQ(port.poll(), answer(690 + 1024, 19));
    supply.setSetpoints(600, 32); // under the cells: none flows, the cells are read
    EXPECT_EQ(port.poll(), answer(678 + 1024, 0));
}

TEST(SimulatedSupplyBattery, CountsTimeAndChargeInSimulatedSeconds)
{
    EXPECT_FALSE(SimulatedSupply().battery());
    const auto before = std::chrono::steady_clock::now();
    const SimulatedSupply supply(charging(500.0));
    std::this_thread::sleep_for(20ms);
    const std::optional<SimulatedSupply::BatteryStatus> status = supply.battery();
    const std::chrono::duration<double> real = std::chrono::steady_clock::now() - before;
    ASSERT_TRUE(status);
    EXPECT_GE(status->simulatedSeconds, 0.020 * 500.0);
    EXPECT_LE(status->simulatedSeconds, real.count() * 500.0);
    EXPECT_NEAR(status->ampereHours, 2.016 * status->simulatedSeconds / 3600, 1e-9);
}

TEST(SimCommandLine, ReadsTheBatteryAndItsTimeScale)
{
    const auto parsed = SimCommandLine::parse({"--battery", "nimh:8s2.5Ah:90", "--time-scale=600"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.battery, BatteryPack::parse("nimh:8s2.5Ah:90"));
    EXPECT_DOUBLE_EQ(parsed.options.timeScale, 600.0);
    for (const char* scale : {"0", "10001", "nan", "-2"}) {
        EXPECT_EQ(
            SimCommandLine::parse({"--time-scale", scale}).error.rfind("bad value for --time-scale, expected", 0), 0U)
            << scale;
    }
    EXPECT_NE(SimCommandLine::parse({"--battery", "nimh:8s"}).error.find("li-ion:1s2.0Ah:20"), std::string::npos);
}

TEST(SimConsole, ReportsTheBatteryAndSetsItsLeak)
{
    SimulatedSupply plain;
    EXPECT_EQ(SimConsole(plain).execute("battery").status, SimConsole::Status::Failed);
    SimulatedSupply::Options options = charging(10000.0);
    options.outputOn = false;
    SimulatedSupply supply(options);
    SimConsole console(supply);
    const std::string line = console.execute("battery").message;
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(soc 20\.0 %, ocv 10\.650 V, 0\.0000 Ah, \d+\.\d s)"))) << line;
    for (const char* bad : {"battery leak", "battery leak -1", "battery leak 1001", "battery drain 1"}) {
        EXPECT_EQ(console.execute(bad).status, SimConsole::Status::Failed) << bad;
    }
    EXPECT_EQ(console.execute("battery leak 0.5").status, SimConsole::Status::Done);
    std::this_thread::sleep_for(5ms);
    EXPECT_LT(supply.battery()->stateOfCharge, 0.2);
}

} // namespace
