#include "FrameOrderCheck.h"

#include "ScpiClient.h"
#include "ScpiLineShape.h"
#include "SimFrameLog.h"
#include "ViolationBook.h"
#include "station/EventLog.h"
#include "station/SupplyStation.h"

#include <algorithm>
#include <set>

namespace {

using Frame = StationJournal::Frame;

// Older commands have long left the frame log the check looks back on.
constexpr auto kLookBack = std::chrono::seconds(45);
constexpr auto kAfterOffKept = std::chrono::seconds(10);
// The worker, woken by a command, may write its frame before the command's
// signal reaches the journal.
constexpr auto kWorkerAhead = std::chrono::milliseconds(20);

const char* nameOf(Frame frame)
{
    return frame == Frame::Voltage ? "voltage" : "current";
}

bool carries(const SimEvent& event, Frame frame)
{
    return frame == Frame::Voltage ? event.carriesVoltage() : event.kind == SimEvent::Kind::Current;
}

std::string describe(const StationJournal::Command& command)
{
    return std::string(nameOf(command.frame)) + " raw " + std::to_string(command.raw) + " commanded "
        + EventLog::originText(command.origin).toStdString() + " at " + RunClock::stamp(command.at);
}

} // namespace

FrameOrderCheck::FrameOrderCheck(
    StationJournal& journal, const SimFrameLog& log, const ScpiClient* scpi, ViolationBook& book)
    : journal_(journal)
    , log_(log)
    , scpi_(scpi)
    , book_(book)
{
}

void FrameOrderCheck::commanded(const StationJournal::Command& command)
{
    if (command.origin.kind == CommandOrigin::Kind::Remote && command.origin.client == ScpiClient::kClient) {
        noteScpiLine(command);
    }
    if (heldOff_) {
        afterOff_.push_back({command, *heldOff_});
    }
}

// The setpoint's place in the client's line tells whether an OUTP OFF came before it.
void FrameOrderCheck::noteScpiLine(const StationJournal::Command& command)
{
    const ScpiClient::Line* line = scpi_ != nullptr ? scpi_->current() : nullptr;
    if (line == nullptr) {
        return;
    }
    if (line->serial != lineSerial_) {
        lineSerial_ = line->serial;
        lineSetpoints_ = 0;
    }
    const auto before = ScpiLineShape::switchBefore(ScpiLineShape::of(line->text), lineSetpoints_++);
    if (before == ScpiLineShape::Piece::Off && !heldOff_ && journal_.station().controller().outputHeading()) {
        heldOff_ = Off{command.at, "remote client 1 ('" + line->text + "')"};
    }
}

void FrameOrderCheck::outputAsked(const StationJournal::OutputAsk& /*ask*/)
{
    heldOff_.reset();
}

void FrameOrderCheck::offRequested(const std::string& by)
{
    if (journal_.station().controller().outputHeading() && !heldOff_) {
        heldOff_ = Off{Clock::now(), by};
    }
}

void FrameOrderCheck::onEvent(const SimEvent& event, const ToggleLedger::Match* toggles)
{
    if (toggles != nullptr) {
        checkOn(event, *toggles);
    } else if ((event.kind == SimEvent::Kind::Voltage || event.kind == SimEvent::Kind::Current)
        && event.fate == SimEvent::Fate::Applied) {
        checkAfterOff(event);
    }
}

void FrameOrderCheck::atReplyEnd()
{
    if (!journal_.station().controller().outputHeading() || !journal_.station().controller().identified()) {
        heldOff_.reset();
    }
    const Moment before = Clock::now() - kAfterOffKept;
    while (!afterOff_.empty() && afterOff_.front().command.at < before) {
        afterOff_.pop_front();
    }
}

// The frame that switched the supply on, asked for on: the setpoints
// commanded before that request must have reached the line before it.
void FrameOrderCheck::checkOn(const SimEvent& event, const ToggleLedger::Match& toggles)
{
    if (event.fate != SimEvent::Fate::Applied || event.outputBefore || !event.outputAfter || toggles.covered.empty()
        || !toggles.blurred.empty() || !toggles.covered.back().on) {
        return;
    }
    const Moment asked = toggles.covered.back().askedAfter;
    for (const Frame frame : {Frame::Voltage, Frame::Current}) {
        const auto& commands = journal_.commands();
        const auto last = std::find_if(commands.rbegin(), commands.rend(),
            [&](const StationJournal::Command& c) { return c.frame == frame && c.at < asked; });
        if (last == commands.rend() || last->at < event.at - kLookBack || journal_.dropped(frame, last->ticket)
            || journal_.lostBetween(last->at, event.at)) {
            continue;
        }
        if (!onLineBefore(*last, event)) {
            book_.report(std::string("3/") + nameOf(frame) + "-after-on",
                describe(*last) + ", before the output-on asked at " + RunClock::stamp(asked)
                    + ", was not on the line before '" + event.text + "' switched the supply on at "
                    + RunClock::stamp(event.at));
        }
    }
}

bool FrameOrderCheck::onLineBefore(const StationJournal::Command& command, const SimEvent& on) const
{
    std::set<std::int32_t> raws;
    for (const auto& each : journal_.commands()) {
        if (each.frame == command.frame && each.at >= command.at && each.at <= on.at) {
            raws.insert(each.raw);
        }
    }
    // The toggle frame carries the voltage itself; a current frame is never the toggle's.
    return std::any_of(log_.history().begin(), log_.history().end(), [&](const SimEvent& event) {
        return event.at + kWorkerAhead > command.at && event.at <= on.at && carries(event, command.frame)
            && raws.count(event.raw) > 0;
    });
}

// A setpoint commanded after an off that was held back reached the supply
// while the output it switched on was still on.
void FrameOrderCheck::checkAfterOff(const SimEvent& event)
{
    const Frame frame = event.kind == SimEvent::Kind::Voltage ? Frame::Voltage : Frame::Current;
    const auto match = std::find_if(afterOff_.begin(), afterOff_.end(), [&](const AfterOff& each) {
        return each.command.frame == frame && each.command.at < event.at && each.command.raw == event.raw;
    });
    if (match == afterOff_.end()) {
        return;
    }
    const AfterOff found = *match;
    afterOff_.erase(match);
    if (event.outputBefore && !supplySideBetween(found.off.at - std::chrono::seconds(1), event.at)
        && !journal_.lostBetween(found.off.at, event.at)) {
        book_.report("3/setpoint-before-off",
            describe(found.command) + " after the output-off asked by " + found.off.by + " at "
                + RunClock::stamp(found.off.at) + " reached the supply at " + RunClock::stamp(event.at)
                + " with the output still on");
    }
}

bool FrameOrderCheck::supplySideBetween(Moment from, Moment to) const
{
    return std::any_of(log_.history().begin(), log_.history().end(),
        [from, to](const SimEvent& event) { return event.supplySide && event.at >= from && event.at <= to; });
}
