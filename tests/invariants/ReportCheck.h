#pragma once

#include "InvariantCheck.h"
#include "MqttPeer.h"
#include "ScpiClient.h"
#include "StationJournal.h"

#include <deque>
#include <string>

class ViolationBook;

// 6: a command that is refused or dropped is told to the origin that gave it
// and never passes for done. For a remote client that is an error in its
// queue (not 0,"No error"); for MQTT, a message on the supply's error topic.
// Checked for an output-on asked while a trip is latched, for commands the
// controller reports dropped with the link, and for frames the supply ignored
// while its own switch held it.
class ReportCheck final : public InvariantCheck {
public:
    static constexpr std::chrono::seconds kMqttPatience{3};
    static constexpr std::chrono::milliseconds kMqttHandover{500};

    ReportCheck(StationJournal& journal, ViolationBook& book);

    void setMqtt(const MqttPeer* peer) { mqtt_ = peer; }
    void scpiFinished(const ScpiClient::Line& line);
    void mqttSent(const MqttPeer::Sent& sent);
    void dropped(const StationJournal::Drop& drop);
    void onEvent(const SimEvent& event, const ToggleLedger::Match* toggles) override;
    void atReplyEnd() override;

private:
    struct Expectation {
        Moment at;
        std::string check;
        std::string what;
    };

    void expectFrom(const CommandOrigin& origin, const std::string& check, const std::string& what);
    void checkMqtt(const Expectation& expectation);

    StationJournal& journal_;
    ViolationBook& book_;
    const MqttPeer* mqtt_ = nullptr;
    std::deque<Expectation> scpi_;
    std::deque<Expectation> mqttDue_;
};
