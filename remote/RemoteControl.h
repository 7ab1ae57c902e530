#pragma once

#include "remote/ScpiServer.h"
#include "remote/SupplyInstrument.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

class ProgramEngine;
class ProtectionWatch;
class SupplyController;

// The remote-control server on the supply controller. Off unless the option
// or the settings ask for it; a refused value or a port that cannot be had
// is told on the given stream and leaves the program running without it.
class RemoteControl {
public:
    // What the server drives: the controller, its programs and its limits.
    struct Parts {
        SupplyController& controller;
        ProgramEngine& programs;
        ProtectionWatch& protection;
    };

    static std::unique_ptr<RemoteControl> start(
        const Parts& parts, const std::optional<std::string>& option, std::ostream& messages);

    explicit RemoteControl(const Parts& parts);
    ScpiServer& server() { return server_; }

private:
    void followConditions(const Parts& parts);

    SupplyInstrument instrument_;
    ScpiServer server_;
};
