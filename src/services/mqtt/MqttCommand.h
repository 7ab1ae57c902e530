#pragma once

#include <QByteArray>

#include <optional>
#include <string>

// A command from the set topic, read strictly: a JSON object of known keys,
// each of its own type. Any fault refuses the whole command.
class MqttCommand {
public:
    std::optional<double> voltage;
    std::optional<double> current;
    std::optional<bool> output;
    bool stopProgram = false;
    // Why it was refused; empty when it was read.
    std::string refusal;

    static MqttCommand parse(const QByteArray& payload);
};
