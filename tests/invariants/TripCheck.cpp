#include "TripCheck.h"

#include "ViolationBook.h"
#include "station/EventLog.h"
#include "station/SupplyStation.h"

namespace {

std::string who(const std::optional<CommandOrigin>& origin)
{
    return origin ? EventLog::originText(*origin).toStdString()
                  : "by a request the controller held back while a toggle was on its way (no origin in its signals)";
}

} // namespace

TripCheck::TripCheck(StationJournal& journal, ViolationBook& book)
    : journal_(journal)
    , book_(book)
{
}

void TripCheck::outputAsked(const StationJournal::OutputAsk& ask)
{
    if (ask.on && ask.tripped) {
        book_.report("2/asked-on",
            "output switched on " + who(ask.origin) + " at " + RunClock::stamp(ask.at) + " while a trip was latched");
    }
}

void TripCheck::measured(const Measurement& measurement)
{
    lastReadingOn_ = measurement.outputOn;
    const bool latched = journal_.station().protection().tripped();
    onWhileLatched_ = latched && measurement.outputOn ? onWhileLatched_ + 1 : 0;
    if (onWhileLatched_ > kReadingsToSwitchOff) {
        book_.report("2/stays-on",
            "the output read on for " + std::to_string(onWhileLatched_)
                + " readings in a row while a trip was latched");
    }
}

// The frame that switched the supply on carried a toggle asked for on: not a
// toggle that met a supply which had switched itself meanwhile.
void TripCheck::onEvent(const SimEvent& event, const ToggleLedger::Match* toggles)
{
    if (event.supplySide) {
        onWhileLatched_ = 0;
    }
    if (toggles == nullptr || event.fate != SimEvent::Fate::Applied || event.outputBefore || !event.outputAfter
        || !journal_.trippedAt(event.at) || toggles->covered.empty() || !toggles->blurred.empty()) {
        return;
    }
    const ToggleLedger::Entry& last = toggles->covered.back();
    if (last.on) {
        book_.report("2/wire-on",
            "'" + event.text + "' at " + RunClock::stamp(event.at)
                + " switched the supply on while a trip was latched (" + "asked " + who(last.origin) + " at "
                + RunClock::stamp(last.at) + ")");
    }
}

void TripCheck::atReplyEnd()
{
    SupplyStation& station = journal_.station();
    const SupplyController& controller = station.controller();
    if (controller.live() && station.protection().tripped() && journal_.measuredThisReply() && lastReadingOn_
        && controller.outputHeading()) {
        book_.report("2/not-switched-off",
            "a reading at " + RunClock::stamp(Clock::now())
                + " shows the output on while a trip is latched, and nothing switches it off");
    }
}
