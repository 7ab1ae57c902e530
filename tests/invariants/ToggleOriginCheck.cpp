#include "ToggleOriginCheck.h"

#include "EventLogTap.h"
#include "ViolationBook.h"
#include "station/EventLog.h"

#include <algorithm>

ToggleOriginCheck::ToggleOriginCheck(const EventLogTap& tap, ViolationBook& book)
    : tap_(tap)
    , book_(book)
{
}

// "output switched off by the protection", or the trip's own line, which says the same.
bool ToggleOriginCheck::told(const ToggleLedger::Entry& entry) const
{
    if (!entry.origin) {
        return false;
    }
    const std::string switched = std::string("output switched ") + (entry.on ? "on " : "off ")
        + EventLog::originText(*entry.origin).toStdString();
    return tap_.toldSince(entry.toldFrom, switched)
        || (entry.origin->kind == CommandOrigin::Kind::Protection
            && tap_.toldSince(entry.toldFrom, "protection tripped, output switched off"));
}

void ToggleOriginCheck::onEvent(const SimEvent& event, const ToggleLedger::Match* toggles)
{
    if (toggles == nullptr) {
        return;
    }
    const auto asked = [](const ToggleLedger::Entry& entry) { return entry.origin.has_value(); };
    const auto told = [this](const ToggleLedger::Entry& entry) { return this->told(entry); };
    const auto& covered = toggles->covered;
    if (std::any_of(covered.begin(), covered.end(), told)
        || std::any_of(toggles->blurred.begin(), toggles->blurred.end(), asked)) {
        return;
    }
    const std::string frame = "'" + event.text + "' at " + RunClock::stamp(event.at);
    const auto unlogged = std::find_if(covered.begin(), covered.end(), asked);
    if (unlogged != covered.end()) {
        book_.report("4/untold",
            frame + " was asked " + EventLog::originText(*unlogged->origin).toStdString() + " at "
                + RunClock::stamp(unlogged->at) + ", and the event log does not tell it");
    } else if (!covered.empty()) {
        book_.report("4/unasked",
            frame + " carries a toggle queued at " + RunClock::stamp(covered.back().at)
                + " when a status came in, for a request held back while a toggle was on its way; the event log"
                + " names no origin for it");
    } else {
        book_.report("4/unasked", frame + " carries a toggle the controller never queued");
    }
}
