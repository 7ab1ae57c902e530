#pragma once

#include "listen/ServiceChoice.h"

#include <string>

// Where and how the supplies publish over MQTT: the --mqtt option over the
// [MQTT] keys of the settings. Off unless the option or a Host key asks for it.
class MqttConfig {
public:
    enum class Publish { Change, Poll };

    bool enabled = false;
    std::string host;
    int port = 0; // 0: the protocol's own, 1883 or 8883 with TLS
    std::string user;
    std::string password;
    std::string clientId; // empty: one of the host's name and the supply's
    bool tls = false;
    std::string caFile;
    std::string prefix = "tendrel";
    Publish publish = Publish::Change;
    bool commands = false;
    bool discovery = false;
    // Why the run goes without MQTT; empty when nothing was refused.
    std::string error;

    static MqttConfig resolve(const ServiceChoice& choice);
    int portOrDefault() const { return port != 0 ? port : (tls ? 8883 : 1883); }

private:
    bool takeAddress(const std::string& address);
    bool takeKey(const std::string& key, const std::string& value);
    bool takeSwitches(const std::string& key, const std::string& value);
    bool readPassword(const std::string& path);
    bool refuse(const std::string& why);
};
