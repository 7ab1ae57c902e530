#include "remote/ScpiServer.h"
#include "FakeInstrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>

namespace {

constexpr int kTimeoutMs = 10000;

// Runs the event loop, sleeping only while nothing happens, until the condition holds.
bool waitFor(const std::function<bool()>& condition)
{
    QTimer wake;
    wake.start(10);
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > kTimeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A client on this thread; every wait runs the event loop, and so the server.
class TestClient {
public:
    explicit TestClient(quint16 port) { socket.connectToHost(QHostAddress::LocalHost, port); }

    bool connected() const
    {
        return waitFor([this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }
    void send(const QByteArray& bytes) { socket.write(bytes); }
    std::string ask(const std::string& line)
    {
        send(QByteArray::fromStdString(line + "\n"));
        if (!waitFor([this] { return socket.canReadLine(); })) {
            return "(no answer)";
        }
        return socket.readLine().trimmed().toStdString();
    }
    bool closedByServer() const
    {
        return waitFor([this] { return socket.state() == QAbstractSocket::UnconnectedState; });
    }

    QTcpSocket socket;
};

class ScpiServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(ListenAddress(QHostAddress(QHostAddress::LocalHost), 0))) << server.errorMessage();
        QObject::connect(&server, &ScpiServer::clientCountChanged, [this](int count) { counts.push_back(count); });
    }

    std::unique_ptr<TestClient> connect()
    {
        auto client = std::make_unique<TestClient>(server.serverPort());
        EXPECT_TRUE(client->connected());
        return client;
    }
    bool clientsAre(int count)
    {
        return waitFor([&] { return server.clientCount() == count; });
    }

    FakeInstrument supply;
    ScpiServer server{supply, "1.2.3"};
    std::vector<int> counts;
};

TEST_F(ScpiServerTest, ServesEachClientItsOwnSession)
{
    auto first = connect();
    EXPECT_EQ(first->ask("*IDN?"), "Tendrel Electronics,Brisna,0,1.2.3");
    first->send("VOLT 5\r\nFOO\n");
    auto second = connect();
    EXPECT_EQ(second->ask("VOLT?;SYST:ERR?"), "5.000;0,\"No error\"");
    second->send("OUTP ON\n");
    EXPECT_EQ(first->ask("OUTP?;SYST:ERR?"), "1;-113,\"Undefined header\"");
    EXPECT_EQ(supply.toggles, 1);

    first->socket.abort();
    ASSERT_TRUE(clientsAre(1));
    server.close();
    EXPECT_TRUE(second->closedByServer());
    EXPECT_EQ(counts, (std::vector<int>{1, 2, 1, 0}));
}

TEST_F(ScpiServerTest, ALostCommandIsToldToItsSenderAloneAndAGuessedSetpointToAll)
{
    auto sender = connect();
    auto bystander = connect();
    EXPECT_EQ(bystander->ask("VOLT 5;*OPC?"), "1");
    EXPECT_EQ(sender->ask("VOLT 6;OUTP ON;*OPC?"), "1");
    server.commandsDropped(Quantity::Voltage, 2, 3);
    EXPECT_EQ(sender->ask("SYST:ERR?"), "-200,\"Execution error;link lost, command not sent\"");
    EXPECT_EQ(bystander->ask("SYST:ERR?"), "0,\"No error\"");

    server.unknownSetpointSent(7.05);
    const std::string guessed = "1,\"Voltage setpoint was not known;sent 7.050 V with the output switch\"";
    EXPECT_EQ(sender->ask("SYST:ERR?"), guessed);
    EXPECT_EQ(bystander->ask("SYST:ERR?"), guessed);
    server.unknownSetpointSent(-0.0);
    EXPECT_EQ(sender->ask("*CLS;SYST:ERR?"), "0,\"No error\"");
    EXPECT_EQ(bystander->ask("SYST:ERR?"), "1,\"Voltage setpoint was not known;sent 0.000 V with the output switch\"");
}

TEST_F(ScpiServerTest, AFifthClientIsTurnedAway)
{
    std::vector<std::unique_ptr<TestClient>> clients;
    for (int i = 0; i < ScpiServer::kDefaultMaxClients; ++i) {
        clients.push_back(connect());
        EXPECT_EQ(clients.back()->ask("*OPC?"), "1");
    }
    auto fifth = connect();
    EXPECT_TRUE(fifth->closedByServer());
    EXPECT_EQ(fifth->socket.readAll().toStdString(),
        "-200,\"Execution error;too many clients (4 connected); connection closed\"\n");
    EXPECT_EQ(server.clientCount(), ScpiServer::kDefaultMaxClients);

    clients.front()->socket.disconnectFromHost();
    ASSERT_TRUE(clientsAre(ScpiServer::kDefaultMaxClients - 1));
    EXPECT_EQ(connect()->ask("*OPC?"), "1");
}

TEST_F(ScpiServerTest, AClientSilentForTheIdleLimitIsClosedAndOneTalkingIsNot)
{
    server.setLimits(2, std::chrono::milliseconds(300));
    auto silent = connect();
    auto talking = connect();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 600) {
        EXPECT_EQ(talking->ask("*OPC?"), "1");
        const qint64 next = clock.elapsed() + 50;
        waitFor([&] { return clock.elapsed() >= next; });
    }
    EXPECT_TRUE(silent->closedByServer());
    EXPECT_EQ(talking->socket.state(), QAbstractSocket::ConnectedState);
    EXPECT_EQ(server.clientCount(), 1);
}

