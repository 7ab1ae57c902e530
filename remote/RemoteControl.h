#pragma once

#include "remote/ScpiServer.h"
#include "remote/SupplyInstrument.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

class SupplyController;

// The remote-control server on the supply controller. Off unless the option
// or the settings ask for it; a refused value or a port that cannot be had
// is told on the given stream and leaves the program running without it.
class RemoteControl {
public:
    static std::unique_ptr<RemoteControl> start(
        SupplyController& controller, const std::optional<std::string>& option, std::ostream& messages);

    explicit RemoteControl(SupplyController& controller);
    ScpiServer& server() { return server_; }

private:
    SupplyInstrument instrument_;
    ScpiServer server_;
};
