#include "ReportCheck.h"

#include "ScpiLineShape.h"
#include "ViolationBook.h"
#include "mqtt/MqttSupply.h"
#include "station/EventLog.h"

#include <algorithm>

namespace {

constexpr const char* kNoError = "0,\"No error\"";

bool fromScpi(const CommandOrigin& origin)
{
    return origin.kind == CommandOrigin::Kind::Remote && origin.client == ScpiClient::kClient;
}

bool fromMqtt(const CommandOrigin& origin)
{
    return origin.kind == CommandOrigin::Kind::Remote && origin.client == MqttSupply::kRemoteClient;
}

} // namespace

ReportCheck::ReportCheck(StationJournal& journal, ViolationBook& book)
    : journal_(journal)
    , book_(book)
{
}

void ReportCheck::expectFrom(const CommandOrigin& origin, const std::string& check, const std::string& what)
{
    if (fromScpi(origin)) {
        scpi_.push_back({Clock::now(), "6/scpi-" + check, what});
    } else if (fromMqtt(origin)) {
        mqttDue_.push_back({Clock::now(), "6/mqtt-" + check, what});
    }
}

void ReportCheck::scpiFinished(const ScpiClient::Line& line)
{
    if (line.timedOut) {
        return;
    }
    const bool clean = line.errors.rfind(kNoError, 0) == 0;
    if (clean && ScpiLineShape::asksOn(line.text) && journal_.trippedThroughout(line.sent, line.closed)) {
        book_.report("6/scpi-on-latched",
            "'" + line.text + "' asked for the output on while a trip was latched (" + RunClock::stamp(line.sent)
                + "), and the error queue then said " + line.errors);
    }
    // A line in flight may read the error first; one written after it must, unless that one did.
    for (auto it = scpi_.begin(); it != scpi_.end();) {
        const bool told = it->check == "6/scpi-dropped" ? line.errors.find("link lost") != std::string::npos
                || line.errors.find("command not taken") != std::string::npos
                                                        : !clean;
        if (line.closed > it->at && told) {
            it = scpi_.erase(it);
        } else if (line.sent > it->at) {
            book_.report(
                it->check, it->what + " at " + RunClock::stamp(it->at) + "; the error queue then said " + line.errors);
            it = scpi_.erase(it);
        } else {
            ++it;
        }
    }
}

void ReportCheck::mqttSent(const MqttPeer::Sent& sent)
{
    if (sent.payload.find("\"output\": true") != std::string::npos && journal_.trippedAt(sent.at)) {
        mqttDue_.push_back(
            {sent.at, "6/mqtt-on-latched", "'" + sent.payload + "' asked for the output on while a trip was latched"});
    }
}

void ReportCheck::dropped(const StationJournal::Drop& drop)
{
    for (const auto& command : journal_.commands()) {
        if (command.frame == drop.frame && drop.first <= command.ticket && command.ticket <= drop.last) {
            expectFrom(command.origin, "dropped",
                "a command " + EventLog::originText(command.origin).toStdString()
                    + " was dropped with the link or under the supply's switch");
        }
    }
}

// A frame the supply ignored under its own switch never took effect.
void ReportCheck::onEvent(const SimEvent& event, const ToggleLedger::Match* toggles)
{
    if (!event.command() || event.fate != SimEvent::Fate::PanelSwitch) {
        return;
    }
    const std::string what = "'" + event.text + "' at " + RunClock::stamp(event.at) + " was ignored by the supply";
    if (toggles != nullptr) {
        for (const auto& entry : toggles->covered) {
            if (entry.origin) {
                expectFrom(*entry.origin, "ignored", what);
            }
        }
    }
    const auto frame
        = event.kind == SimEvent::Kind::Current ? StationJournal::Frame::Current : StationJournal::Frame::Voltage;
    const auto& commands = journal_.commands();
    const auto last = std::find_if(commands.rbegin(), commands.rend(),
        [&](const StationJournal::Command& c) { return c.frame == frame && c.at < event.at && c.raw == event.raw; });
    // Only a frame that brought its command: a toggle carries the voltage as it stood.
    if (last != commands.rend() && event.kind != SimEvent::Kind::Toggle) {
        expectFrom(last->origin, "ignored", what);
    }
}

void ReportCheck::atReplyEnd()
{
    const Moment now = Clock::now();
    while (!mqttDue_.empty() && now - mqttDue_.front().at > kMqttPatience) {
        checkMqtt(mqttDue_.front());
        mqttDue_.pop_front();
    }
}

void ReportCheck::checkMqtt(const Expectation& expectation)
{
    // The broker hands a command over within moments; a trip cleared by then lets it be.
    if (mqtt_ == nullptr
        || (expectation.check == "6/mqtt-on-latched"
            && !journal_.trippedThroughout(expectation.at, expectation.at + kMqttHandover))) {
        return;
    }
    const auto& errors = mqtt_->errors();
    const bool told = std::any_of(errors.begin(), errors.end(), [&expectation](const MqttPeer::Message& message) {
        return message.at >= expectation.at && message.at <= expectation.at + kMqttPatience;
    });
    if (!told) {
        book_.report(expectation.check,
            expectation.what + " at " + RunClock::stamp(expectation.at) + "; nothing came on the error topic");
    }
}
