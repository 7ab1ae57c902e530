#pragma once

#include "remote/RemoteInstrument.h"
#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"

#include <optional>
#include <string>
#include <vector>

// VOLTage, CURRent and POWer:PROTection and OUTPut:PROTection:CLEar over the
// controller's software limits. Made for one command at a time; answers go
// to the session's list.
class ScpiProtectionCommands {
public:
    using Outcome = std::optional<ScpiError>;
    using Guard = RemoteInstrument::Guard;

    ScpiProtectionCommands(RemoteInstrument& instrument, std::vector<std::string>& answers);

    template <Guard guard> Outcome setLevel(const ScpiCommand& command) { return setLevelOf(command, guard); }
    // The level, or the one MINimum or MAXimum would set.
    template <Guard guard> Outcome level(const ScpiCommand& command) { return levelOf(command, guard); }
    template <Guard guard> Outcome setState(const ScpiCommand& command) { return setStateOf(command, guard); }
    template <Guard guard> Outcome state(const ScpiCommand& command) { return stateOf(command, guard); }
    template <Guard guard> Outcome tripped(const ScpiCommand& command) { return trippedOn(command, guard); }
    Outcome clear(const ScpiCommand& command);

private:
    Outcome setLevelOf(const ScpiCommand& command, Guard guard);
    Outcome levelOf(const ScpiCommand& command, Guard guard);
    Outcome setStateOf(const ScpiCommand& command, Guard guard);
    Outcome stateOf(const ScpiCommand& command, Guard guard);
    Outcome trippedOn(const ScpiCommand& command, Guard guard);
    Outcome answerFlag(const ScpiCommand& command, bool flag);

    RemoteInstrument& instrument_;
    std::vector<std::string>& answers_;
};
