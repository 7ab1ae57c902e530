#include "EventLoopWait.h"
#include "FreeTcpPort.h"
#include "SimulatedSupply.h"

#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <string>

using namespace std::chrono_literals;

namespace {

// The built program with --headless, in an environment with no display at
// all, on the simulated supply; a client on its remote server.
class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(supply.start()); }
    void TearDown() override
    {
        if (controller.state() != QProcess::NotRunning) {
            controller.kill();
            controller.waitForFinished(5000);
        }
    }

    void launch(QStringList arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "JOURNAL_STREAM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        controller.setProcessEnvironment(environment);
        arguments.prepend(QString::fromStdString(supply.devicePath()));
        arguments.prepend(QStringLiteral("--port"));
        arguments.prepend(QStringLiteral("--headless"));
        controller.start(QStringLiteral(TENDREL_CONTROLLER_PATH), arguments);
        ASSERT_TRUE(controller.waitForStarted(5000));
    }
    void launchWithClient(QStringList arguments)
    {
        port = freeTcpPort();
        arguments << QStringLiteral("--scpi") << QStringLiteral("127.0.0.1:%1").arg(port);
        launch(arguments);
        ASSERT_TRUE(spinUntil(
            [&] {
                if (client.state() == QAbstractSocket::UnconnectedState) {
                    client.connectToHost(QHostAddress::LocalHost, port);
                }
                return client.state() == QAbstractSocket::ConnectedState;
            },
            10s));
        ASSERT_TRUE(spinUntil([&] { return ask("*IDN?\n").find("Quarel") != std::string::npos; }, 10s));
    }
    std::string ask(const char* line)
    {
        client.write(line);
        spinUntil([&] { return client.canReadLine(); }, 5s);
        return client.readLine().trimmed().toStdString();
    }
    // SIGTERM, and the exit code; -1 when it did not end normally.
    int terminate()
    {
        ::kill(static_cast<pid_t>(controller.processId()), SIGTERM);
        if (!controller.waitForFinished(15000) || controller.exitStatus() != QProcess::NormalExit) {
            return -1;
        }
        errors = controller.readAllStandardError().toStdString();
        return controller.exitCode();
    }

    SimulatedSupply supply;
    QProcess controller;
    QTcpSocket client;
    quint16 port = 0;
    std::string errors;
};

} // namespace

TEST_F(HeadlessTest, RunsDrivenRemotelyAndEndsOnSigtermWithAWholeRecording)
{
    QTemporaryDir directory;
    const QString csv = directory.filePath(QStringLiteral("run.csv"));
    launchWithClient({QStringLiteral("--record"), csv});
    EXPECT_EQ(ask("VOLT 5;OUTP ON;*OPC?\n"), "1");
    EXPECT_TRUE(supply.outputOn());
    EXPECT_EQ(ask("OUTP OFF;*OPC?\n"), "1");
    EXPECT_FALSE(supply.outputOn());

    ASSERT_EQ(terminate(), 0) << errors;
    for (const char* line :
        {"identified ", "voltage set to 4.9926 V by remote client 1", "output switched on by remote client 1",
            "the supply reports its output off", "recording to", "stopping on SIGTERM", "stopped"}) {
        EXPECT_NE(errors.find(line), std::string::npos) << line << " is not in:\n" << errors;
    }
    EXPECT_EQ(errors.find("current limit set"), std::string::npos) << "nobody set it:\n" << errors;
    QFile record(csv);
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const QByteArray text = record.readAll();
    ASSERT_TRUE(text.endsWith('\n'));
    const QList<QByteArray> lines = text.trimmed().split('\n');
    ASSERT_GE(lines.size(), 4) << "a header and the readings";
    EXPECT_EQ(lines.back().count(','), lines.front().count(',')) << "the last line is whole";
}

// What the output does at exit is the user's choice: left as it is, or off.
TEST_F(HeadlessTest, TheOutputAtExitIsAsTheOptionSays)
{
    for (const auto& [policy, staysOn] : {std::pair{"leave", true}, std::pair{"off", false}}) {
        client.abort();
        launchWithClient({QStringLiteral("--output-at-exit"), QString::fromLatin1(policy)});
        EXPECT_EQ(ask("OUTP ON;*OPC?\n"), "1");
        ASSERT_EQ(terminate(), 0) << errors;
        EXPECT_EQ(supply.outputOn(), staysOn) << policy;
        supply.setOutput(false);
    }
}

TEST_F(HeadlessTest, RefusesToRunWithNothingToControlOrObserveWith)
{
    launch({});
    ASSERT_TRUE(controller.waitForFinished(10000));
    EXPECT_EQ(controller.exitCode(), 2);
    EXPECT_NE(controller.readAllStandardError().indexOf("nothing to control or observe"), -1);
}
