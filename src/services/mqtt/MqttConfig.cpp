#include "mqtt/MqttConfig.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <string_view>

namespace {

bool sameKey(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<int> portNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 65535) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> flag(const std::string& value)
{
    if (value == "0" || value == "1") {
        return value == "1";
    }
    return std::nullopt;
}

// No wildcards, no empty levels at either end: the prefix heads every topic.
bool goodPrefix(const std::string& prefix)
{
    return !prefix.empty() && prefix.find_first_of("+#") == std::string::npos && prefix.front() != '/'
        && prefix.back() != '/';
}

} // namespace

MqttConfig MqttConfig::resolve(const ServiceChoice& choice)
{
    MqttConfig config;
    for (const auto& [key, value] : choice.section.entries()) {
        if (!config.takeKey(key, value)) {
            return config;
        }
    }
    if (choice.option && !config.takeAddress(*choice.option)) {
        return config;
    }
    config.enabled = !config.host.empty();
    return config;
}

// [USER@]HOST[:PORT]
bool MqttConfig::takeAddress(const std::string& address)
{
    std::string_view rest = address;
    if (const auto at = rest.rfind('@'); at != std::string_view::npos) {
        user = std::string(rest.substr(0, at));
        rest.remove_prefix(at + 1);
    }
    if (const auto colon = rest.rfind(':'); colon != std::string_view::npos && rest.find(':') == colon) {
        const auto number = portNumber(rest.substr(colon + 1));
        if (!number) {
            return refuse("--mqtt: '" + std::string(rest.substr(colon + 1)) + "' is no port (1 to 65535).");
        }
        port = *number;
        rest = rest.substr(0, colon);
    }
    if (rest.empty() || user.find(':') != std::string::npos) {
        return refuse("--mqtt needs [USER@]HOST[:PORT], not '" + address + "'.");
    }
    host = std::string(rest);
    return true;
}

bool MqttConfig::takeKey(const std::string& key, const std::string& value)
{
    if (sameKey(key, "Host")) {
        host = value;
    } else if (sameKey(key, "Port")) {
        const auto number = portNumber(value);
        if (!number && !value.empty()) {
            return refuse("[MQTT] Port: '" + value + "' is no port (1 to 65535).");
        }
        port = number.value_or(0);
    } else if (sameKey(key, "ClientId")) {
        clientId = value;
    } else if (sameKey(key, "User")) {
        user = value;
    } else if (sameKey(key, "PasswordFile")) {
        return value.empty() || readPassword(value);
    } else if (sameKey(key, "CAFile")) {
        caFile = value;
    } else if (sameKey(key, "TopicPrefix")) {
        prefix = value;
        return goodPrefix(prefix) || refuse("[MQTT] TopicPrefix: '" + value + "' has a wildcard or an empty level.");
    } else {
        return takeSwitches(key, value);
    }
    return true;
}

bool MqttConfig::takeSwitches(const std::string& key, const std::string& value)
{
    if (sameKey(key, "Publish")) {
        if (value != "change" && value != "poll") {
            return refuse("[MQTT] Publish is change or poll, not '" + value + "'.");
        }
        publish = value == "poll" ? Publish::Poll : Publish::Change;
        return true;
    }
    for (const auto& [name, target] :
        {std::pair{"TLS", &tls}, std::pair{"Commands", &commands}, std::pair{"Discovery", &discovery}}) {
        if (sameKey(key, name)) {
            const auto on = flag(value);
            if (!on) {
                return refuse(std::string("[MQTT] ") + name + " is 0 or 1, not '" + value + "'.");
            }
            *target = *on;
            return true;
        }
    }
    return true; // keys of later versions stay unread
}

// The first line of the file, so that the password stays out of the settings.
bool MqttConfig::readPassword(const std::string& path)
{
    std::ifstream file(path);
    if (!file || !std::getline(file, password)) {
        return refuse("[MQTT] PasswordFile: cannot read " + path + ".");
    }
    if (!password.empty() && password.back() == '\r') {
        password.pop_back();
    }
    return true;
}

bool MqttConfig::refuse(const std::string& why)
{
    error = "mqtt: " + why + " The program runs without MQTT.";
    enabled = false;
    return false;
}
