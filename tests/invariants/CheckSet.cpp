#include "CheckSet.h"

#include "SimFrameLog.h"

CheckSet::CheckSet(StationJournal& journal, SimFrameLog& log, const EventLogTap& tap, const SimulatedSupply& supply,
    const ScpiClient* scpi, const std::string& csvPath, ViolationBook& book)
    : journal_(journal)
    , log_(log)
    , identification_(journal, book)
    , trip_(journal, book)
    , order_(journal, log, scpi, book)
    , origin_(tap, book)
    , observer_(journal, supply, csvPath, book)
    , report_(journal, book)
    , all_{&identification_, &trip_, &order_, &origin_, &observer_, &report_}
{
}

StationJournal::Hooks CheckSet::hooks(std::function<void()> afterReply)
{
    StationJournal::Hooks hooks;
    hooks.replyEnded = [this, afterReply = std::move(afterReply)] { replyEnded(afterReply); };
    hooks.measured = [this](const Measurement& measurement) {
        trip_.measured(measurement);
        observer_.measured(measurement);
    };
    hooks.commanded = [this](const StationJournal::Command& command) { order_.commanded(command); };
    hooks.outputAsked = [this](const StationJournal::OutputAsk& ask) {
        trip_.outputAsked(ask);
        order_.outputAsked(ask);
    };
    hooks.dropped = [this](const StationJournal::Drop& drop) { report_.dropped(drop); };
    hooks.offRequested = [this](const char* by) { order_.offRequested(by); };
    return hooks;
}

void CheckSet::setMqtt(const MqttPeer* peer)
{
    observer_.setMqtt(peer);
    report_.setMqtt(peer);
}

void CheckSet::sweep()
{
    for (const SimEvent& event : log_.take()) {
        std::optional<ToggleLedger::Match> toggles;
        if (event.kind == SimEvent::Kind::Toggle) {
            toggles = journal_.toggles().frameSent(event.at);
        }
        for (InvariantCheck* check : all_) {
            check->onEvent(event, toggles ? &*toggles : nullptr);
        }
    }
}

void CheckSet::replyEnded(const std::function<void()>& afterReply)
{
    sweep();
    for (InvariantCheck* check : all_) {
        check->atReplyEnd();
    }
    afterReply();
}

void CheckSet::scpiFinished(const ScpiClient::Line& line)
{
    observer_.scpiFinished(line);
    report_.scpiFinished(line);
}
