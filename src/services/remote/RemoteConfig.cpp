#include "remote/RemoteConfig.h"

#include "listen/ServiceListen.h"

#include <QCoreApplication>

#include <charconv>

namespace {

// A whole number from low to high written in decimal digits; none otherwise.
std::optional<int> wholeNumber(std::string_view text, int low, int high)
{
    int value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || problem != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::string outOfRange(const char* key, int low, int high)
{
    return QCoreApplication::translate("RemoteConfig", "[Remote] %1 must be a whole number from %2 to %3")
        .arg(QString::fromLatin1(key))
        .arg(low)
        .arg(high)
        .toStdString();
}

} // namespace

RemoteConfig RemoteConfig::resolve(const ServiceChoice& choice)
{
    RemoteConfig config;
    static_cast<ServiceListen&>(config) = ServiceListen::resolve(
        {"--scpi", "Remote", kDefaultListen,
            QCoreApplication::translate("RemoteConfig", "[Remote] Enabled must be 0 or 1").toStdString(),
            QCoreApplication::translate("RemoteConfig",
                "remote control listens on %1: anyone who can reach this address can switch the supply's output")
                .toStdString()},
        choice);
    if (config.enabled) {
        config.applyLimits(choice.section.value("MaxClients"), choice.section.value("IdleTimeout"));
    }
    config.programs = choice.section.value("Programs");
    return config;
}

void RemoteConfig::applyLimits(std::string_view maxClientsKey, std::string_view idleTimeoutKey)
{
    if (!maxClientsKey.empty()) {
        const auto value = wholeNumber(maxClientsKey, 1, kMostClients);
        if (!value) {
            error = outOfRange("MaxClients", 1, kMostClients);
            enabled = false;
            return;
        }
        maxClients = *value;
    }
    if (!idleTimeoutKey.empty()) {
        const auto value = wholeNumber(idleTimeoutKey, 0, kLongestIdleSeconds);
        if (!value) {
            error = outOfRange("IdleTimeout", 0, kLongestIdleSeconds);
            enabled = false;
            return;
        }
        idleTimeout = std::chrono::seconds(*value);
    }
}
