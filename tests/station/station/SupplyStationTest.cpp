#include "link/PortList.h"
#include "station/Bench.h"

#include "EventLoopWait.h"
#include "FreeTcpPort.h"
#include "SimulatedSupply.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

using namespace std::chrono_literals;

namespace {

// The station on the simulated supply, its remote server on a free port.
class SupplyStationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(supply.start());
        ::setenv(PortList::kOverrideVariable, supply.devicePath().c_str(), 1);
        bench = std::make_unique<Bench>(std::vector<std::string>{""});
        station = &bench->station(0);
        ASSERT_TRUE(station->settings().listPorts());
    }
    void TearDown() override { ::unsetenv(PortList::kOverrideVariable); }

    // Starts the station and connects a client once the supply is live.
    void startWithClient()
    {
        port = freeTcpPort();
        std::ostringstream messages;
        bench->start();
        bench->startRemote({"127.0.0.1:" + std::to_string(port), {}}, messages);
        ASSERT_NE(bench->remote(), nullptr) << messages.str();
        ASSERT_TRUE(spinUntil([&] { return station->controller().live(); }, 5s));
        connectClient(client);
    }
    void connectClient(QTcpSocket& socket) const
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        ASSERT_TRUE(spinUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 5s));
    }
    std::string ask(const char* line) { return ask(client, line); }
    static std::string ask(QTcpSocket& on, const char* line)
    {
        on.write(line);
        spinUntil([&] { return on.canReadLine(); }, 5s);
        return on.readLine().trimmed().toStdString();
    }

    SimulatedSupply supply;
    std::unique_ptr<Bench> bench;
    SupplyStation* station = nullptr;
    quint16 port = 0;
    QTcpSocket client;
};

} // namespace

// The whole supply side with no window and no display: the controller finds
// the simulated supply, a remote client sets it, and the readings model
// records what it measures.
TEST_F(SupplyStationTest, RunsTheSupplySideWithoutADisplay)
{
    QTemporaryDir directory;
    const QString csv = directory.filePath(QStringLiteral("run.csv"));
    ASSERT_TRUE(station->readings().startRecording(csv, CsvRecorder::Mode::Overwrite));
    startWithClient();
    client.write("VOLT 5.0\n");
    ASSERT_TRUE(spinUntil([&] { return supply.commandCount() >= 1; }, 5s));
    EXPECT_EQ(supply.voltageRaw(), station->link().voltageRaw());
    ASSERT_TRUE(station->controller().heldVoltage().has_value());
    EXPECT_DOUBLE_EQ(*station->controller().heldVoltage(), 4.9926); // step 318 of 15.7 V

    const std::size_t before = station->readings().history().size();
    ASSERT_TRUE(spinUntil([&] { return station->readings().history().size() >= before + 2; }, 5s));
    station->shutDown();
    QFile record(csv);
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    EXPECT_GE(record.readAll().count('\n'), 3) << "a header and a line per reading";
}

// *OPC? answers once the frames before it are on the line and the output is
// where the supply says it is, and not a poll cycle later.
TEST_F(SupplyStationTest, OperationCompleteMeansOnTheLineAndReported)
{
    startWithClient();
    supply.clearFrames();
    EXPECT_EQ(ask("VOLT 5.0;*OPC?\n"), "1");
    EXPECT_EQ(supply.commandCount(), 1U);
    EXPECT_LE(supply.pollCount(), 3U);
    EXPECT_EQ(ask("OUTP ON;*OPC?;OUTP:MODE?;OUTP?\n"), "1;CV;1");
    EXPECT_TRUE(supply.outputOn());
    EXPECT_EQ(ask("OUTP OFF;*WAI;OUTP:MODE?;SYST:ERR?\n"), "OFF;0,\"No error\"");
    station->shutDown();
}

// A client's list runs as its program: to its end with the output off, or
// until ABORt; another client's setpoint pauses it, its owner's does not. A
// protection level below the reading trips until cleared.
TEST_F(SupplyStationTest, ListsRunAsTheClientsProgramAndProtectionTrips)
{
    startWithClient();
    EXPECT_EQ(ask("LIST:VOLT 2,3;CURR 2;DWEL 1,1;:INIT;:PROG:STAT?;STEP?\n"), "RUNNING;1");
    ASSERT_TRUE(spinUntil([&] { return !station->programs().active(); }, 6s));
    EXPECT_EQ(ask("PROG:STAT?;STEP?;REAS?;:OUTP?\n"), "IDLE;0;\"done\";0");
    ASSERT_TRUE(spinUntil([&] { return !supply.outputOn(); }, 2s));

    EXPECT_EQ(ask("LIST:DWEL 10;:INIT;:PROG:STAT?;:ABOR;:PROG:STAT?;:OUTP?\n"), "RUNNING;IDLE;0");

    QTcpSocket other;
    connectClient(other);
    EXPECT_EQ(ask("INIT;:VOLT 2.5;:PROG:STAT?\n"), "RUNNING");
    EXPECT_EQ(ask(other, "VOLT 2;:PROG:STAT?;REAS?\n"), "PAUSED;\"ustavka ili vykhod izmeneny udalennym klientom\"");
    ask("ABOR;*OPC?\n");

    ask("VOLT 3;CURR 2;OUTP ON;*OPC?\n");
    ASSERT_TRUE(
        spinUntil([&] { return station->controller().latest() && station->controller().latest()->volts > 2.5; }, 3s));
    ask("VOLT:PROT 2;PROT:STAT ON;*OPC?\n");
    ASSERT_TRUE(spinUntil([&] { return station->protection().tripped(); }, 3s));
    EXPECT_EQ(ask("VOLT:PROT:TRIP?;:OUTP?;:STAT:QUES:COND?\n"), "1;0;1");
    EXPECT_EQ(ask("OUTP:PROT:CLE;:VOLT:PROT:TRIP?;:STAT:QUES:COND?\n"), "0;0");
    station->shutDown();
}
