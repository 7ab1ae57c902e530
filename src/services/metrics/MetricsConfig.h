#pragma once

#include "listen/ListenAddress.h"
#include "listen/ServiceChoice.h"

#include <string>
#include <string_view>

// Whether and where the metrics server listens, from the --metrics option
// (which wins) and the [Metrics] keys Enabled and Listen of the settings file.
struct MetricsConfig {
    static constexpr std::string_view kDefaultListen = "127.0.0.1:9478";

    bool enabled = false;
    ListenAddress address;
    // Set when a value is refused; the server then stays off.
    std::string error;
    // Set when other computers could read the metrics.
    std::string warning;

    static MetricsConfig resolve(const ServiceChoice& choice);
};
