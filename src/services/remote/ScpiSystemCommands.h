#pragma once

#include "remote/RemoteInstrument.h"
#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"
#include "remote/ScpiErrorQueue.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The SYSTem subsystem and the selection of the channel that commands naming
// none address. Made for one command at a time; answers go to the session's list.
class ScpiSystemCommands {
public:
    using Outcome = std::optional<ScpiError>;

    struct Context {
        const RemoteInstrument& instrument; // the addressed channel's
        std::size_t channels;
        std::size_t& selected;
        ScpiErrorQueue& errors;
        std::vector<std::string>& answers;
    };

    explicit ScpiSystemCommands(const Context& context);

    Outcome nextError(const ScpiCommand& command);
    Outcome errorCount(const ScpiCommand& command);
    Outcome allErrors(const ScpiCommand& command);
    Outcome version(const ScpiCommand& command);
    Outcome link(const ScpiCommand& command);
    // SYSTem:REMote, :LOCal and :RWLock: accepted, and the window stays usable.
    Outcome accessMode(const ScpiCommand& command);
    // SYSTem:COMMunicate:RLSTate LOCal|REMote|RWLock: the same.
    Outcome accessState(const ScpiCommand& command);
    Outcome selectByName(const ScpiCommand& command);
    Outcome selectedName(const ScpiCommand& command);
    Outcome selectByNumber(const ScpiCommand& command);
    Outcome selectedNumber(const ScpiCommand& command);

private:
    Outcome answer(std::string text);
    // -224 for none.
    Outcome select(std::optional<std::size_t> channel);

    Context context_;
};
