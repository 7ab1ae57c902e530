#include "SimulatedSupply.h"
#include "SimTestPort.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <regex>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Kind = SimulatedSupply::FrameKind;

// How long a silent line is watched: far beyond the turnaround of an answer.
constexpr auto kQuietPeriod = 150ms;

Bytes word(int value)
{
    return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)};
}

Bytes frame(std::uint8_t first, int raw)
{
    const Bytes data = word(raw);
    return {first, data[0], data[1]};
}

class SimulatedSupplyTest : public ::testing::Test {
protected:
    void startWith(SimulatedSupply::Options options)
    {
        supply_ = std::make_unique<SimulatedSupply>(std::move(options));
        ASSERT_TRUE(supply_->start());
        port_ = std::make_unique<SimTestPort>(supply_->devicePath());
        ASSERT_TRUE(port_->isOpen());
    }

    void SetUp() override { startWith({}); }

    std::unique_ptr<SimulatedSupply> supply_;
    std::unique_ptr<SimTestPort> port_;
};

TEST_F(SimulatedSupplyTest, OutputOffAnswersSetpointsAtLineSpeed)
{
    const auto sent = std::chrono::steady_clock::now();
    const Bytes answer = port_->poll();
    const auto took = std::chrono::steady_clock::now() - sent;
    EXPECT_EQ(answer, (Bytes{1, 0xFC, 0x02, 0xC8, 0x00}));
    EXPECT_GE(took, 40ms); // turnaround plus four byte times
    ASSERT_TRUE(supply_->waitForPolls(1, 1s));
    EXPECT_EQ(supply_->frames().front().kind, Kind::Poll);
}

TEST_F(SimulatedSupplyTest, OutputOnReportsTheLoad)
{
    supply_->setOutput(true);
    EXPECT_EQ(port_->poll(), (Bytes{129, 0xFC, 0x06, 95, 0x00})); // constant voltage: 764 + 1024
    supply_->setLoad(0.1);
    EXPECT_EQ(port_->poll(), (Bytes{129, 80, 0x00, 200, 0x00})); // constant current: 1.26 V
}

TEST_F(SimulatedSupplyTest, ToggleFrameSwitchesTheOutputAndStoresTheVoltage)
{
    std::mutex linesMutex;
    std::vector<std::string> lines;
    supply_->setLogSink([&](const std::string& line) {
        std::lock_guard lock(linesMutex);
        lines.push_back(line);
    });
    port_->send(frame(64 + 128 + 1, 500));
    ASSERT_TRUE(supply_->waitForCommandFrames(1, 1s));
    EXPECT_TRUE(supply_->outputOn());
    EXPECT_EQ(supply_->voltageRaw(), 500);
    EXPECT_EQ(port_->poll().front(), 129);
    const std::regex expected(R"(\d\d:\d\d:\d\d\.\d{3} set-voltage\+toggle code=1 raw=500 \(output on\))");
    std::lock_guard lock(linesMutex);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(std::regex_match(lines.front(), expected)) << lines.front();
}

TEST_F(SimulatedSupplyTest, DataBytesEqualToThePollByteAreData)
{
    port_->send({64 + 1, 100, 1, 1, 100, 0});
    ASSERT_TRUE(supply_->waitForCommandFrames(2, 1s));
    EXPECT_EQ(supply_->voltageRaw(), 356);
    EXPECT_EQ(supply_->currentRaw(), 100);
    EXPECT_EQ(supply_->pollCount(), 0u);
    EXPECT_EQ(port_->poll().size(), 5u);
}

TEST_F(SimulatedSupplyTest, FramesForAnotherModelAreIgnored)
{
    port_->send(frame(64 + 3, 500));
    ASSERT_EQ(port_->poll().size(), 5u); // the answer proves the frame before it was handled
    EXPECT_EQ(supply_->voltageRaw(), 764);
    EXPECT_TRUE(supply_->commandFrames().empty());
    const auto frames = supply_->frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].kind, Kind::Ignored);
    EXPECT_EQ(frames[0].code, 3);
    EXPECT_EQ(frames[0].raw, 500);
}

TEST_F(SimulatedSupplyTest, SilentSupplyAnswersNothingAndComesBackWithOutputOff)
{
    supply_->setOutput(true);
    supply_->setSilent(true);
    port_->send({100});
    EXPECT_TRUE(port_->receive(1, kQuietPeriod).empty());
    EXPECT_TRUE(supply_->waitForPolls(1, 1s));
    supply_->setSilent(false);
    EXPECT_FALSE(supply_->outputOn());
    EXPECT_EQ(port_->poll().front(), 1);
}

TEST_F(SimulatedSupplyTest, OutputSwitchesOffWhenThePollsStop)
{
    SimulatedSupply::Options options;
    // Wide margins: an answer alone takes some 50 ms on the line, more on a busy machine.
    options.linkWatchdog = 400ms;
    startWith(options);
    supply_->setOutput(true);
    EXPECT_EQ(port_->poll().front(), 129);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(port_->poll().front(), 129);
    std::this_thread::sleep_for(800ms);
    EXPECT_EQ(port_->poll().front(), 1);
    EXPECT_FALSE(supply_->outputOn());
}

TEST_F(SimulatedSupplyTest, PanelSwitchAnswersTheStatusByteAloneAndIgnoresCommands)
{
    supply_->setPanelSwitch(true);
    port_->send(frame(1, 50));
    EXPECT_EQ(port_->poll(1), (Bytes{129}));
    EXPECT_TRUE(port_->receive(1, kQuietPeriod).empty());
    EXPECT_EQ(supply_->currentRaw(), 200);
}

TEST_F(SimulatedSupplyTest, GarbageModeAnswersOneToSixBytes)
{
    supply_->setGarbage(true);
    port_->send({100});
    const Bytes answer = port_->receive(7, kQuietPeriod);
    EXPECT_GE(answer.size(), 1u);
    EXPECT_LE(answer.size(), 6u);
}

TEST_F(SimulatedSupplyTest, ClientMayCloseAndReopenThePort)
{
    EXPECT_EQ(port_->poll().size(), 5u);
    port_.reset();
    port_ = std::make_unique<SimTestPort>(supply_->devicePath());
    ASSERT_TRUE(port_->isOpen());
    EXPECT_EQ(port_->poll().size(), 5u);
}

TEST_F(SimulatedSupplyTest, VanishRemovesTheDeviceAndStartPlugsItBackIn)
{
    char directory[] = "/tmp/supplysim-XXXXXX";
    ASSERT_NE(::mkdtemp(directory), nullptr);
    const std::string link = std::string(directory) + "/ttySIM";
    startWith({.linkPath = link});
    EXPECT_EQ(supply_->devicePath(), link);
    const std::string slave = supply_->slavePath();

    supply_->vanish();
    EXPECT_NE(::access(link.c_str(), F_OK), 0);
    EXPECT_FALSE(SimTestPort(slave).isOpen());
    EXPECT_TRUE(port_->poll().empty());

    ASSERT_TRUE(supply_->start());
    port_ = std::make_unique<SimTestPort>(link);
    EXPECT_EQ(port_->poll().size(), 5u);
    supply_.reset();
    EXPECT_NE(::access(link.c_str(), F_OK), 0);
    ::rmdir(directory);
}

} // namespace
