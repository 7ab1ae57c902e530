#pragma once

#include "listen/ServiceChoice.h"
#include "listen/ServiceListen.h"

#include <string>
#include <string_view>

// Whether and where the metrics server listens, from the --metrics option
// (which wins) and the [Metrics] keys Enabled and Listen of the settings file.
struct MetricsConfig : ServiceListen {
    static constexpr std::string_view kDefaultListen = "127.0.0.1:9478";

    static MetricsConfig resolve(const ServiceChoice& choice);
};
