#include "EventLoopWait.h"
#include "SimulatedSupply.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <string>

using namespace std::chrono_literals;

namespace {

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QString tool(const char* name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name), {"/usr/sbin", "/usr/bin", "/usr/local/sbin"});
}

// A broker of Debian's on a loopback port, the built program --headless on
// the simulated supply publishing to it, and a subscriber to everything.
class MqttTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (tool("mosquitto").isEmpty() || tool("mosquitto_sub").isEmpty()) {
            GTEST_SKIP() << "mosquitto and mosquitto-clients are not installed (tools/install-deps.sh)";
        }
        ASSERT_TRUE(supply.start());
        port = freePort();
        QFile config(directory.filePath("broker.conf"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\n").arg(port).toUtf8());
        config.close();
        startBroker();
        topic = "tendrel/" + QString::fromStdString(supply.devicePath()).mid(5).replace('/', '_');
    }
    void TearDown() override
    {
        for (QProcess* process : {&controller, &subscriber, &broker}) {
            process->kill();
            process->waitForFinished(5000);
        }
    }

    void startBroker()
    {
        broker.start(tool("mosquitto"), {"-c", directory.filePath("broker.conf")});
        ASSERT_TRUE(spinUntil(
            [&] {
                QTcpSocket probe;
                probe.connectToHost(QHostAddress::LocalHost, port);
                return probe.waitForConnected(100);
            },
            10s));
    }
    void writeSettings(const char* mqtt)
    {
        QDir(directory.path()).mkpath("config");
        QFile settings(directory.filePath("config/tendrel-controller.ini"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QByteArray("[MQTT]\r\n") + mqtt);
    }
    void launch()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", directory.filePath("config"));
        environment.remove("DISPLAY");
        controller.setProcessEnvironment(environment);
        controller.start(TENDREL_CONTROLLER_PATH,
            {"--headless", "--port", QString::fromStdString(supply.devicePath()), "--mqtt",
                QStringLiteral("127.0.0.1:%1").arg(port)});
        ASSERT_TRUE(controller.waitForStarted(5000));
        subscribe();
    }
    void subscribe()
    {
        heard.clear();
        subscriber.kill();
        subscriber.waitForFinished(2000);
        subscriber.start(tool("mosquitto_sub"), {"-h", "127.0.0.1", "-p", QString::number(port), "-v", "-t", "#"});
        ASSERT_TRUE(subscriber.waitForStarted(5000));
    }
    // The first line heard on the topic whose payload holds the text.
    bool hear(const QString& suffix, const QString& text, std::chrono::milliseconds timeout = 10s)
    {
        const QString head = topic + suffix + ' ';
        return spinUntil(
            [&] {
                heard += QString::fromUtf8(subscriber.readAllStandardOutput());
                for (const QString& line : heard.split('\n')) {
                    if (line.startsWith(head) && line.contains(text)) {
                        return true;
                    }
                }
                return false;
            },
            timeout);
    }
    // What a killed controller left retained would pass for the next one's.
    void clearRetained()
    {
        for (const char* suffix : {"/state", "/availability"}) {
            QProcess::execute(tool("mosquitto_pub"),
                {"-h", "127.0.0.1", "-p", QString::number(port), "-t", topic + suffix, "-r", "-n"});
        }
    }
    void send(const QByteArray& payload)
    {
        QProcess::execute(tool("mosquitto_pub"),
            {"-h", "127.0.0.1", "-p", QString::number(port), "-t", topic + "/set", "-m", QString::fromUtf8(payload)});
    }

    QTemporaryDir directory;
    SimulatedSupply supply;
    QProcess broker;
    QProcess controller;
    QProcess subscriber;
    quint16 port = 0;
    QString topic;
    QString heard;
};

} // namespace

TEST_F(MqttTest, PublishesTheSupplyRetainsOnlineAndTheBrokerTellsOfflineAfterAKill)
{
    supply.setSetpoints(400, 250);
    launch();
    ASSERT_TRUE(hear("/state", R"("link":"connected")")) << heard.toStdString();
    EXPECT_TRUE(hear("/state", R"("voltage_setpoint":6.28)")) << heard.toStdString();
    EXPECT_TRUE(hear("/state", R"("current_setpoint":15.75)")) << heard.toStdString();
    EXPECT_TRUE(hear("/state", R"("output":false)")) << heard.toStdString();

    subscribe(); // a newcomer hears the retained availability
    EXPECT_TRUE(hear("/availability", "online")) << heard.toStdString();
    ::kill(static_cast<pid_t>(controller.processId()), SIGKILL);
    EXPECT_TRUE(hear("/availability", "offline")) << heard.toStdString();
}

