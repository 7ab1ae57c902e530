#pragma once

#include "InvariantCheck.h"

class StationJournal;
class ViolationBook;

// 1: no command frame goes out while no supply is identified, and every
// frame carries the identified model's code.
class IdentificationCheck final : public InvariantCheck {
public:
    IdentificationCheck(const StationJournal& journal, ViolationBook& book);

    void onEvent(const SimEvent& event, const ToggleLedger::Match* toggles) override;

private:
    const StationJournal& journal_;
    ViolationBook& book_;
};