TEST_F(ScpiServerTest, DropsEachOverlongLineUpToItsEnd)
{
    auto client = connect();
    std::string longest = "*OPC?";
    longest.resize(ScpiServer::kMaxLineLength, ' ');
    EXPECT_EQ(client->ask(longest), "1");
    client->send(QByteArray::fromStdString(longest + "x\n"));
    client->send(QByteArray(1 << 20, '*') + "\n");
    EXPECT_EQ(client->ask("SYST:ERR?"), "-100,\"Command error;line too long\"");
    EXPECT_EQ(client->ask("SYST:ERR?;SYST:ERR?"), "-100,\"Command error;line too long\";0,\"No error\"");
}

TEST_F(ScpiServerTest, LinesSentJustBeforeClosingStillCount)
{
    auto client = connect();
    client->send("OUTP ON\nVOLT 9");
    client->socket.flush();
    client->socket.abort();
    ASSERT_TRUE(clientsAre(0));
    EXPECT_TRUE(supply.output);
    EXPECT_TRUE(supply.voltagesSent.empty());
}

TEST_F(ScpiServerTest, AClientThatDoesNotReadIsCutOff)
{
    auto talker = connect();
    auto deaf = connect();
    deaf->socket.setReadBufferSize(4096);
    std::string queries = "*IDN?";
    while (queries.size() + 6 < ScpiServer::kMaxLineLength) {
        queries += ";*IDN?";
    }
    for (int i = 0; i < 4000; ++i) {
        deaf->send(QByteArray::fromStdString(queries + "\n"));
    }
    EXPECT_TRUE(deaf->closedByServer());
    EXPECT_EQ(talker->ask("*OPC?"), "1");
}

TEST_F(ScpiServerTest, AFloodHarmsNeitherOtherClientsNorTheThread)
{
    auto talker = connect();
    auto flooder = connect();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    constexpr int kMegabyte = 1 << 20;
    QByteArray garbage(kMegabyte, '\0');
    for (int megabyte = 0; megabyte < 10; ++megabyte) {
        for (char& c : garbage) {
            c = static_cast<char>(byte(random));
        }
        // A long line in every megabyte.
        garbage.replace(kMegabyte / 2, 20000, QByteArray(20000, 'V'));
        flooder->send(garbage);
    }

    QElapsedTimer sinceTick;
    qint64 longestGapMs = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { longestGapMs = std::max(longestGapMs, sinceTick.restart()); });
    sinceTick.start();
    tick.start(5);
    int rounds = 0;
    for (; rounds < 50 || flooder->socket.bytesToWrite() > 0; ++rounds) {
        ASSERT_EQ(talker->ask("MEAS:VOLT?"), "12.000");
        const std::string volts = std::to_string(1 + rounds % 30);
        ASSERT_EQ(talker->ask("VOLT " + volts + ";VOLT?;SYST:ERR?"), volts + ".000;0,\"No error\"");
        ASSERT_LT(rounds, 100000);
    }
    flooder->socket.abort();
    ASSERT_TRUE(clientsAre(1));
    EXPECT_EQ(talker->ask("*IDN?"), "Tendrel Electronics,Brisna,0,1.2.3");
    EXPECT_LT(longestGapMs, 250);
}

TEST(ScpiServer, SaysWhyItCannotListen)
{
    FakeInstrument supply;
    ScpiServer first(supply, "1");
    ASSERT_TRUE(first.listen(ListenAddress(QHostAddress(QHostAddress::LocalHost), 0)));
    ScpiServer second(supply, "1");
    const ListenAddress taken(QHostAddress(QHostAddress::LocalHost), first.serverPort());
    EXPECT_FALSE(second.listen(taken));
    EXPECT_EQ(
        second.errorMessage(), "remote control cannot listen on " + taken.toString() + ": the port is already in use");
    TestClient client(first.serverPort());
    EXPECT_EQ(client.ask("*OPC?"), "1");
}

} // namespace
