#include "metrics/MetricsExposition.h"
#include "mqtt/MqttStateMessage.h"
#include "station/Bench.h"

#include "EventLoopWait.h"
#include "FreeTcpPort.h"
#include "SimulatedSupply.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

using namespace std::chrono_literals;

namespace {

// One simulated supply on a bench with all its reports on: the recording,
// the remote server, the metrics and MQTT's state. Public, for the cases'
// steps to drive it.
class Reports : public ::testing::Test {
public:
    // Model 0: no supply, on a port no test machine has.
    void start(int model)
    {
        client.abort();
        bench.reset();
        SimulatedSupply::Options options;
        options.modelCode = model;
        supply = std::make_unique<SimulatedSupply>(options);
        ASSERT_TRUE(model == 0 || supply->start());
        bench = std::make_unique<Bench>(
            std::vector<std::string>{model == 0 ? "/dev/tendrel-none" : supply->devicePath()});
        ASSERT_TRUE(station().settings().listPorts());
        bench->start();
        const quint16 port = freeTcpPort();
        std::ostringstream messages;
        bench->startRemote({"127.0.0.1:" + std::to_string(port), {}}, messages);
        bench->startMetrics({"127.0.0.1:" + std::to_string(freeTcpPort()), {}}, messages);
        ASSERT_TRUE(station().readings().startRecording(directory.filePath("run.csv"), CsvRecorder::Mode::Overwrite));
        client.connectToHost(QHostAddress::LocalHost, port);
        ASSERT_TRUE(spinUntil([&] { return client.state() == QAbstractSocket::ConnectedState; }, 5s)) << messages.str();
        ASSERT_TRUE(model == 0 || spinUntil([&] { return station().controller().live(); }, 5s));
    }
    SupplyStation& station() { return bench->station(0); }
    void awaitReadings()
    {
        QSignalSpy measured(&station().controller(), &SupplyController::measured);
        ASSERT_TRUE(spinUntil([&] { return measured.count() >= 2; }, 5s));
    }
    std::string ask(const std::string& line)
    {
        client.write((line + "\n").c_str());
        return spinUntil([&] { return client.canReadLine(); }, 500ms) ? client.readLine().trimmed().toStdString() : "";
    }
    // A sample's value; empty when the scrape has none.
    std::string metric(const std::string& name)
    {
        const std::string text = MetricsExposition::format(bench->metrics()->board().supplies(), std::nullopt, "t");
        const std::size_t at = text.find("\n" + name + "{");
        const std::size_t end = text.find('\n', at + 1);
        return at == std::string::npos ? "" : text.substr(text.rfind(' ', end) + 1, end - text.rfind(' ', end) - 1);
    }
    QJsonValue mqtt(const char* key)
    {
        return QJsonDocument::fromJson(QByteArray::fromStdString(MqttStateMessage::of(station().outlook().now())))
            .object()
            .value(QLatin1String(key));
    }
    // A column of the recording's newest line; empty before the first.
    std::string csv(int column)
    {
        QFile file(directory.filePath("run.csv"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
        return lines.size() < 2 ? std::string() : lines.back().split(',').value(column).toStdString();
    }

    QTemporaryDir directory;
    std::unique_ptr<SimulatedSupply> supply;
    std::unique_ptr<Bench> bench;
    QTcpSocket client;
};

} // namespace

// The setpoint the supply holds, raw sent × full scale / 1000, is the one
// number the recording, the remote queries, the metrics and MQTT all give.
TEST_F(Reports, EveryReportGivesTheSetpointTheSupplyHolds)
{
    const struct {
        int model;
        std::function<void(Reports&)> set; // typed in the window, or sent by a client
        int currentRaw;
        const char* held;
    } cases[] = {
        {1, [](Reports& r) { r.station().controller().setCurrent(3.0); }, 47, "2.961"},
        {3, [](Reports& r) { r.station().controller().setCurrent(2.0); }, 127, "1.9939"},
        {1, [](Reports& r) { r.ask("CURR 1.0;*OPC?"); }, 15, "0.945"},
    };
    for (const auto& c : cases) {
        start(c.model);
        c.set(*this);
        ASSERT_TRUE(spinUntil([&] { return supply->currentRaw() == c.currentRaw; }, 3s)) << c.held;
        awaitReadings();
        EXPECT_EQ(csv(8), c.held);
        EXPECT_EQ(ask("CURR?"), c.held);
        EXPECT_EQ(metric("tendrel_supply_current_setpoint_amperes"), c.held);
        EXPECT_EQ(mqtt("current_setpoint").toDouble(), std::stod(c.held));
    }
}

// Whether the link is up and whether a reading is the present one are told
// alike by every report; a stale reading is never given as the present one.
TEST_F(Reports, EveryReportTellsTheLinkAndTheReadingsAlike)
{
    const struct {
        const char* situation;
        int model;
        std::function<void(Reports&)> then;
        bool linkUp;
        bool readings;
    } cases[] = {
        {"answering", 1, [](Reports& r) { r.awaitReadings(); }, true, true},
        {"readings stopped", 1,
            [](Reports& r) {
                QSignalSpy stale(&r.station().controller(), &SupplyController::measurementsStale);
                r.supply->setPanelSwitch(true);
                ASSERT_TRUE(spinUntil([&] { return stale.count() > 0; }, 3s));
            },
            true, false},
        // Identified by statuses alone: no full status, so no controls follow it yet.
        {"statuses alone", 0,
            [](Reports& r) {
                r.station().controller().onReply({1});
                r.station().controller().onReply({1});
            },
            false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        start(c.model);
        c.then(*this);
        EXPECT_EQ(ask("SYST:LINK?"), c.linkUp ? "CONNECTED" : "SEARCHING");
        EXPECT_EQ(metric("tendrel_supply_link_up"), c.linkUp ? "1" : "0");
        EXPECT_EQ(mqtt("link").toString().toStdString(), c.linkUp ? "connected" : "searching");
        EXPECT_EQ(!ask("MEAS:VOLT?").empty(), c.readings);
        EXPECT_EQ(!metric("tendrel_supply_voltage_volts").empty(), c.readings);
        EXPECT_EQ(mqtt("voltage").isDouble(), c.readings);
        EXPECT_EQ(!csv(2).empty(), c.readings);
    }
}
