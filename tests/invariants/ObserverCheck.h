#pragma once

#include "InvariantCheck.h"
#include "MetricsScraper.h"
#include "MqttPeer.h"
#include "ScpiClient.h"
#include "SlotWindow.h"
#include "StationJournal.h"

#include <deque>
#include <fstream>
#include <optional>
#include <string>

class SimulatedSupply;
class ViolationBook;

// 5: every observer reports the setpoint the supply holds (raw × full scale
// / 1000, at the supply's resolution; an observer that follows the polls may
// lag one poll), and none reports a stale reading as current: the CSV
// recording, SCPI queries, the metrics and the MQTT state. Once every command
// is delivered, the supply itself holds what the controller says it does.
class ObserverCheck final : public InvariantCheck {
public:
    ObserverCheck(StationJournal& journal, const SimulatedSupply& supply, std::string csvPath, ViolationBook& book);

    void setMqtt(const MqttPeer* peer) { mqtt_ = peer; }
    void measured(const Measurement& measurement);
    void scpiFinished(const ScpiClient::Line& line);
    void metricsScraped(const MetricsScraper::Scrape& scrape);
    void mqttState(const MqttPeer::Message& message);
    void onEvent(const SimEvent& event, const ToggleLedger::Match* toggles) override;
    void atReplyEnd() override;

private:
    std::optional<SlotWindow> window() const;
    Moment pollBefore(Moment at) const;
    std::optional<Moment> measuredBefore(Moment at) const;
    bool staleAt(Moment at) const;
    std::string newestCsvLine();
    void checkCsv(const std::string& line);
    void checkScpiAnswer(const ScpiClient::Line& line, const std::string& query, const std::string& answer);
    void checkTruth();
    void checkStaleness();

    StationJournal& journal_;
    const SimulatedSupply& supply_;
    ViolationBook& book_;
    const MqttPeer* mqtt_ = nullptr;
    std::ifstream csv_;
    std::string csvPartial_;
    std::string csvLast_;
    std::deque<Moment> measuredAt_;
    double voltsFullScale_ = 0.0;
    double amperesFullScale_ = 0.0;
    // A frame the supply ignored under its own switch: until a poll shows the
    // switch, nothing tells the program, and with the output on nothing can.
    std::optional<Moment> ignoredUnseen_;
    // The controller learns a setpoint that differs only when two readings agree.
    int truthMisses_ = 0;
};
