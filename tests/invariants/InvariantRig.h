#pragma once

#include "CheckSet.h"
#include "EventLogTap.h"
#include "MetricsScraper.h"
#include "MosquittoBroker.h"
#include "MqttPeer.h"
#include "ScpiClient.h"
#include "SimFrameLog.h"
#include "StationJournal.h"
#include "ViolationBook.h"
#include "link/LinkTiming.h"
#include "mqtt/MqttBridge.h"
#include "station/Bench.h"
#include "station/EventLog.h"

#include "SimConsole.h"
#include "SimulatedSupply.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

// One station on the simulated supply over a pseudo-terminal, with every
// observer a bench has: the event log, the CSV recording, the remote server
// and a client on a real socket, the metrics server and a scraper, and MQTT
// on Debian's broker when it is installed; then the journal and the checks,
// which follow the station after all of them.
class InvariantRig {
public:
    struct Options {
        int modelCode = 1;
        LinkTiming timing;
        bool mqtt = true;
        CheckSelection checks;
    };

    explicit InvariantRig(const Options& options);
    ~InvariantRig();
    InvariantRig(const InvariantRig&) = delete;
    InvariantRig& operator=(const InvariantRig&) = delete;

    // Until the supply is live and every client is on; false, with why, when something would not start.
    bool start(std::function<void()> afterReply, std::string& problem);

    SupplyStation& station() { return bench_->station(0); }
    SimulatedSupply& supply() { return supply_; }
    SimConsole& console() { return console_; }
    SimFrameLog& log() { return log_; }
    ScpiClient& scpi() { return *scpi_; }
    MqttPeer* mqtt() { return peer_.get(); }
    CheckSet& checks() { return *checks_; }
    const StationJournal& journal() const { return *journal_; }
    ViolationBook& book() { return book_; }
    const EventLogTap& tap() const { return tap_; }
    bool mqttOn() const { return bridge_ != nullptr; }

private:
    bool prepareSettings(std::string& problem);
    bool startServers(std::string& problem);
    bool startMqtt(std::string& problem);
    void follow(std::function<void()> afterReply);
    bool connectClients(std::string& problem);
    void addHotValues();

    Options options_;
    QTemporaryDir directory_;
    SimulatedSupply supply_;
    SimConsole console_;
    SimFrameLog log_;
    EventLogTap tap_;
    std::ostringstream messages_;
    ViolationBook book_;
    std::unique_ptr<MosquittoBroker> broker_;
    std::unique_ptr<Bench> bench_;
    std::unique_ptr<EventLog> eventLog_;
    std::unique_ptr<MqttBridge> bridge_;
    std::unique_ptr<ScpiClient> scpi_;
    std::unique_ptr<MqttPeer> peer_;
    std::unique_ptr<MetricsScraper> scraper_;
    std::unique_ptr<StationJournal> journal_;
    std::unique_ptr<CheckSet> checks_;
    quint16 scpiPort_ = 0;
    quint16 mqttPort_ = 0;
};
