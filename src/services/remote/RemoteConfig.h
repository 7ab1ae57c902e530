#pragma once

#include "listen/ServiceChoice.h"
#include "listen/ServiceListen.h"

#include <chrono>
#include <string>
#include <string_view>

// Whether and where the remote-control server listens, from the --scpi option
// (which wins) and the [Remote] keys Enabled and Listen of the settings file,
// how many clients it takes for how long, from MaxClients and IdleTimeout, and
// where programs are, from Programs.
struct RemoteConfig : ServiceListen {
    static constexpr std::string_view kDefaultListen = "127.0.0.1:5025";
    static constexpr int kMostClients = 32;
    static constexpr int kLongestIdleSeconds = 86400;

    int maxClients = 4;
    std::chrono::seconds idleTimeout{0}; // zero: no limit
    std::string programs; // empty: where the programs window saves them
    static RemoteConfig resolve(const ServiceChoice& choice);

private:
    // Takes the limits' keys, empty when missing; a value refused sets error.
    void applyLimits(std::string_view maxClientsKey, std::string_view idleTimeoutKey);
};
