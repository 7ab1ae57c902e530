#pragma once

#include "listen/ServiceChoice.h"
#include "remote/RemoteChannels.h"
#include "remote/ScpiServer.h"
#include "remote/SupplyInstrument.h"

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <vector>

class ProgramEngine;
class ProtectionWatch;
class SupplyController;
class SupplyOutlook;

// The remote-control server on the supplies' controllers, each supply a
// channel in the order given. Off unless the option or the settings ask
// for it; a refused value or a port that cannot be had is told
// on the given stream and leaves the program running without it.
class RemoteControl {
public:
    // What the server drives of one supply: the controller, its programs and
    // its limits; and the outlook its queries answer from.
    struct Parts {
        SupplyController& controller;
        ProgramEngine& programs;
        ProtectionWatch& protection;
        const SupplyOutlook& outlook;
    };

    // None also when there is no supply to drive.
    static std::unique_ptr<RemoteControl> start(
        const std::vector<Parts>& supplies, const ServiceChoice& choice, std::ostream& messages);

    // At least one supply.
    explicit RemoteControl(const std::vector<Parts>& supplies);
    ScpiServer& server() { return server_; }

private:
    static std::vector<std::unique_ptr<SupplyInstrument>> instrumentsOf(const std::vector<Parts>& supplies);
    static RemoteChannels channelsOf(const std::vector<std::unique_ptr<SupplyInstrument>>& instruments);
    void follow(const Parts& parts, std::size_t channel);
    void followConditions(const Parts& parts);

    std::vector<std::unique_ptr<SupplyInstrument>> instruments_;
    ScpiServer server_;
};
