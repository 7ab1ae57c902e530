#pragma once

#include "listen/ListenAddress.h"
#include "listen/ServiceChoice.h"

#include <string>
#include <string_view>

// Whether and where a server listens, the same for every server: its option
// wins over the Enabled and Listen keys of its section; off unless one of
// them asks, and on this computer alone unless an address is given.
struct ServiceListen {
    // What tells one server's choice from another's.
    struct Names {
        std::string_view option; // as the command line spells it: "--scpi"
        std::string_view section; // as the settings spell it: "Remote"
        std::string_view defaultListen;
        // The refusal of an Enabled other than 0 or 1, in the server's words.
        std::string badEnabled;
        // What listening beyond this computer lets others do; %1 is the address.
        std::string othersWarning;
    };

    bool enabled = false;
    ListenAddress address;
    // Set when a value is refused; the server then stays off.
    std::string error;
    // Set when other computers could connect.
    std::string warning;

    static ServiceListen resolve(const Names& names, const ServiceChoice& choice);
    // Clients from other computers could connect.
    bool reachesOthers() const { return enabled && !address.isLoopback(); }

private:
    static ServiceListen chosen(const Names& names, const ServiceChoice& choice);
};
