#pragma once

#include "metrics/SupplySnapshot.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Prometheus text exposition format (0.0.4) of the supplies' snapshots:
// each family once with its HELP and TYPE, a line per supply below it.
class MetricsExposition {
public:
    static constexpr std::string_view kContentType = "text/plain; version=0.0.4; charset=utf-8";

    // `remoteClients` is empty while the remote server is off.
    static std::string format(
        const std::vector<SupplySnapshot>& supplies, std::optional<int> remoteClients, std::string_view version);
};
