#include "remote/RemoteConfig.h"

#include <QCoreApplication>

namespace {

RemoteConfig listenOn(std::string_view text, std::string_view source)
{
    RemoteConfig config;
    auto parsed = ListenAddress::parse(text);
    if (auto* message = std::get_if<std::string>(&parsed)) {
        config.error = std::string(source) + ": " + *message;
        return config;
    }
    config.enabled = true;
    config.address = std::get<ListenAddress>(parsed);
    if (!config.address.isLoopback()) {
        config.warning = QCoreApplication::translate("RemoteConfig",
            "remote control listens on %1: anyone who can reach this address can switch the supply's output")
                             .arg(QString::fromStdString(config.address.toString()))
                             .toStdString();
    }
    return config;
}

} // namespace

RemoteConfig RemoteConfig::resolve(
    const std::optional<std::string>& scpiOption, std::string_view enabledKey, std::string_view listenKey)
{
    if (scpiOption) {
        return listenOn(*scpiOption, "--scpi");
    }
    if (enabledKey.empty() || enabledKey == "0") {
        return {};
    }
    if (enabledKey != "1") {
        RemoteConfig config;
        config.error = QCoreApplication::translate("RemoteConfig", "[Remote] Enabled must be 0 or 1").toStdString();
        return config;
    }
    return listenOn(listenKey.empty() ? kDefaultListen : listenKey, "[Remote] Listen");
}
