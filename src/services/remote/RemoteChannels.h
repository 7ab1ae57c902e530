#pragma once

#include "remote/RemoteInstrument.h"

#include <cstddef>
#include <vector>

// The supplies the server drives, as channels numbered from 1 in the order of
// their ports. Never empty; the instruments outlive the list.
class RemoteChannels {
public:
    explicit RemoteChannels(std::vector<RemoteInstrument*> instruments);
    // One supply is the one channel, so a caller with one passes it as it is.
    RemoteChannels(RemoteInstrument& instrument); // NOLINT(google-explicit-constructor)

    std::size_t count() const { return instruments_.size(); }
    // Channel 1 to count().
    RemoteInstrument& at(std::size_t channel) const { return *instruments_.at(channel - 1); }
    auto begin() const { return instruments_.begin(); }
    auto end() const { return instruments_.end(); }

private:
    std::vector<RemoteInstrument*> instruments_;
};