TEST_F(MqttTest, CommandsReachTheSupplyOnlyWhenOnAndValid)
{
    struct Case {
        const char* settings;
        QByteArray command;
        int voltageRaw; // the supply's setpoint after it
        const char* error; // on the error topic; none when accepted
    };
    const Case cases[] = {
        {"Commands=1\r\n", R"({"voltage": 6.28})", 400, nullptr},
        {"Commands=0\r\n", R"({"voltage": 6.28})", 200, "commands over MQTT are off"},
        {"Commands=1\r\n", R"({"voltage": 99})", 200, "voltage outside"},
        {"Commands=1\r\n", R"({"voltage": "6.28"})", 200, "voltage must be a number"},
        {"Commands=1\r\n", R"({"program": "/etc/passwd"})", 200, "only"},
        {"Commands=1\r\n", R"({"voltage": 6.28,)", 200, "not a JSON object"},
    };
    for (const Case& row : cases) {
        supply.setSetpoints(200, 250);
        writeSettings(row.settings);
        launch();
        // A reading has come: the supply is live and its setpoints known.
        ASSERT_TRUE(hear("/state", R"("power":0,)")) << heard.toStdString();
        send(row.command);
        if (row.error == nullptr) {
            EXPECT_TRUE(spinUntil([&] { return supply.voltageRaw() == row.voltageRaw; }, 5s)) << row.command.data();
            EXPECT_TRUE(hear("/state", R"("voltage_setpoint":6.28)")) << heard.toStdString();
        } else {
            EXPECT_TRUE(hear("/error", QString::fromLatin1(row.error))) << row.command.data() << heard.toStdString();
            EXPECT_EQ(supply.voltageRaw(), row.voltageRaw) << row.command.data();
        }
        EXPECT_EQ(supply.commandFrames().size(), row.error == nullptr ? 1U : 0U) << row.command.data();
        controller.kill();
        controller.waitForFinished(5000);
        clearRetained();
        supply.clearFrames();
    }
}

TEST_F(MqttTest, PublishesAgainOnceTheBrokerIsBack)
{
    launch();
    ASSERT_TRUE(hear("/state", R"("link":"connected")")) << heard.toStdString();
    broker.kill();
    broker.waitForFinished(5000);
    QByteArray errors;
    ASSERT_TRUE(spinUntil(
        [&] {
            errors += controller.readAllStandardError();
            return errors.contains("trying again");
        },
        10s));
    startBroker();
    subscribe();
    EXPECT_TRUE(hear("/availability", "online", 20s)) << heard.toStdString();
    EXPECT_TRUE(hear("/state", R"("link":"connected")")) << heard.toStdString();
}

// With the supply's own switch on, readings that stop coming are published
// as unknown, not as the last ones, and commands are refused, not lost.
TEST_F(MqttTest, WhileThePanelSwitchIsOnReadingsAreUnknownAndCommandsRefused)
{
    writeSettings("Commands=1\r\nDiscovery=1\r\n");
    launch();
    ASSERT_TRUE(hear("/state", R"("power":0,)")) << heard.toStdString();
    // Home Assistant compares the switch's template with its states, not its payloads.
    EXPECT_TRUE(heard.contains(QRegularExpression(R"(homeassistant/switch/\S+ .*"state_on":"ON")")))
        << heard.toStdString();
    heard.clear(); // the state before the first reading had none either
    supply.setPanelSwitch(true);
    EXPECT_TRUE(hear("/state", R"("current":null,)")) << heard.toStdString();
    EXPECT_TRUE(hear("/state", R"("link":"connected")")) << heard.toStdString();
    send(R"({"voltage": 6.28})");
    EXPECT_TRUE(hear("/error", "On/Off switch is on")) << heard.toStdString();
    EXPECT_TRUE(supply.commandFrames().empty());
}
