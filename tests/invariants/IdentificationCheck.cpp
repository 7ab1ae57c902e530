#include "IdentificationCheck.h"

#include "StationJournal.h"
#include "ViolationBook.h"

IdentificationCheck::IdentificationCheck(const StationJournal& journal, ViolationBook& book)
    : journal_(journal)
    , book_(book)
{
}

void IdentificationCheck::onEvent(const SimEvent& event, const ToggleLedger::Match* /*toggles*/)
{
    if (!event.command()) {
        return;
    }
    const std::optional<int> code = journal_.identifiedAt(event.at);
    if (!code) {
        book_.report("1/before-identification",
            "'" + event.text + "' reached the supply at " + RunClock::stamp(event.at)
                + " while no supply was identified");
    } else if (event.code != *code) {
        book_.report("1/model-code",
            "'" + event.text + "' at " + RunClock::stamp(event.at) + " does not carry the identified model's code "
                + std::to_string(*code));
    }
}
