#pragma once

#include "FrameOrderCheck.h"
#include "IdentificationCheck.h"
#include "ObserverCheck.h"
#include "ReportCheck.h"
#include "ToggleOriginCheck.h"
#include "TripCheck.h"

#include <functional>
#include <string>
#include <vector>

class SimFrameLog;

// The six invariants on one station, fed by its journal, the frame log and
// every observer's reports.
class CheckSet {
public:
    CheckSet(StationJournal& journal, SimFrameLog& log, const EventLogTap& tap, const SimulatedSupply& supply,
        const ScpiClient* scpi, const std::string& csvPath, ViolationBook& book);

    // The journal's hooks; `afterReply` runs once the checks have judged a reply.
    StationJournal::Hooks hooks(std::function<void()> afterReply);
    void setMqtt(const MqttPeer* peer);
    // Passes on what the frame log holds new; also while no reply comes.
    void sweep();

    void offRequested(const std::string& by) { order_.offRequested(by); }
    void scpiFinished(const ScpiClient::Line& line);
    void mqttState(const MqttPeer::Message& message) { observer_.mqttState(message); }
    void mqttSent(const MqttPeer::Sent& sent) { report_.mqttSent(sent); }
    void metricsScraped(const MetricsScraper::Scrape& scrape) { observer_.metricsScraped(scrape); }

private:
    void replyEnded(const std::function<void()>& afterReply);

    StationJournal& journal_;
    SimFrameLog& log_;
    IdentificationCheck identification_;
    TripCheck trip_;
    FrameOrderCheck order_;
    ToggleOriginCheck origin_;
    ObserverCheck observer_;
    ReportCheck report_;
    std::vector<InvariantCheck*> all_;
};
