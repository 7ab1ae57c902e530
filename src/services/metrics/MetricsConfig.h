#pragma once

#include "remote/ListenAddress.h"

#include <optional>
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

    // The keys are as read, empty when missing.
    static MetricsConfig resolve(
        const std::optional<std::string>& option, std::string_view enabledKey, std::string_view listenKey);
};
