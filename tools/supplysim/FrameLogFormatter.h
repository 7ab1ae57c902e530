#pragma once

#include "SupplyFrameParser.h"
#include "SupplyState.h"

#include <chrono>
#include <optional>
#include <string>

// The text of the simulator's log lines.
class FrameLogFormatter {
public:
    // Local wall-clock time as HH:MM:SS.mmm.
    static std::string timestamp(std::chrono::system_clock::time_point at);

    // A poll or garbage has no outcome; a command has the outcome of applying it.
    static std::string describe(
        const SupplyFrameParser::Frame& frame, std::optional<SupplyState::Outcome> outcome, bool outputOn);

private:
    static std::string commandName(SupplyFrameParser::Kind kind);
    static std::string outcomeNote(SupplyFrameParser::Kind kind, SupplyState::Outcome outcome, bool outputOn);
};
