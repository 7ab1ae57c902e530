#include "metrics/MetricsConfig.h"

#include <QCoreApplication>

#include <variant>

namespace {

MetricsConfig listenOn(std::string_view text, std::string_view source)
{
    MetricsConfig config;
    auto parsed = ListenAddress::parse(text);
    if (auto* message = std::get_if<std::string>(&parsed)) {
        config.error = std::string(source) + ": " + *message;
        return config;
    }
    config.enabled = true;
    config.address = std::get<ListenAddress>(parsed);
    if (!config.address.isLoopback()) {
        config.warning = QCoreApplication::translate("MetricsConfig",
            "note: metrics are served on %1: anyone who can reach this address can read the supplies' readings "
            "(read only)")
                             .arg(QString::fromStdString(config.address.toString()))
                             .toStdString();
    }
    return config;
}

} // namespace

MetricsConfig MetricsConfig::resolve(
    const std::optional<std::string>& option, std::string_view enabledKey, std::string_view listenKey)
{
    if (option) {
        return listenOn(*option, "--metrics");
    }
    if (enabledKey.empty() || enabledKey == "0") {
        return {};
    }
    if (enabledKey != "1") {
        MetricsConfig config;
        config.error = QCoreApplication::translate("MetricsConfig", "[Metrics] Enabled must be 0 or 1").toStdString();
        return config;
    }
    return listenOn(listenKey.empty() ? kDefaultListen : listenKey, "[Metrics] Listen");
}
