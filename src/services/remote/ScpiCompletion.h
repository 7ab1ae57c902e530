#pragma once

#include "remote/RemoteChannels.h"
#include "remote/RemoteInstrument.h"
#include "remote/ScpiTickets.h"

#include <cstdint>
#include <optional>
#include <vector>

// What "complete" means for *OPC, *OPC? and *WAI: on every channel, every
// command the client sent before them is written to the supply's line, and the
// output is where the supply's status says it is. The wire acknowledges no
// setpoint, so that is as far as completion can be known. An output that does
// not follow within kOutputPolls polls of its frame ends the wait with an error.
class ScpiCompletion {
public:
    static constexpr std::uint64_t kOutputPolls = 3;

    enum class State { Waiting, Complete, OutputDidNotFollow };

    // For the commands the tickets hold now, one for each channel from channel 1.
    explicit ScpiCompletion(const std::vector<ScpiTickets>& tickets);

    // Waiting until every channel has ended; a channel ends once, so a switch
    // made later elsewhere does not hold the wait again.
    State check(const RemoteChannels& channels);

private:
    struct Channel {
        ScpiTickets tickets;
        // The polls seen when every frame was first found on the line.
        std::optional<std::uint64_t> writtenAt;
        State state = State::Waiting;
    };

    static State checkChannel(Channel& channel, const RemoteInstrument& instrument);

    std::vector<Channel> channels_;
};
