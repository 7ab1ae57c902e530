#include "station/Bench.h"
#include "link/PortList.h"

#include "EventLoopWait.h"
#include "FreeTcpPort.h"
#include "SimulatedSupply.h"

#include <QTcpSocket>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

using namespace std::chrono_literals;

namespace {

SimulatedSupply::Options model(int code)
{
    SimulatedSupply::Options options;
    options.modelCode = code;
    return options;
}

// Three supplies of different models on three pseudo-terminals, one program.
class BenchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (auto& supply : supplies) {
            ASSERT_TRUE(supply->start());
        }
    }
    void TearDown() override { ::unsetenv(PortList::kOverrideVariable); }

    void startBench(const std::vector<std::string>& ports)
    {
        bench = std::make_unique<Bench>(ports);
        for (std::size_t i = 0; i < bench->size(); ++i) {
            ASSERT_TRUE(bench->station(i).settings().listPorts());
        }
        bench->start();
    }
    bool allLive() const
    {
        for (std::size_t i = 0; i < bench->size(); ++i) {
            if (!bench->station(i).controller().live()) {
                return false;
            }
        }
        return true;
    }
    std::string ask(const char* line)
    {
        client.write(line);
        spinUntil([&] { return client.canReadLine(); }, 5s);
        return client.readLine().trimmed().toStdString();
    }

    std::array<std::unique_ptr<SimulatedSupply>, 3> supplies{std::make_unique<SimulatedSupply>(model(1)),
        std::make_unique<SimulatedSupply>(model(2)), std::make_unique<SimulatedSupply>(model(3))};
    std::unique_ptr<Bench> bench;
    QTcpSocket client;
};

} // namespace

// Each supply is a channel in the order of the ports, commanded alone; one
// unplugged leaves the others going.
TEST_F(BenchTest, EachSupplyIsItsOwnChannelAndOneLostLeavesTheOthers)
{
    startBench({supplies[0]->devicePath(), supplies[1]->devicePath(), supplies[2]->devicePath()});
    const quint16 port = freeTcpPort();
    std::ostringstream messages;
    bench->startRemote({"127.0.0.1:" + std::to_string(port), {}}, messages);
    ASSERT_NE(bench->remote(), nullptr) << messages.str();
    ASSERT_TRUE(spinUntil([&] { return allLive(); }, 8s));
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(spinUntil([&] { return client.state() == QAbstractSocket::ConnectedState; }, 5s));

    for (const auto& [select, model] : {std::pair{"INST:NSEL 1;*IDN?\n", "Quarel"},
             std::pair{"INST:NSEL 2;*IDN?\n", "Brisna"}, std::pair{"INST:SEL CH3;*IDN?\n", "Tolvik"}}) {
        EXPECT_NE(ask(select).find(model), std::string::npos) << select;
    }
    for (auto& supply : supplies) {
        supply->clearFrames();
    }
    EXPECT_EQ(ask("SOUR2:VOLT 5;:OUTP2 ON;*OPC?\n"), "1");
    EXPECT_TRUE(supplies[1]->outputOn());
    EXPECT_EQ(supplies[1]->voltageRaw(), bench->station(1).link().voltageRaw());
    EXPECT_EQ(supplies[0]->commandCount() + supplies[2]->commandCount(), 0U);

    supplies[0]->vanish();
    ASSERT_TRUE(spinUntil([&] { return !bench->station(0).controller().live(); }, 5s));
    supplies[2]->clearFrames();
    EXPECT_EQ(ask("CURR 1.5;*OPC?;:MEAS2:VOLT?\n").substr(0, 2), "1;");
    EXPECT_EQ(supplies[2]->commandCount(), 1U);
    EXPECT_TRUE(bench->station(1).controller().live());
    EXPECT_TRUE(supplies[1]->outputOn());
}

// Hunting stations share the computer's ports: each takes one no other holds.
TEST_F(BenchTest, HuntingStationsTakeDifferentPorts)
{
    const std::string list = supplies[0]->devicePath() + ":" + supplies[1]->devicePath();
    ::setenv(PortList::kOverrideVariable, list.c_str(), 1);
    startBench({"Auto", "Auto"});
    ASSERT_TRUE(spinUntil([&] { return allLive(); }, 10s));
    EXPECT_NE(bench->station(0).link().currentPortName(), bench->station(1).link().currentPortName());
    EXPECT_NE(bench->station(0).controller().profile().modelName, bench->station(1).controller().profile().modelName);
}
