#pragma once

#include "remote/RemoteInstrument.h"
#include "remote/ScpiTickets.h"

#include <cstdint>
#include <optional>

// What "complete" means for *OPC, *OPC? and *WAI: every command the client
// sent before them is written to the supply's line, and the output is where
// the supply's status says it is. The wire acknowledges no setpoint, so that
// is as far as completion can be known. An output that does not follow within
// kOutputPolls polls of its frame ends the wait with an error.
class ScpiCompletion {
public:
    static constexpr std::uint64_t kOutputPolls = 3;

    enum class State { Waiting, Complete, OutputDidNotFollow };

    // For the commands the tickets hold now.
    explicit ScpiCompletion(const ScpiTickets& tickets);

    State check(const RemoteInstrument& instrument);

private:
    ScpiTickets tickets_;
    // The polls seen when every frame was first found on the line.
    std::optional<std::uint64_t> writtenAt_;
};
